// The edit panel's form on its own: a record shown and read back is the
// same record, whatever the choices were.
#include <gtest/gtest.h>

#include <random>

#include "editor/edit_panel.h"
#include "layout.h"
#include "resource_ids.h"
#include "support/fake_port.h"

namespace velmora::editor {
using namespace velmora::res;

TEST(EditPanelForm, RecordsReadBackAsTheyWereShown) {
  test::FakeControls ui(editorDialog());
  EditPanel panel(ui);
  panel.init();
  std::mt19937 rng(3);
  const std::pair<int, int> combos[] = {{IDC_LNB_TYPE, 3},    {IDC_TONE, 3},   {IDC_12V, 2},
                                        {IDC_LNB_POWER, 2},   {IDC_DISEQC, 5}, {IDC_COMMITTED, 5},
                                        {IDC_UNCOMMITTED, 17}};
  const char* freqs[] = {"", "9750", "10600", "5150", "10750", "11300"};
  for (int i = 0; i < 2000; ++i) {
    for (auto [id, count] : combos) panel.onComboChanged(id, static_cast<int>(rng() % count));
    ui.type(IDC_LNB_FREQ1, freqs[rng() % 6]);
    ui.type(IDC_LNB_FREQ2, freqs[rng() % 6]);
    ui.type(IDC_LONGITUDE, std::to_string(rng() % 3600));
    const SatRecord shown = panel.satellite();
    panel.clear();
    panel.showSatellite(shown);
    ASSERT_EQ(panel.satellite(), shown) << i;

    const TpRecord tp{rng() % 2 ? "H" : "V",    "11000", "27500", "", std::to_string(rng() % 9),
                      std::to_string(rng() % 9)};
    panel.showTransponder(tp);
    ui.type(IDC_NID, "");
    ui.type(IDC_TID, "");
    ASSERT_EQ(panel.polarization(), tp.polarization);
    ASSERT_EQ(panel.nidAndTid(), std::pair(tp.nid, tp.tid));

    SvcRecord svc;
    svc.serviceType = std::array{4, 5, 8, 9}[rng() % 4];
    panel.showChannel(svc);
    ASSERT_EQ(panel.channelFields().scrambled, svc.serviceType % 2);
  }
}

}  // namespace velmora::editor
