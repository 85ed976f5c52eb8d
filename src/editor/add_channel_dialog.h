// The Add channel dialog: picks the transponder a new channel is tuned on,
// from the satellite's transponders shown either as a list view or as text
// lines of a list box, and lets the user confirm the channel's name, PIDs,
// service id and scrambled flag. It only collects values; Add on the
// Channel tab checks and stores them.
//
// The window forwards to onCommand, by control id: OK and Enter (ID_OK),
// Cancel, Esc and the close box (ID_CANCEL), a click in the list view, a
// selection change of the list box and of the Scrambled box, and a click
// on the check box that switches between the two lists.
#pragma once

#include <string>

#include "db/channel_db.h"
#include "editor/port.h"
#include "resource_ids.h"

namespace velmora::editor {

// The main window's channel fields, as the dialog starts with them.
struct ChannelFields {
  std::string chName, vPid, aPid, pPid, sid;
  int scrambled = 0;  // 0 "No", 1 "Yes"
};

// Whether the name typed into control `id` holds a character the file's
// code page has no byte for; if so, says which.
bool refusedName(Questions& prompts, const Controls& controls, int id);

class AddChannelDialog : public SubDialog {
 public:
  AddChannelDialog(Questions& prompts, const TpTable& transponders, ChannelFields start);

  int dialogId() const override { return res::IDD_ADD_CHANNEL; }
  void onInit(Controls& c) override;
  bool onCommand(Controls& c, int commandId) override;

  // One line of the list box for transponder row r.
  static std::string listBoxLine(int r, const TpRecord& tp);

  int listBoxMode = 0;   // 0 list view shown, 1 list box shown
  int rowChosen = 0;     // a row was picked since the dialog opened
  int chosenTpRow = -1;  // the picked row; -1 when the pick hit no row
  int scrambledChoice = 0;
  int scrambledSel = 0;
  // Results, read when OK is accepted.
  std::string chName, vPid, aPid, pPid, sid;

 private:
  void toggleLists(Controls& c);
  bool accept(Controls& c);

  // The transponders as the list view shows them.
  struct TpRows final : RowSource {
    explicit TpRows(const TpTable& t) : table(t) {}
    int rowCount() const override;
    std::string cell(int row, int column) const override;
    const TpTable& table;
  };

  Questions& prompts_;
  const TpTable& transponders_;
  TpRows rows_{transponders_};
  ChannelFields start_;
};

}  // namespace velmora::editor
