// The edit panel's form: records into fields and choices, and back.
#include "editor/edit_panel.h"

#include <initializer_list>
#include <string_view>

#include "db/text_number.h"
#include "editor/entry_rules.h"
#include "resource_ids.h"

namespace velmora::editor {

using namespace velmora::res;

namespace {

bool has(const std::string& text, const char* word) { return text.find(word) != std::string::npos; }

// An index read from a text, or 0 when the combo has no such item.
int indexWithin(const std::string& text, int count) {
  const std::int64_t v = leadingValue(text);
  return v >= 0 && v < count ? static_cast<int>(v) : 0;
}

// Settings that are either off or on: "Off" only when the text says Off
// and not On.
int offOnIndex(const std::string& text) { return has(text, "Off") && !has(text, "On") ? 0 : 1; }

void fillCombo(Controls& c, int id, std::initializer_list<std::string_view> items) {
  c.comboClear(id);
  for (std::string_view item : items) c.comboInsert(id, -1, item);
}

}  // namespace

void EditPanel::init() {
  Controls& c = controls_;
  fillCombo(c, IDC_LNB_TYPE, {"Universal", "OCS", "Single"});
  fillCombo(c, IDC_TONE, {"Off", "On", "Auto"});
  fillCombo(c, IDC_12V, {"Off", "On"});
  fillCombo(c, IDC_LNB_POWER, {"Off", "On"});
  fillCombo(c, IDC_DISEQC, {"None", "D1.0", "D1.1", "MOTOR", "USALS"});
  fillCombo(c, IDC_COMMITTED, {"None", "1", "2", "3", "4"});
  fillCombo(c, IDC_UNCOMMITTED,
            {"None", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14",
             "15", "16"});
  fillCombo(c, IDC_POLARITY, {"H", "V"});
  fillCombo(c, IDC_SCRAMBLED, {"No", "Yes"});
  // The web links' box sits among the panel's and is filled with them.
  fillCombo(c, IDC_WEB_LINK, {"SatcoDX", "LyngSat"});

  selectSatelliteDefaults(true);
  c.comboSelect(IDC_POLARITY, polarityIndex_ = 0);
  c.comboSelect(IDC_SCRAMBLED, scrambledIndex_ = 0);
  c.setEnabled(IDC_12V, true);
  c.setEnabled(IDC_LNB_FREQ1, true);
  c.setEnabled(IDC_LNB_FREQ2, true);
}

void EditPanel::showSatellite(const SatRecord& s) {
  Controls& c = controls_;
  c.setText(IDC_SAT_NAME, s.name);

  lnbTypeIndex_ = has(s.lnbType, "Universal") ? 0
                  : has(s.lnbType, "OCS")     ? 1
                  : has(s.lnbType, "Single")  ? 2
                                              : 0;
  c.comboSelect(IDC_LNB_TYPE, lnbTypeIndex_);
  c.setText(IDC_LNB_FREQ1, s.lnbFreq1);
  c.setText(IDC_LNB_FREQ2, s.lnbFreq2);
  c.setText(IDC_LONGITUDE, s.sdxCode);

  diseqcIndex_ = has(s.diseqc, "None")    ? 0
                 : has(s.diseqc, "D1.0")  ? 1
                 : has(s.diseqc, "D1.1")  ? 2
                 : has(s.diseqc, "MOTOR") ? 3
                 : has(s.diseqc, "USALS") ? 4
                                          : 0;
  c.comboSelect(IDC_DISEQC, diseqcIndex_);
  onDiseqcChanged(diseqcIndex_);
  c.comboSelect(IDC_COMMITTED, committedIndex_ = indexWithin(s.diseqcCommitted, 5));
  c.comboSelect(IDC_UNCOMMITTED, uncommittedIndex_ = indexWithin(s.diseqcUncommitted, 17));

  toneIndex_ = s.tone22k == "On" ? 1 : s.tone22k == "Off" ? 0 : s.tone22k == "Auto" ? 2 : 1;
  c.comboSelect(IDC_TONE, toneIndex_);
  c.comboSelect(IDC_12V, switch12vIndex_ = offOnIndex(s.switch12v));
  c.comboSelect(IDC_LNB_POWER, lnbPowerIndex_ = offOnIndex(s.lnbPower));
  // A universal LNB switches its band by the 22 kHz tone itself.
  c.setEnabled(IDC_TONE, !has(s.lnbType, "Universal"));
}

void EditPanel::showTransponder(const TpRecord& t) {
  Controls& c = controls_;
  c.setText(IDC_FREQUENCY, t.frequency);
  c.setText(IDC_SYMBOL_RATE, t.symbolRate);
  c.setText(IDC_NID, shownNid_ = t.nid);
  c.setText(IDC_TID, shownTid_ = t.tid);
  c.comboSelect(IDC_POLARITY, polarityIndex_ = has(t.polarization, "H") ? 0 : 1);
}

void EditPanel::showChannel(const SvcRecord& v) {
  Controls& c = controls_;
  c.setText(IDC_CH_NAME, v.name);
  c.setText(IDC_VIDEO_PID, normalisedNumber(v.videoPid));
  c.setText(IDC_AUDIO_PID, normalisedNumber(v.audioPid));
  c.setText(IDC_PCR_PID, normalisedNumber(v.pcrPid));
  c.setText(IDC_SERVICE_ID, normalisedNumber(v.serviceId));
  c.comboSelect(IDC_SCRAMBLED, scrambledIndex_ = v.serviceType == 5 || v.serviceType == 9 ? 1 : 0);
}

SatRecord EditPanel::satellite() const {
  using namespace rules;
  SatRecord sat;
  sat.lnbFreq1 = controls_.text(IDC_LNB_FREQ1);
  sat.lnbFreq2 = controls_.text(IDC_LNB_FREQ2);
  sat.lnbType = lnbTypeFor(sat.lnbFreq1, sat.lnbFreq2);
  sat.tone22k = toneText(toneIndex_);
  sat.diseqc = diseqcModeText(diseqcIndex_, "None");
  sat.diseqcCommitted = portText(committedIndex_, 4);
  sat.diseqcUncommitted = portText(uncommittedIndex_, 16);
  sat.switch12v = offOnText(switch12vIndex_);
  sat.lnbPower = offOnText(lnbPowerIndex_);
  sat.sdxCode = controls_.text(IDC_LONGITUDE);
  return sat;
}

std::pair<std::string, std::string> EditPanel::nidAndTid() const {
  std::string nid = controls_.text(IDC_NID);
  std::string tid = controls_.text(IDC_TID);
  if (nid.empty() && tid.empty()) return {shownNid_, shownTid_};
  return {nid, tid};
}

ChannelFields EditPanel::channelFields() const {
  const Controls& c = controls_;
  return {c.text(IDC_CH_NAME), c.text(IDC_VIDEO_PID),  c.text(IDC_AUDIO_PID),
          c.text(IDC_PCR_PID), c.text(IDC_SERVICE_ID), scrambledIndex_};
}

void EditPanel::showScrambled(int choice) {
  controls_.comboSelect(IDC_SCRAMBLED, scrambledIndex_ = choice);
}

void EditPanel::showChannelTexts(const ChannelFields& f) {
  controls_.setText(IDC_CH_NAME, f.chName);
  controls_.setText(IDC_VIDEO_PID, f.vPid);
  controls_.setText(IDC_AUDIO_PID, f.aPid);
  controls_.setText(IDC_PCR_PID, f.pPid);
  controls_.setText(IDC_SERVICE_ID, f.sid);
}

void EditPanel::selectSatelliteDefaults(bool lnbPowerOn) {
  Controls& c = controls_;
  c.comboSelect(IDC_LNB_TYPE, lnbTypeIndex_ = 0);
  c.comboSelect(IDC_DISEQC, diseqcIndex_ = 0);
  c.comboSelect(IDC_COMMITTED, committedIndex_ = 0);
  c.comboSelect(IDC_UNCOMMITTED, uncommittedIndex_ = 0);
  c.comboSelect(IDC_TONE, toneIndex_ = 2);
  c.comboSelect(IDC_12V, switch12vIndex_ = 0);
  c.comboSelect(IDC_LNB_POWER, lnbPowerIndex_ = lnbPowerOn ? 1 : 0);
  c.setEnabled(IDC_TONE, false);
  c.setEnabled(IDC_COMMITTED, false);
  c.setEnabled(IDC_UNCOMMITTED, false);
}

void EditPanel::clearFields() {
  for (int id :
       {IDC_SAT_NAME, IDC_LNB_FREQ1, IDC_LNB_FREQ2, IDC_LONGITUDE, IDC_FREQUENCY, IDC_SYMBOL_RATE,
        IDC_NID, IDC_TID, IDC_CH_NAME, IDC_VIDEO_PID, IDC_AUDIO_PID, IDC_PCR_PID, IDC_SERVICE_ID})
    controls_.setText(id, "");
  shownNid_.clear();
  shownTid_.clear();
}

void EditPanel::clear() {
  clearFields();
  selectSatelliteDefaults(true);
  controls_.comboSelect(IDC_POLARITY, polarityIndex_ = 0);
  controls_.comboSelect(IDC_SCRAMBLED, scrambledIndex_ = 0);
}

void EditPanel::onLnbTypeChanged(int index) {
  lnbTypeIndex_ = index;
  controls_.comboSelect(IDC_TONE, toneIndex_ = index == 0 ? 2 : 1);
  controls_.setEnabled(IDC_TONE, index == 1 || index == 2);
}

// Committed ports exist for DiSEqC 1.0 switches, motors and USALS; the
// uncommitted ports only for DiSEqC 1.1 cascades.
void EditPanel::onDiseqcChanged(int index) {
  diseqcIndex_ = index;
  const bool committed = index >= 1 && index <= 4;
  controls_.setEnabled(IDC_COMMITTED, committed);
  controls_.setEnabled(IDC_UNCOMMITTED, index == 2);
}

bool EditPanel::onComboChanged(int comboId, int index) {
  switch (comboId) {
    case IDC_LNB_TYPE:
      onLnbTypeChanged(index);
      return true;
    case IDC_DISEQC:
      onDiseqcChanged(index);
      return true;
    case IDC_TONE:
      toneIndex_ = index;
      return true;
    case IDC_12V:
      switch12vIndex_ = index;
      return true;
    case IDC_LNB_POWER:
      lnbPowerIndex_ = index;
      return true;
    case IDC_COMMITTED:
      committedIndex_ = index;
      return true;
    case IDC_UNCOMMITTED:
      uncommittedIndex_ = index;
      return true;
    case IDC_POLARITY:
      polarityIndex_ = index;
      return true;
    case IDC_SCRAMBLED:
      scrambledIndex_ = index;
      return true;
    default:
      return false;
  }
}

}  // namespace velmora::editor
