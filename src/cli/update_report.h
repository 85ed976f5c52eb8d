// velmora-cli update's report: per satellite what the listing kept,
// updated, brought and removed, with the removed entries named.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "match/update.h"

namespace velmora::cli {

// Lines of text; `listings` are the paths as given, in the update's order.
void writeUpdateReport(std::ostream& out, const match::UpdateResult& result,
                       const std::vector<std::string>& listings);
void writeUpdateReportJson(std::ostream& out, const match::UpdateResult& result,
                           const std::vector<std::string>& listings);

}  // namespace velmora::cli
