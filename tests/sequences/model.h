// The model the random sequences keep of the main window: the content of a
// database as text that compares, what a file of a layout keeps of it, the
// entries of a list, the prompts answered as the sequence decides, and one
// sequence of random steps with the checks after each.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "db/list_rows.h"
#include "db/text_number.h"
#include "editor/editor_dialog.h"
#include "editor/find_all_dialog.h"
#include "match/clip.h"
#include "match/match.h"
#include "match/update.h"
#include "order/order.h"
#include "resource_ids.h"
#include "sdx/import.h"
#include "support/db_builders.h"
#include "support/fake_port.h"
#include "texts.h"
#include "wdb/file_io.h"
#include "wdb/load.h"
#include "wdb/wdb_format.h"

namespace velmora::editor::sequences {

using namespace velmora::res;
using namespace velmora::test;
namespace fs = std::filesystem;

inline std::size_t at(int i) { return static_cast<std::size_t>(i); }

void field(std::string& out, const std::string& text);
std::string satRec(const SatRecord& s);
std::string tpRec(const TpRecord& t);
std::string svcRec(const SvcRecord& v);
std::string tpTableRec(const TpTable& t);
std::string svcTableRec(const SvcTable& t);
std::string tablesRec(const ChannelDb& db, int s);
std::string contentOf(const ChannelDb& db);
const char* layoutText(wdb::Layout l);

struct State {
  std::string content;
  wdb::Layout layout = wdb::Layout::NotChosen;
  std::string summary;  // for messages
  bool operator==(const State& o) const { return content == o.content && layout == o.layout; }
};
std::string summaryOf(const ChannelDb& db, wdb::Layout layout);
State stateOf(const ChannelDb& db, wdb::Layout layout, bool withSummary = false);

// ---------------------------------------------------------------------------
// What a file of a layout keeps of a database: names cut to 16 bytes (15
// read back from Type II), numbers as their packed or 16-bit values, the
// settings as bits, ports and position in Type I only; the LNB type is
// derived from the frequencies, NID and TID are not stored, and a channel
// is tied to its transponder by position only.

inline bool has(const std::string& text, const char* word) {
  return text.find(word) != std::string::npos;
}
std::string packed(const std::string& text);
int diseqcMode(const std::string& d);
std::string fileView(const ChannelDb& db, wdb::Layout layout);
int listOf(int tab);
const char* tabName(int tab);
order::Tab orderTab(int tab);

struct Entries {
  std::vector<std::string> rec, full, label;
};
Entries entriesOf(const ChannelDb& db, int tab, int s);
std::string restOf(const ChannelDb& db, int tab, int s);

inline std::string inQuotes(const std::string& s) { return "\"" + s + "\""; }

// ---------------------------------------------------------------------------
// The window's prompts, answered as the sequence decides: every question is
// answered at random, every file dialog by a function of the run.

class ScriptedPrompts : public FakePrompts {
 public:
  std::function<editor::Answer(const Message&)> answer;
  std::function<std::optional<std::string>(editor::FilePurpose)> choose;
  std::function<void(DialogSession&)> script;  // for every sub-dialog of the step
  std::vector<std::string> log;                // what the user saw and answered

