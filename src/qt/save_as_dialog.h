// The Save As dialog: Qt's own file dialog with the database layouts as its
// file types, which asks the editor before it lets a choice go.
#pragma once

#include <QFileDialog>

#include "editor/port.h"

namespace velmora::qt {

class SaveAsDialog final : public QFileDialog {
 public:
  SaveAsDialog(QWidget* parent, const editor::SaveAsRequest& request);
  // The file type chosen, as an index of the request's types.
  int chosenType() const;

 protected:
  // The editor's check may refuse a name and type: the dialog stays open.
  void accept() override;

 private:
  const editor::SaveAsRequest& request_;
  QStringList filters_;
};

}  // namespace velmora::qt
