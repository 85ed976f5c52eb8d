// The editor's application object: it runs the main window modally and the
// program ends when that window ends.
#include <QApplication>

#include "qt/editor_app.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Velmora"));
  velmora::qt::runEditor();
  return 0;
}
