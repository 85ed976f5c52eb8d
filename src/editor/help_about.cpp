// The user guide on F1, the two listing services' home pages, and the
// About box.
#include "db/path_text.h"
#include "editor/about_dialog.h"
#include "editor/editor_dialog.h"
#include "sdx/program_files.h"
#include "texts.h"

namespace velmora::editor {

using namespace velmora::res;

namespace {
// The user guide ships next to the program, or in share/velmora when installed.
constexpr const char* HELP_FILE = "Velmora.html";
constexpr const char* LISTING_SERVICES[] = {"https://www.satcodx.com/", "https://www.lyngsat.com/"};
}  // namespace

void EditorDialog::openHelp() {
  prompts_.showHelp(utf8FromPath(programFilesFolder(env_.programDir) / HELP_FILE));
}

void EditorDialog::openWebLink() {
  const int item = controls_.comboSelection(IDC_WEB_LINK);
  controls_.setText(IDC_WEB_LINK, text::WEB_LINK);
  if (item != 0 && item != 1) return;
  // Without a browser the user still learns where the page is.
  if (!prompts_.shellOpen(LISTING_SERVICES[item]))
    warn(std::string(LISTING_SERVICES[item]) + std::string(text::WEB_LINK_FAILED));
}

void EditorDialog::showAbout() {
  AboutDialog about;
  prompts_.runModal(about);
}

}  // namespace velmora::editor
