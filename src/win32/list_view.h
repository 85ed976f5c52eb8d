// A report-style list view in owner-data mode over the editor's row source:
// the control asks for the text of the cells it paints, which the source
// gives, and knows only how many rows there are. Rows appended are told to
// it in one go, before it next handles a message of its own (see tell()).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/port.h"
#include "win32/win.h"

namespace velmora::win32 {

class ListView {
 public:
  // `coloured`: the main window's green and yellow scheme rather than the
  // desktop's colours. `dpi` scales the logical pixels the editor gives.
  ListView(HWND hwnd, bool coloured, int dpi);

  HWND hwnd() const { return hwnd_; }
  // The program is changing the control: its selection changes are not
  // the user's.
  bool quiet() const { return quiet_ > 0; }

  void addColumn(std::string_view header, int width);
  int columnCount() const { return columns_; }
  std::string columnHeader(int column) const;
  int columnWidth(int column) const;
  // Columns keep their widths in logical pixels, never narrower than their
  // headers in the headers' new font.
  void onDpiChanged(int dpi);
  // A notification from the list's header; true when handled here (a
  // double click on a divider, which fits its column).
  bool onHeaderNotify(const NMHDR& n);

  void setSource(const editor::RowSource* source);
  const editor::RowSource* source() const { return source_; }
  // The source's rows changed as `change` says.
  void changed(const editor::ListChange& change);
  // The rows the editor has told of, the control knowing of them yet or not.
  int rowCount() const { return rows_; }
  std::string cell(int row, int column) const;

  std::vector<int> selectedRows() const;
  void selectRows(const std::vector<int>& rows);
  void ensureVisible(int row);
  int topRow() const;
  int rowsPerPage() const;
  int rowAt(int y) const;
  int rowHeight() const;

  // Rows changed that the control has not heard of yet.
  bool pending() const { return cleared_ || told_ != rowCount(); }
  void tell();
  // Whether the rows were filled anew since the last call (for the trace).
  bool takeRefilled();
  // A list with the keyboard shows where it is: its picked row, or the
  // top one, has the focus rectangle.
  void showFocusRow();

  // What the control asks of its rows: a cell's text to paint, and the
  // row that typing names.
  void cellText(NMLVDISPINFOW& info) const;
  int findRow(const NMLVFINDITEMW& find) const;

 private:
  // The selected and focused rows and the selection mark, which the
  // control keeps by row number.
  struct RowStates {
    std::vector<int> selected;
    int focused = -1;
    int mark = -1;
  };

  void insertRows(int row, int count);
  void deleteRows(int row, int count);
  void deleteAll();
  void moveRow(int from, int to);
  void awaitTell() const;
  RowStates rowStates() const;
  // Gives the states back with every row number passed through `to`
  // (-1: the row is gone).
  void restoreRowStates(const RowStates& states, const std::function<int(int)>& to);
  void clearStates(bool focus);
  int minColumnWidth(const std::wstring& header) const;
  int toScreen(int logical) const;
  int toLogical(int pixels) const;

  HWND hwnd_;
  int dpi_;
  int columns_ = 0;
  const editor::RowSource* source_ = nullptr;
  int rows_ = 0;
  // How many rows the control has been told of, and whether it is still
  // to hear that its rows were all replaced.
  int told_ = 0;
  bool cleared_ = false;
  // Filled anew since its last paint (for the trace).
  bool refilled_ = false;
  int quiet_ = 0;
};

}  // namespace velmora::win32
