#include "qt/editor_app.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QTimer>

#include "editor/editor_dialog.h"
#include "qt/editor_window.h"
#include "qt/images.h"
#include "qt/qt_prompts.h"

namespace velmora::qt {

int runEditor(const std::vector<std::string>& files,
              const std::function<void(EditorWindow&)>& firstShown) {
  EditorWindow window;
  QGuiApplication::setWindowIcon(programIcon());
  QtPrompts prompts(&window);
  editor::EditorEnv env;
  // The help file and the favourite folder lie next to the program.
  env.programDir = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
  editor::EditorDialog editor(window.controls(), prompts, env);
  window.attach(editor);
  editor.initDialog();
  if (firstShown) window.setFirstShown([&window, firstShown] { firstShown(window); });
  if (!files.empty()) QTimer::singleShot(0, &window, [&editor, files] { editor.openPaths(files); });
  return window.exec();
}

}  // namespace velmora::qt
