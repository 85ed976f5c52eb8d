// Find in every satellite: a text, and below it the list of every entry
// of the database that holds it, made again as each character is typed.
// Enter or a double click on a hit chooses it: the dialog ends, and the
// window shows the hit's satellite and tab with the entry picked.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/channel_db.h"
#include "editor/port.h"
#include "match/find_all.h"
#include "resource_ids.h"

namespace velmora::editor {

class FindAllDialog : public SubDialog, private RowSource {
 public:
  FindAllDialog(const ChannelDb& db, std::string start) : text(std::move(start)), db_(db) {}

  int dialogId() const override { return res::IDD_FIND_ALL; }
  void onInit(Controls& c) override;
  bool onCommand(Controls& c, int commandId) override;

  // The text as last typed; the window offers it again next time.
  std::string text;
  // The hit chosen, when the dialog ended with one.
  std::optional<match::Found> chosen;
  const std::vector<match::Found>& hits() const { return hits_; }

 private:
  int rowCount() const override { return static_cast<int>(hits_.size()); }
  std::string cell(int row, int column) const override;
  void search(Controls& c);
  bool end(Controls& c, int result);

  const ChannelDb& db_;
  std::vector<match::Found> hits_;
};

}  // namespace velmora::editor