  editor::Answer message(std::string_view text, std::string_view caption, editor::Buttons buttons,
                         editor::Icon) override {
    messages.push_back({std::string(text), std::string(caption), buttons});
    std::string shown(text.substr(0, 48));
    std::replace(shown.begin(), shown.end(), '\n', ' ');
    if (buttons == editor::Buttons::Ok) {
      log.push_back("message " + inQuotes(shown));
      return editor::Answer::Ok;
    }
    const editor::Answer a = answer(messages.back());
    log.push_back("question " + inQuotes(shown) + " -> " +
                  (a == editor::Answer::Yes  ? "Yes"
                   : a == editor::Answer::No ? "No"
                                             : "Esc"));
    return a;
  }
  std::optional<std::string> chooseFile(editor::FilePurpose purpose,
                                        std::string_view filter) override {
    fileFilters.emplace_back(filter);
    filePurposes.push_back(purpose);
    std::optional<std::string> f = choose(purpose);
    log.push_back(std::string(purpose == editor::FilePurpose::Open ? "open" : "save") +
                  " dialog -> " + (f ? fs::path(*f).filename().string() : std::string("cancel")));
    return f;
  }
  std::optional<editor::SaveAsChoice> chooseSaveAs(const editor::SaveAsRequest& request) override {
    std::optional<std::string> f = chooseFile(editor::FilePurpose::Save, "");
    if (!f) return std::nullopt;
    return editor::SaveAsChoice{*f, request.chosenType};
  }
  int runModal(editor::SubDialog& dialog) override {
    if (script) dialogScripts.push_back(script);
    const int r = FakePrompts::runModal(dialog);
    dialogScripts.clear();
    return r;
  }
};

struct Failure {
  std::string what;
};
const char* stepName(FileStep step);
bool leftOut(const std::string& name);

// ---------------------------------------------------------------------------
// One sequence.

class Sequence {
 public:
  Sequence(std::uint32_t seed, int steps, fs::path dir)
      : rng_(seed),
        steps_(steps),
        dir_(std::move(dir)),
        ui_(editorDialog()),
        ed_(ui_, prompts_, EditorEnv{fs::path(VELMORA_FAVOR_DIR).parent_path(), writeOptions()}) {
    prompts_.answer = [this](const FakePrompts::Message& m) {
      const int n = m.buttons == editor::Buttons::YesNoCancel ? 3 : 2;
      const int pick = uniform(0, n - 1);
      return pick == 0   ? editor::Answer::Yes
             : pick == 1 ? editor::Answer::No
                         : editor::Answer::Cancel;
    };
    prompts_.choose = [this](editor::FilePurpose purpose) -> std::optional<std::string> {
      if (purpose == editor::FilePurpose::Save) {
        const int k = uniform(0, 9);
        if (k == 0) return std::nullopt;
        const std::string name = k <= 4 ? "a.wdb" : k <= 7 ? "b.wdb" : "c";
        lastSavePath_ = path(name);
        if (fs::path(lastSavePath_).extension().empty()) lastSavePath_ += ".wdb";
        return path(name);
      }
      return openChoice_;
    };
  }

  // Runs the sequence; the failure, if any. Steps are described as they go.
  std::optional<std::string> run();
  const std::vector<std::string>& described() const { return described_; }
  int stepsRun() const { return static_cast<int>(described_.size()); }

 private:
  // ------------------------------------------------------------------ setup
  WriteOptions writeOptions();
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  bool chance(int percent) { return uniform(0, 99) < percent; }
  template <class T>
  T oneOf(const std::vector<T>& v) {
    return v[static_cast<std::size_t>(uniform(0, static_cast<int>(v.size()) - 1))];
  }

  ChannelDb randomDb();
  void writeBytes(const std::string& p, const std::vector<std::byte>& bytes);

  void setUp();

  // ------------------------------------------------------------ the steps
  enum class Kind {
    Click,
    RightClick,
    Tab,
    SatBox,
    Type,
    Combo,
    Add,
    Change,
    Remove,
    Delete,
    Sort,
    Move,
    Drag,
    Undo,
    Redo,
    Find,
    FindAll,
    Save,
    New,
    Open,
    ApplyOrder,
    Update,
    Cut,
    Copy,
    Paste,
    Nothing
  };

  struct Before {
    ChannelDb db;
    State state;
    int tab = 0, sat = -1;
    std::string satKey;
    std::size_t messages = 0, dialogs = 0, files = 0;
    bool saved = false;
    std::map<std::string, std::optional<std::vector<std::byte>>> files_;
  };

  int shownTab() const { return ui_.tabSelection(IDC_TAB) + 1; }
  int shownSat() const;
  State now() const { return stateOf(ed_.database(), ed_.layout()); }
  // The satellite a Transponder or Channel tab shows, by its record: it
  // stays the same satellite when others move around it.
  std::string shownSatKey() const;
  State withSummary(State s) const;
  void begin(const std::string& what);
  void rememberFiles();
  [[noreturn]] void fail(const std::string& what);
  void require(bool ok, const std::string& what);
  bool spoke() const;
  void step();

  // File > Apply order from... with a saved file, the start file or none.
  void applyOrder();
  void updateFromListing();
  bool keepMissing_ = false;

  std::string rowText(int tab, int row) const;

  // Cut, Copy and Paste by key, by the Edit menu, or by key in a text
  // field (which leaves the entries alone). The model keeps a clip of its
  // own, taken by the core from the rows picked before the step.
  void clipboard(Kind kind);
  void noteClipRows(const std::vector<int>& rows, int pasteAt);
  void checkClipboard(Kind kind);
  bool modelCanPaste() const;
  match::Clip clip_;
  std::vector<int> clipRows_;
  int pasteAt_ = -1;
  bool clipKeysInField_ = false;

