// The port's rules held by the in-memory window the editor's tests use.
#include "conformance/port_conformance.h"
#include "layout.h"
#include "support/fake_port.h"

namespace velmora::test {
namespace {

class FakeHarness {
 public:
  explicit FakeHarness(EventLog& log) : sink_(log) { ui_.setEvents(&sink_); }
  FakeControls& controls() { return ui_; }
  int rowCount(int list) { return ui_.listRowCount(list); }
  std::string cell(int list, int row, int column) { return ui_.listCell(list, row, column); }
  void click(int list, int row) { ui_.pickRows(list, {row}); }
  void beginDrag(int list, int row) { ui_.beginDrag(list, row); }
  void pressEsc() { ui_.cancelDrag(); }
  void loseCapture() { ui_.cancelDrag(); }
  bool dragShown() { return ui_.drag.has_value(); }
  int currentRow(int list) { return ui_.listState(list).current; }
  bool noDropShown() { return ui_.noDropShown; }
  void settle() {}
  bool drawnAsDefault(int id) { return ui_.defaultButton == id; }
  std::string statusText() { return ui_.statusText; }
  int windowWidth() { return 0; }
  static constexpr bool hasHeaders = false;
  void fitColumn(int, int) {}
  static constexpr bool drivesSaveAs = true;
  SaveAsSeen saveAs(const editor::SaveAsRequest& request, const std::vector<SaveAsStep>& steps) {
    FakePrompts prompts;
    for (const SaveAsStep& step : steps) {
      prompts.files.push_back(step.path);
      prompts.saveTypes.push_back(step.type);
    }
    SaveAsSeen seen;
    const std::filesystem::path initial(request.initialPath);
    seen.shownFolder = initial.parent_path().generic_string();
    seen.shownName = initial.filename().string();
    seen.shownType = request.chosenType;
    seen.choice = prompts.chooseSaveAs(request);
    return seen;
  }
  void setClipboardText(const std::string& utf8) { prompts_.setClipboardText(utf8); }
  std::string clipboardText() { return prompts_.clipboardText; }
  static constexpr const char* clipboardLineEnd = "\n";

 private:
  FakeControls ui_{res::editorDialog()};
  Recorder<editor::ControlEvents> sink_;
  FakePrompts prompts_;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, PortConformance, FakeHarness);

}  // namespace velmora::test
