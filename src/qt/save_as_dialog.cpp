#include "qt/save_as_dialog.h"

#include <QFileInfo>
#include <QMessageBox>

#include "qt/western.h"
#include "texts.h"

namespace velmora::qt {

SaveAsDialog::SaveAsDialog(QWidget* parent, const editor::SaveAsRequest& request)
    : QFileDialog(parent, QStringLiteral("Save As")), request_(request) {
  // Qt's own dialog, so that a refused name keeps it open (a desktop's
  // dialog would have closed already).
  setOption(QFileDialog::DontUseNativeDialog);
  setOption(QFileDialog::DontConfirmOverwrite);
  setAcceptMode(QFileDialog::AcceptSave);
  setFileMode(QFileDialog::AnyFile);
  for (const std::string& type : request.types)
    filters_ << fromUtf8Text(type) + QStringLiteral(" (*.wdb)");
  setNameFilters(filters_);
  if (request.chosenType >= 0 && request.chosenType < filters_.size())
    selectNameFilter(filters_[request.chosenType]);
  if (!request.initialPath.empty()) {
    const QFileInfo file(fromUtf8Text(request.initialPath));
    setDirectory(file.absolutePath());
    selectFile(file.fileName());
  }
  connect(this, &QFileDialog::filterSelected, this, [this](const QString& filter) {
    if (!request_.aboutType) return;
    const std::string note = request_.aboutType(static_cast<int>(filters_.indexOf(filter)));
    if (!note.empty())
      QMessageBox::information(this, fromUtf8Text(text::APP_NAME), fromUtf8Text(note));
  });
}

int SaveAsDialog::chosenType() const {
  const auto at = filters_.indexOf(selectedNameFilter());
  return at < 0 ? request_.chosenType : static_cast<int>(at);
}

void SaveAsDialog::accept() {
  const QStringList files = selectedFiles();
  if (!files.isEmpty() && request_.check && !QFileInfo(files.first()).isDir()) {
    const std::string refusal = request_.check(toUtf8Text(files.first()), chosenType());
    if (!refusal.empty()) {
      QMessageBox::warning(this, fromUtf8Text(text::APP_NAME), fromUtf8Text(refusal));
      return;
    }
  }
  QFileDialog::accept();
}

}  // namespace velmora::qt
