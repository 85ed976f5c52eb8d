// The editor's application object: it runs the main window modally and the
// program ends when that window ends.
#include <QApplication>
#include <string>
#include <vector>

#include "qt/editor_app.h"
#include "qt/western.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Velmora"));
  // "velmora FILE": what a file association or a double click runs.
  std::vector<std::string> files;
  const QStringList args = QCoreApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) files.push_back(velmora::qt::toUtf8Text(args[i]));
  velmora::qt::runEditor(files);
  return 0;
}
