// The three lists as the editor shows them: their columns and the text of
// each cell. The window and velmora-cli's CSV export both use these, so a
// list reads the same wherever it appears.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "db/channel_db.h"

namespace velmora {

struct ListColumn {
  const char* header;
  int width;  // in pixels, as the window first shows it
};

std::span<const ListColumn> satelliteColumns();
std::span<const ListColumn> transponderColumns();
std::span<const ListColumn> channelColumns();

// Row r of each list: satellite r; transponder r and channel r of
// satellite s. A channel without a name shows as "....".
std::vector<std::string> satelliteRowCells(const ChannelDb& db, int r);
std::vector<std::string> transponderRowCells(const ChannelDb& db, int s, int r);
std::vector<std::string> channelRowCells(const ChannelDb& db, int s, int r);

}  // namespace velmora
