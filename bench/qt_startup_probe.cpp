// Starts either the editor (as the program does) or a bare Qt dialog of the
// same size, prints "shown" the moment its window has first been painted,
// then, once the window has rested, "rss <kB>" and ends. velmora_bench_qt
// times the first line from outside; /usr/bin/time -v measures the whole.
//
//   velmora_startup_probe [--bare | --bare-text]
//
// --bare-text gives the bare dialog one line of text: the first text a Qt
// program draws loads the font configuration and the rasteriser, a cost
// that an empty dialog never pays.
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "qt/editor_app.h"
#include "qt/editor_window.h"

namespace {

constexpr int kRestMs = 300;

long residentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

void shown() {
  std::printf("shown\n");
  std::fflush(stdout);
}

void restThenEnd(QDialog& dialog) {
  QTimer::singleShot(kRestMs, &dialog, [&dialog] {
    std::printf("rss %ld\n", residentKb());
    std::fflush(stdout);
    dialog.done(0);
  });
}

// The bare dialog's first paint.
class FirstPaint final : public QObject {
 public:
  explicit FirstPaint(QDialog& dialog) : dialog_(dialog) { dialog.installEventFilter(this); }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      QTimer::singleShot(0, &dialog_, [this] {
        shown();
        restThenEnd(dialog_);
      });
    }
    return false;
  }

 private:
  QDialog& dialog_;
  bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  const bool text = argc > 1 && std::strcmp(argv[1], "--bare-text") == 0;
  const bool bare = text || (argc > 1 && std::strcmp(argv[1], "--bare") == 0);
  QApplication app(argc, argv);
  if (bare) {
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Bare"));
    dialog.resize(775, 550);
    if (text) (new QLabel(QStringLiteral("Velmora 1.00"), &dialog))->move(20, 20);
    FirstPaint watch(dialog);
    dialog.exec();
    return 0;
  }
  velmora::qt::runEditor({}, [](velmora::qt::EditorWindow& window) {
    shown();
    restThenEnd(window);
  });
  return 0;
}
