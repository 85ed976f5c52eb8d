// The edit panel's side of showing data: filling the fields from a clicked
// row, and the combo boxes whose choice changes other fields.
#include "db/text_number.h"
#include "editor/editor_dialog.h"
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

}  // namespace

void EditorDialog::fillPanelFromSat(int row) {
  const SatRecord& s = db.sats[static_cast<std::size_t>(row)];
  Controls& c = controls_;
  c.setText(IDC_SAT_NAME, s.name);

  lnbTypeIndex = has(s.lnbType, "Universal") ? 0
                 : has(s.lnbType, "OCS")     ? 1
                 : has(s.lnbType, "Single")  ? 2
                                             : 0;
  c.comboSelect(IDC_LNB_TYPE, lnbTypeIndex);
  c.setText(IDC_LNB_FREQ1, s.lnbFreq1);
  c.setText(IDC_LNB_FREQ2, s.lnbFreq2);
  c.setText(IDC_LONGITUDE, s.sdxCode);

  diseqcIndex = has(s.diseqc, "None")    ? 0
                : has(s.diseqc, "D1.0")  ? 1
                : has(s.diseqc, "D1.1")  ? 2
                : has(s.diseqc, "MOTOR") ? 3
                : has(s.diseqc, "USALS") ? 4
                                         : 0;
  c.comboSelect(IDC_DISEQC, diseqcIndex);
  onDiseqcChanged(diseqcIndex);
  c.comboSelect(IDC_COMMITTED, committedIndex = indexWithin(s.diseqcCommitted, 5));
  c.comboSelect(IDC_UNCOMMITTED, uncommittedIndex = indexWithin(s.diseqcUncommitted, 17));

  toneIndex = s.tone22k == "On" ? 1 : s.tone22k == "Off" ? 0 : s.tone22k == "Auto" ? 2 : 1;
  c.comboSelect(IDC_TONE, toneIndex);
  c.comboSelect(IDC_12V, switch12vIndex = offOnIndex(s.switch12v));
  c.comboSelect(IDC_LNB_POWER, lnbPowerIndex = offOnIndex(s.lnbPower));
  // A universal LNB switches its band by the 22 kHz tone itself.
  c.setEnabled(IDC_TONE, !has(s.lnbType, "Universal"));
}

void EditorDialog::fillPanelFromTp(int row) {
  const TpRecord& t = db.tpTables[static_cast<std::size_t>(view_.listedSat)][row];
  Controls& c = controls_;
  c.setText(IDC_FREQUENCY, t.frequency);
  c.setText(IDC_SYMBOL_RATE, t.symbolRate);
  c.setText(IDC_NID, panelNid_ = t.nid);
  c.setText(IDC_TID, panelTid_ = t.tid);
  c.comboSelect(IDC_POLARITY, polarityIndex = has(t.polarization, "H") ? 0 : 1);
}

void EditorDialog::fillPanelFromSvc(int row) {
  const SvcRecord& v = db.svcTables[static_cast<std::size_t>(view_.listedSat)][row];
  Controls& c = controls_;
  c.setText(IDC_CH_NAME, v.name);
  c.setText(IDC_VIDEO_PID, normalisedNumber(v.videoPid));
  c.setText(IDC_AUDIO_PID, normalisedNumber(v.audioPid));
  c.setText(IDC_PCR_PID, normalisedNumber(v.pcrPid));
  c.setText(IDC_SERVICE_ID, normalisedNumber(v.serviceId));
  c.comboSelect(IDC_SCRAMBLED, scrambledIndex = v.serviceType == 5 || v.serviceType == 9 ? 1 : 0);
}

void EditorDialog::onLnbTypeChanged(int index) {
  lnbTypeIndex = index;
  controls_.comboSelect(IDC_TONE, toneIndex = index == 0 ? 2 : 1);
  controls_.setEnabled(IDC_TONE, index == 1 || index == 2);
}

// Committed ports exist for DiSEqC 1.0 switches, motors and USALS; the
// uncommitted ports only for DiSEqC 1.1 cascades.
void EditorDialog::onDiseqcChanged(int index) {
  diseqcIndex = index;
  const bool committed = index >= 1 && index <= 4;
  controls_.setEnabled(IDC_COMMITTED, committed);
  controls_.setEnabled(IDC_UNCOMMITTED, index == 2);
}

void EditorDialog::chooseSatellite(int comboId, int s) {
  if (s < 0 || s >= MAX_SATS) return;
  showSatellite(s);
  // What was picked belongs to the satellite shown before.
  clearPick();
  clearEditPanel();
  refreshInfoPanel(s);
  // The list already holding this satellite's table stays as it is.
  if (s == view_.listedSat) return;
  view_.listedSat = s;
  if (comboId == IDC_TP_SAT) {
    controls_.listDeleteAll(IDC_TP_LIST);
    listTransponders(s);
  } else {
    controls_.listDeleteAll(IDC_SVC_LIST);
    listChannels(s);
  }
}

void EditorDialog::onComboChanged(int comboId) {
  if (comboId == IDC_WEB_LINK) {
    openWebLink();
    return;
  }
  if (loaderBusy) return;
  const int index = controls_.comboSelection(comboId);
  switch (comboId) {
    case IDC_LNB_TYPE:
      onLnbTypeChanged(index);
      break;
    case IDC_DISEQC:
      onDiseqcChanged(index);
      break;
    case IDC_TP_SAT:
    case IDC_SVC_SAT:
      if (dragging) return;
      chooseSatellite(comboId, index);
      settleView();
      break;
    case IDC_TONE:
      toneIndex = index;
      break;
    case IDC_12V:
      switch12vIndex = index;
      break;
    case IDC_LNB_POWER:
      lnbPowerIndex = index;
      break;
    case IDC_COMMITTED:
      committedIndex = index;
      break;
    case IDC_UNCOMMITTED:
      uncommittedIndex = index;
      break;
    case IDC_POLARITY:
      polarityIndex = index;
      break;
    case IDC_SCRAMBLED:
      scrambledIndex = index;
      break;
    default:
      break;
  }
}

}  // namespace velmora::editor
