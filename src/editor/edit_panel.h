// The edit panel below the lists: its fields and combo boxes as one form,
// filled from a satellite, transponder or channel and read back into one.
// It keeps the index each combo box last had, as the window's combo boxes
// may be read only through their notifications.
#pragma once

#include <string>
#include <utility>

#include "db/channel_db.h"
#include "editor/add_channel_dialog.h"
#include "editor/port.h"

namespace velmora::editor {

class EditPanel {
 public:
  explicit EditPanel(Controls& controls) : controls_(controls) {}

  // Fills the combo boxes with their choices and sets the panel as at
  // start-up.
  void init();

  // The form filled from a record.
  void showSatellite(const SatRecord& s);
  void showTransponder(const TpRecord& t);
  void showChannel(const SvcRecord& v);

  // What the form holds. The satellite has no name, and its LNB type
  // follows from the two oscillator frequencies, whatever the LNB Type box
  // shows.
  SatRecord satellite() const;
  // The LNB Type box's choice: 0 Universal, 1 OCS, 2 Single.
  int lnbTypeChoice() const { return lnbTypeIndex_; }
  std::string polarization() const { return polarityIndex_ == 1 ? "V" : "H"; }
  // The NID and TID typed, or when a window has no fields for them (both
  // read empty) those of the transponder last shown.
  std::pair<std::string, std::string> nidAndTid() const;
  ChannelFields channelFields() const;
  // The texts as the Add channel dialog left them, and its Scrambled
  // choice.
  void showChannelTexts(const ChannelFields& f);
  void showScrambled(int choice);

  // The Satellite tab's settings as a new satellite starts: universal LNB,
  // no DiSEqC, tone automatic, 12 V off; its port and tone choices then
  // disabled as the LNB type and DiSEqC choice require.
  void selectSatelliteDefaults(bool lnbPowerOn);
  // The texts emptied; the choices stay.
  void clearFields();
  // The texts emptied and the choices as at start-up.
  void clear();

  // The user chose item `index` of combo box `comboId`; false when the
  // box is not the panel's.
  bool onComboChanged(int comboId, int index);

 private:
  void onLnbTypeChanged(int index);
  void onDiseqcChanged(int index);

  Controls& controls_;
  int lnbTypeIndex_ = 0;
  int toneIndex_ = 2;
  int switch12vIndex_ = 0;
  int lnbPowerIndex_ = 1;
  int diseqcIndex_ = 0;
  int committedIndex_ = 0;
  int uncommittedIndex_ = 0;
  int polarityIndex_ = 0;
  int scrambledIndex_ = 0;
  // The NID and TID of the transponder the panel shows. They are never on
  // screen, and a window need not keep fields for them at all.
  std::string shownNid_;
  std::string shownTid_;
};

}  // namespace velmora::editor
