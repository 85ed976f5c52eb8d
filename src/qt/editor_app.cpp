#include "qt/editor_app.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

#include "db/path_text.h"
#include "editor/editor_dialog.h"
#include "qt/editor_window.h"
#include "qt/images.h"
#include "qt/qt_prompts.h"
#include "qt/western.h"

namespace velmora::qt {

int runEditor(const std::vector<std::string>& files,
              const std::function<void(EditorWindow&)>& firstShown) {
  EditorWindow window;
  QGuiApplication::setWindowIcon(programIcon());
  QtPrompts prompts(&window);
  prompts.followMenus(&window.controls());
  editor::EditorEnv env;
  // The help file and the favourite folder lie next to the program.
  env.programDir = pathFromUtf8(toUtf8Text(QCoreApplication::applicationDirPath()));
  editor::EditorDialog editor(window.controls(), prompts, env);
  window.attach(editor);
  editor.initDialog();
#if QT_CONFIG(sessionmanager)
  // At log-off, shutdown or an update's restart, unsaved work keeps the
  // session from ending. When the session manager lets the program speak to
  // the user, the editor first asks its closing question (which may save,
  // or end the window when the user lets the work go); while the window
  // stays and the work is unsaved the shutdown is cancelled. Over another
  // modal window the question waits: the shutdown is cancelled at once.
  QObject::connect(qApp, &QGuiApplication::commitDataRequest, &window,
                   [&window, &editor](QSessionManager& manager) {
                     if (!editor.hasUnsavedWork() || !manager.allowsInteraction()) return;
                     const QWidget* modal = QApplication::activeModalWidget();
                     if (modal == nullptr || modal == &window) editor.onCloseRequest();
                     if (window.isVisible() && editor.hasUnsavedWork()) manager.cancel();
                     manager.release();
                   });
#endif
  if (firstShown) window.setFirstShown([&window, firstShown] { firstShown(window); });
  if (!files.empty()) QTimer::singleShot(0, &window, [&editor, files] { editor.openPaths(files); });
  return window.exec();
}

}  // namespace velmora::qt