  // A click on one row, several rows or no row of the shown list; a right
  // click also chooses from the context menu.
  void click(bool right);
  void switchTab();

  void chooseSatellite();
  void type();

  void combo();

  // What a command is expected to do, worked out before it runs.
  struct Plan {
    Kind kind = Kind::Nothing;
    std::optional<int> position;  // Move: where the entry must land
    bool moveRefused = false;     // Move: bad position or cancelled
    // Move and drop of several picked rows: the rows (ascending) that go
    // as one block, the first of them to `position`.
    std::vector<int> block;
    std::string findText;
    // Find in all satellites: the hit chosen, as its tab, its satellite's
    // record and its entry's record (filled while the dialog runs).
    struct Chosen {
      int tab = 0;
      std::string satKey, rec;
    };
    std::shared_ptr<std::optional<Chosen>> chosen;
  };
  Plan planFor(int commandId);

  void addChannelDialog(FakePrompts::DialogSession& d);
  // Find in all satellites: the text typed a character at a time, every
  // hit holding it, then a hit chosen or the dialog closed.
  void findAllDialog(FakePrompts::DialogSession& d, const std::string& text, bool typed,
                     bool choose, const Plan& plan);

  // Add, Change, Remove, Delete, Move, Sort, Undo, Redo and Find, each by
  // one of the ways a user reaches it.
  void command(Kind kind);

  // A drag of a row: pressed on a row (which picks it, unless it is one of
  // the picked rows), moved about, keys pressed meanwhile, and ended by a
  // drop on the list, elsewhere on the window or on the tab strip, or
  // abandoned.
  void drag();

  // The picked rows of list `list`, ascending, when there are several:
  // Move and a drag move them as one block.
  std::vector<int> pickedBlock(int list) const;

  // A key while dragging is ignored; Esc abandons the drag (the window
  // reports it as a cancel). true when the drag ended.
  bool keyDuringDrag();

  // Save, New and Open (of the saved files, the start file or a listing),
  // each by key, menu or toolbar, with a save that may fail.
  void file(Kind kind);

  // ------------------------------------------------------------ checking
  bool loadedFromFile() const;
  void finishStep(Kind kind) { finishStep(kind, Plan{}, false); }
  void finishStep(Kind kind, const Plan& plan, bool dragged = false);

  // Invariants 2, 3 and the undo menu, after every step.
  void checkWindow(const State& after);
  static std::vector<int> panelFields(int tab);

  // Whether every field of the edit panel shows row `row` of the shown list.
  bool panelShows(int tab, int row) const;

  // Invariant 1: Change, Remove, Delete, Move and drags act on the picked
  // entry (for a drag, the dragged one) or are refused.
  void checkPicked(Kind kind, const std::vector<std::string>& pick, const Plan& plan);

  // Add appends one entry to the shown list or, after a Yes, replaces a
  // satellite; nothing else changes.
  void checkAdd();
  bool declinedCut() const;

  // Invariant 5: the file just saved reads back as the database it was
  // saved from, but for what the file cannot hold, in the database's layout.
  void checkSavedFile(const ChannelDb& savedDb);

  // A load installs the file as the reader reads it.
  void checkLoaded();

  // The end of every sequence: undo every step, then redo them all.
  void undoAndRedoEverything();

  std::mt19937 rng_;
  int steps_;
  fs::path dir_;
  FakeControls ui_;
  ScriptedPrompts prompts_;
  std::optional<FileStep> failAt_;
  int failErrno_ = 0;
  std::vector<std::pair<FileStep, int>> fileSteps_;
  EditorDialog ed_;

  std::vector<std::string> described_;
  Before before_;
  std::vector<State> undo_;
  std::size_t undoPos_ = 0;
  State saved_;
  std::vector<std::string> pick_;
  int pickTab_ = 0;
  std::string pickSat_;  // the shown satellite's record, on the Transponder and Channel tabs
  bool panelDirty_ = false;
  std::string dragged_;
  std::vector<std::string> draggedBlock_;
  std::optional<std::string> openChoice_;
  std::string lastSavePath_;
  // The file a save without a dialog writes, as the window named it.
  std::optional<std::string> inPlace_;
};

}  // namespace velmora::editor::sequences
