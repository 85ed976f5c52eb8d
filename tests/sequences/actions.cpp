// The steps of a sequence: clicks, tabs, typing, combo boxes and commands,
// each by one of the ways a user reaches it.
#include "sequences/model.h"

namespace velmora::editor::sequences {

void Sequence::step() {
  struct Weighted {
    Kind kind;
    int weight;
    const char* name;
  };
  // clang-format off
  static const Weighted table[] = {
      {Kind::Click, 16, "click"},  {Kind::RightClick, 3, "rightclick"},
      {Kind::Tab, 6, "tab"},       {Kind::SatBox, 4, "satbox"},
      {Kind::Type, 12, "type"},    {Kind::Combo, 4, "combo"},
      {Kind::Add, 6, "add"},       {Kind::Change, 8, "change"},
      {Kind::Remove, 4, "remove"}, {Kind::Delete, 3, "delete"},
      {Kind::Sort, 5, "sort"},     {Kind::Move, 6, "move"},
      {Kind::Drag, 8, "drag"},     {Kind::Undo, 7, "undo"},
      {Kind::Redo, 4, "redo"},     {Kind::Find, 2, "find"},
      {Kind::Save, 4, "save"},     {Kind::New, 1, "new"},
      {Kind::Open, 4, "open"},     {Kind::ApplyOrder, 2, "applyorder"},
      {Kind::FindAll, 3, "findall"}, {Kind::Update, 2, "update"},
      {Kind::Cut, 3, "cut"},       {Kind::Copy, 3, "copy"},
      {Kind::Paste, 4, "paste"}};
  // clang-format on
  int total = 0;
  for (const Weighted& w : table) total += leftOut(w.name) ? 0 : w.weight;
  int roll = uniform(0, total - 1);
  Kind kind = Kind::Click;
  for (const Weighted& w : table) {
    if (leftOut(w.name)) continue;
    if (roll < w.weight) {
      kind = w.kind;
      break;
    }
    roll -= w.weight;
  }
  switch (kind) {
    case Kind::Click:
      click(false);
      break;
    case Kind::RightClick:
      click(true);
      break;
    case Kind::Tab:
      switchTab();
      break;
    case Kind::SatBox:
      chooseSatellite();
      break;
    case Kind::Type:
      type();
      break;
    case Kind::Combo:
      combo();
      break;
    case Kind::Add:
    case Kind::Change:
    case Kind::Remove:
    case Kind::Delete:
    case Kind::Move:
    case Kind::Sort:
    case Kind::Undo:
    case Kind::Redo:
    case Kind::Find:
    case Kind::FindAll:
      command(kind);
      break;
    case Kind::Drag:
      drag();
      break;
    case Kind::Save:
    case Kind::New:
    case Kind::Open:
      file(kind);
      break;
    case Kind::ApplyOrder:
      applyOrder();
      break;
    case Kind::Update:
      updateFromListing();
      break;
    case Kind::Cut:
    case Kind::Copy:
    case Kind::Paste:
      clipboard(kind);
      break;
    case Kind::Nothing:
      break;
  }
}

std::string Sequence::rowText(int tab, int row) const {
  const Entries e = entriesOf(ed_.database(), tab, shownSat());
  return row >= 0 && row < static_cast<int>(e.label.size()) ? inQuotes(e.label[at(row)]) : "?";
}

void Sequence::click(bool right) {
  const int tab = shownTab();
  const int list = listOf(tab);
  const int n = ui_.listRowCount(list);
  std::vector<int> rows;
  const int how = uniform(0, 9);
  if (n > 0 && how < 7) {
    rows.push_back(uniform(0, n - 1));
  } else if (n > 1 && how < 9) {
    for (int r = 0; r < n; ++r)
      if (chance(50)) rows.push_back(r);
  }
  std::string what = std::string(right ? "right click" : "click") + " " + tabName(tab) + " ";
  if (rows.empty()) what += "list below the rows";
  for (int r : rows) what += "row " + std::to_string(r + 1) + " " + rowText(tab, r) + " ";
  int commandId = 0;
  if (right) {
    commandId =
        oneOf<int>({0, ID_EDIT_ADD, ID_EDIT_CHANGE, ID_EDIT_REMOVE, ID_EDIT_MOVE, ID_EDIT_SORT,
                    ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE});
    what += commandId == 0 ? ", menu closed" : ", menu item " + std::to_string(commandId);
  }
  begin(what);
  ui_.focus(list);
  const Entries e = entriesOf(ed_.database(), tab, shownSat());
  pick_.clear();
  for (int r : rows) pick_.push_back(e.rec[at(r)]);
  pickTab_ = tab;
  pickSat_ = shownSatKey();
  // A click that hits no row leaves whatever the panel holds.
  panelDirty_ = rows.empty();
  ui_.pickRows(list, rows);
  if (!right) {
    ed_.onListClick(list, ui_.listSelectedRows(list));
    finishStep(Kind::Click);
    if (!rows.empty()) {
      require(panelShows(tab, rows.front()),
              "the edit panel does not show the clicked row " + std::to_string(rows.front() + 1));
    }
    return;
  }
  Plan plan = planFor(commandId);
  // The right click picks the rows first: the clip's rows, and Paste's.
  noteClipRows(rows, rows.empty() ? -1 : rows.front());
  prompts_.menuChoices = {commandId};
  ed_.onListRightClick(list);
  prompts_.menuChoices.clear();
  finishStep(plan.kind, plan);
}

void Sequence::switchTab() {
  int tab = uniform(1, 2);
  if (tab >= shownTab()) ++tab;
  begin(std::string("tab ") + tabName(tab));
  ui_.pickTab(tab - 1);
  ed_.onTabChanged();
  pick_.clear();
  panelDirty_ = false;
  finishStep(Kind::Tab);
}

void Sequence::chooseSatellite() {
  const int tab = shownTab();
  if (tab == TAB_SATELLITE || ed_.database().satCount < 2) return switchTab();
  const int box = tab == TAB_TRANSPONDER ? IDC_TP_SAT : IDC_SVC_SAT;
  int s = uniform(0, ed_.database().satCount - 2);
  if (s >= shownSat()) ++s;
  begin("SAT Name box: " + inQuotes(ed_.database().sats[at(s)].name));
  ui_.focus(box);
  ui_.pickComboItem(box, s);
  ed_.onComboChanged(box);
  pick_.clear();
  panelDirty_ = false;
  finishStep(Kind::SatBox);
}

void Sequence::type() {
  const int tab = shownTab();
  struct Field {
    int id;
    const char* name;
    std::vector<std::string> values;
  };
  std::vector<std::string> names;
  for (int s = 0; s < ed_.database().satCount; ++s)
    names.push_back(ed_.database().sats[at(s)].name);
  names.insert(names.end(), {"Astra", "Hotbird", "Thor", "ABCDEFGHIJKLMNOPQR", "", "Hotbird-13E",
                             "Yahsat 52.5E", "Astra 19.2\260E", "Intelsat 20"});
  const std::vector<Field> fields =
      tab == TAB_SATELLITE
          ? std::vector<Field>{{IDC_SAT_NAME, "SAT Name", names},
                               {IDC_LNB_FREQ1, "LNB Freq 1", {"9750", "5150", "10600", "", "975O"}},
                               {IDC_LNB_FREQ2, "LNB Freq 2", {"10600", "0", "", "l0600", "11300"}},
                               {IDC_LONGITUDE,
                                "Longi.(SDX)",
                                {"0130", "0192", "3300", "0000", "123", "3600", "01x0", ""}}}
      : tab == TAB_TRANSPONDER
          ? std::vector<Field>{{IDC_FREQUENCY,
                                "Frequency",
                                {"11362", "10744", "12750", "3399", "abc", "", "123456", "11111"}},
                               {IDC_SYMBOL_RATE,
                                "Symbol Rate",
                                {"27500", "22000", "45001", "999", "", "29900"}}}
          : std::vector<Field>{
                {IDC_CH_NAME, "Ch Name", {"ZDF HD", "3sat", "", "ABCDEFGHIJKLMNOPQRST", "arte"}},
                {IDC_VIDEO_PID, "Video-PID", {"160", "0", "65535", "-1", "123456", "x", ""}},
                {IDC_AUDIO_PID, "Audio-PID", {"80", "0", "-1", "99999", ""}},
                {IDC_PCR_PID, "Pcr-PID", {"160", "0", "x", ""}},
                {IDC_SERVICE_ID, "ServiceID", {"1", "28006", "70000", ""}}};
  const Field& f = oneOf(fields);
  const std::string value = oneOf(f.values);
  begin(std::string("type ") + f.name + " = " + inQuotes(value));
  ui_.focus(f.id);
  ui_.type(f.id, value);
  panelDirty_ = true;
  finishStep(Kind::Type);
}

void Sequence::combo() {
  const int tab = shownTab();
  struct Box {
    int id, items;
    const char* name;
  };
  const std::vector<Box> boxes =
      tab == TAB_SATELLITE
          ? std::vector<Box>{{IDC_LNB_TYPE, 3, "LNB Type"},  {IDC_TONE, 3, "22KHz"},
                             {IDC_12V, 2, "0/12V"},          {IDC_LNB_POWER, 2, "LNB Power"},
                             {IDC_DISEQC, 5, "DiSEqC"},      {IDC_COMMITTED, 5, "Com."},
                             {IDC_UNCOMMITTED, 17, "Uncom."}}
      : tab == TAB_TRANSPONDER ? std::vector<Box>{{IDC_POLARITY, 2, "Polarity"}}
                               : std::vector<Box>{{IDC_SCRAMBLED, 2, "Scrambled"}};
  const Box& b = oneOf(boxes);
  if (!ui_.isEnabled(b.id)) return type();
  const int item = uniform(0, b.items - 1);
  begin(std::string("choose ") + b.name + " item " + std::to_string(item));
  ui_.focus(b.id);
  ui_.pickComboItem(b.id, item);
  ed_.onComboChanged(b.id);
  panelDirty_ = true;
  finishStep(Kind::Combo);
}

Sequence::Plan Sequence::planFor(int commandId) {
  Plan p;
  switch (commandId) {
    case ID_EDIT_ADD:
    case IDC_ADD:
      p.kind = Kind::Add;
      prompts_.script = [this](FakePrompts::DialogSession& d) { addChannelDialog(d); };
      break;
    case ID_EDIT_CHANGE:
    case IDC_CHANGE:
      p.kind = Kind::Change;
      break;
    case ID_EDIT_REMOVE:
    case IDC_REMOVE:
      p.kind = Kind::Remove;
      break;
    case ID_EDIT_MOVE: {
      p.kind = Kind::Move;
      const int n = ui_.listRowCount(listOf(shownTab()));
      p.block = pickedBlock(listOf(shownTab()));  // which must fit after its place
      const int last = n + 1 - std::max(1, static_cast<int>(p.block.size()));
      const int k = uniform(0, 9);
      std::string text;
      if (k < 5) {
        text = std::to_string(uniform(1, std::max(n, 1)));
      } else {
        text = oneOf<std::string>(
            {"0", std::to_string(n + 1), "5x", "1.5", "", "abc", "-1", " 2", "99999999999"});
      }
      const bool escape = chance(15);
      // Blanks around the number may be taken or refused; anything else
      // but digits is refused.
      const std::size_t first = text.find_first_not_of(' ');
      const std::string digits = first == std::string::npos
                                     ? std::string()
                                     : text.substr(first, text.find_last_not_of(' ') - first + 1);
      bool whole = !digits.empty() && std::all_of(digits.begin(), digits.end(),
                                                  [](char c) { return c >= '0' && c <= '9'; });
      const std::int64_t v = whole ? leadingValue(digits) : 0;
      whole = whole && v >= 1 && v <= last;
      p.moveRefused = escape || !whole;
      if (!p.moveRefused) p.position = static_cast<int>(v) - 1;
      described_.back() += ", Move dialog: " + inQuotes(text) + (escape ? " Esc" : " Enter");
      prompts_.script = [text, escape](FakePrompts::DialogSession& d) {
        if (d.dialog.dialogId() != IDD_MOVE) return;
        d.ui.type(IDC_MOVE_POSITION, text);
        d.ui.focus(IDC_MOVE_POSITION);
        d.send(escape ? ID_CANCEL : ID_OK);
      };
      break;
    }
    case ID_EDIT_SORT:
      p.kind = Kind::Sort;
      break;
    case ID_EDIT_CUT:
      p.kind = Kind::Cut;
      break;
    case ID_EDIT_COPY:
      p.kind = Kind::Copy;
      break;
    case ID_EDIT_PASTE:
      p.kind = Kind::Paste;
      break;
    case ID_EDIT_UNDO:
      p.kind = Kind::Undo;
      break;
    case ID_EDIT_REDO:
      p.kind = Kind::Redo;
      break;
    case ID_EDIT_FIND: {
      p.kind = Kind::Find;
      const Entries e = entriesOf(ed_.database(), shownTab(), shownSat());
      std::string text = "zz";
      if (!e.label.empty() && chance(80)) {
        const std::string& l = oneOf(e.label);
        text = l.substr(0, std::min<std::size_t>(l.size(), 3));
        if (shownTab() == TAB_TRANSPONDER) text = l.substr(0, 3);
      }
      const bool twice = chance(30);
      p.findText = text;
      described_.back() += ", Find " + inQuotes(text) + (twice ? " twice" : "");
      prompts_.script = [text, twice](FakePrompts::DialogSession& d) {
        if (d.dialog.dialogId() != IDD_FIND) return;
        d.ui.type(IDC_FIND_TEXT, text);
        d.ui.focus(IDC_FIND_TEXT);
        d.send(ID_OK);
        if (twice) d.send(ID_OK);
        d.send(ID_CANCEL);
      };
      break;
    }
    case ID_EDIT_FIND_ALL: {
      p.kind = Kind::FindAll;
      p.chosen = std::make_shared<std::optional<Plan::Chosen>>();
      // A part of a name, a service id or a frequency of any satellite.
      const ChannelDb& db = ed_.database();
      std::string text = oneOf<std::string>({"zz", "a", "1"});
      const int s = db.satCount > 0 ? uniform(0, db.satCount - 1) : 0;
      if (db.satCount > 0 && db.svcTables[at(s)].count() > 0 && chance(60)) {
        const SvcRecord& v = db.svcTables[at(s)][uniform(0, db.svcTables[at(s)].count() - 1)];
        text = chance(70) ? v.name.substr(0, std::min<std::size_t>(v.name.size(), 3))
                          : decimalText(leadingValue(v.serviceId));
      } else if (db.satCount > 0 && db.tpTables[at(s)].count() > 0 && chance(50)) {
        text = db.tpTables[at(s)][0].frequency.substr(0, 3);
      }
      const bool choose = chance(80);
      described_.back() += ", " + inQuotes(text) + (choose ? ", a hit chosen" : ", closed");
      // Through Find, the text is typed there and "All satellites" clicked.
      auto fromFind = std::make_shared<bool>(false);
      prompts_.script = [this, text, choose, p, fromFind](FakePrompts::DialogSession& d) {
        if (d.dialog.dialogId() == IDD_FIND) {
          d.ui.type(IDC_FIND_TEXT, text);
          *fromFind = true;
          d.send(IDC_FIND_ALL_SATS);
          return;
        }
        findAllDialog(d, text, !*fromFind, choose, p);
      };
      break;
    }
    default:
      p.kind = Kind::Nothing;
      break;
  }
  return p;
}

namespace {

bool holdsText(const std::string& name, const std::string& text) {
  const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return std::search(name.begin(), name.end(), text.begin(), text.end(),
                     [&](char a, char b) { return fold(a) == fold(b); }) != name.end();
}

}  // namespace

void Sequence::findAllDialog(FakePrompts::DialogSession& d, const std::string& text, bool typed,
                             bool choose, const Plan& plan) {
  if (d.dialog.dialogId() != IDD_FIND_ALL) return;
  if (typed) {
    for (std::size_t n = 1; n <= text.size(); ++n) {
      d.ui.type(IDC_FIND_ALL_TEXT, text.substr(0, n));
      d.send(IDC_FIND_ALL_TEXT);
    }
  }
  const auto& hits = dynamic_cast<const FindAllDialog&>(d.dialog).hits();
  const ChannelDb& db = ed_.database();
  require(d.ui.listRowCount(IDC_FIND_ALL_LIST) == static_cast<int>(hits.size()),
          "the list of hits does not show every hit");
  const bool number =
      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  int named = 0;
  for (int s = 0; s < db.satCount; ++s)
    for (const SvcRecord& v : db.svcTables[at(s)]) named += holdsText(v.name, text) ? 1 : 0;
  int channels = 0;
  for (const match::Found& f : hits) {
    if (f.svc < 0) {
      require(number && db.tpTables[at(f.sat)][f.tp].frequency.starts_with(text),
              "a transponder found whose frequency does not start with " + inQuotes(text));
      continue;
    }
    ++channels;
    const SvcRecord& v = db.svcTables[at(f.sat)][f.svc];
    require(f.tp >= 0 && tpKeyShort(db.tpTables[at(f.sat)][f.tp]) == tpKeyShortPart(v.tpKey),
            "a hit names another transponder than its channel's");
    const auto same = [&](const std::string& field) {
      return !field.empty() && decimalText(leadingValue(field)) == text;
    };
    require(holdsText(v.name, text) || (number && (same(v.serviceId) || same(v.videoPid) ||
                                                   same(v.audioPid) || same(v.pcrPid))),
            "channel " + inQuotes(v.name) + " found that does not hold " + inQuotes(text));
  }
  require(channels >= named, "a channel whose name holds " + inQuotes(text) + " was not found");
  if (!choose || hits.empty()) {
    d.send(ID_CANCEL);
    return;
  }
  const int row = uniform(0, static_cast<int>(hits.size()) - 1);
  const match::Found& f = hits[at(row)];
  const int tab = f.svc >= 0 ? TAB_CHANNEL : TAB_TRANSPONDER;
  *plan.chosen = Plan::Chosen{tab, satRec(db.sats[at(f.sat)]),
                              entriesOf(db, tab, f.sat).rec[at(f.svc >= 0 ? f.svc : f.tp)]};
  d.ui.pickRows(IDC_FIND_ALL_LIST, {row});
  d.send(IDC_FIND_ALL_LIST);
  d.ui.focus(IDC_FIND_ALL_LIST);
  d.send(ID_OK);
}

void Sequence::addChannelDialog(FakePrompts::DialogSession& d) {
  if (d.dialog.dialogId() != IDD_ADD_CHANNEL) return;
  const int n = d.ui.listRowCount(IDC_ACH_TP_LIST);
  if (n > 0 && chance(85)) {
    d.ui.pickRows(IDC_ACH_TP_LIST, {uniform(0, n - 1)});
    d.send(IDC_ACH_TP_LIST);
  }
  if (chance(30)) d.ui.type(IDC_ACH_NAME, oneOf<std::string>({"Sport 1", "ZDF HD", ""}));
  if (chance(20)) {
    d.ui.pickComboItem(IDC_ACH_SCRAMBLED, 1);
    d.send(IDC_ACH_SCRAMBLED);
  }
  d.ui.focus(IDC_ACH_TP_LIST);
  d.send(chance(85) ? ID_OK : ID_CANCEL);
}

void Sequence::command(Kind kind) {
  const int tab = shownTab();
  const int list = listOf(tab);
  int commandId = 0;
  std::function<void()> act;
  std::string how;
  switch (kind) {
    case Kind::Add:
    case Kind::Change:
    case Kind::Remove: {
      const int button = kind == Kind::Add      ? IDC_ADD
                         : kind == Kind::Change ? IDC_CHANGE
                                                : IDC_REMOVE;
      const int menu = kind == Kind::Add      ? ID_EDIT_ADD
                       : kind == Kind::Change ? ID_EDIT_CHANGE
                                              : ID_EDIT_REMOVE;
      const char* name = kind == Kind::Add ? "Add" : kind == Kind::Change ? "Change" : "Remove";
      commandId = menu;
      const int way = uniform(0, 3);
      if (way == 0) {
        how = std::string(name) + " button";
        act = [this, button] {
          ui_.focus(button);
          ed_.onCommand(button);
        };
      } else if (way == 1) {
        how = std::string("Edit > ") + name;
        act = [this, menu] { ed_.onCommand(menu); };
      } else if (way == 3 && kind != Kind::Remove) {
        // Enter away from the buttons presses the default one: Change
        // while rows of the list are picked, else Add.
        const int focus = ui_.focusedControl();
        if (focus == IDC_ADD || focus == IDC_CHANGE || focus == IDC_REMOVE) ui_.focus(list);
        const bool picked = !ui_.listSelectedRows(list).empty();
        commandId = picked ? ID_EDIT_CHANGE : ID_EDIT_ADD;
        how = "Enter (focus " + std::to_string(ui_.focusedControl()) + ", " +
              (picked ? "Change" : "Add") + ")";
        act = [this] { ed_.onKeyDown(KEY_RETURN); };
      } else {
        how = std::string("Enter on the ") + name + " button";
        act = [this, button] {
          ui_.focus(button);
          ed_.onKeyDown(KEY_RETURN);
        };
      }
      break;
    }
    case Kind::Delete:
      commandId = ID_EDIT_REMOVE;
      how = "Delete key on the list";
      act = [this, list] {
        ui_.focus(list);
        ed_.onKeyDown(KEY_DELETE);
      };
      break;
    case Kind::Move:
      commandId = ID_EDIT_MOVE;
      if (chance(50)) {
        how = "F5";
        act = [this] { ed_.onKeyDown(KEY_F5); };
      } else {
        how = "Edit > Move";
        act = [this] { ed_.onCommand(ID_EDIT_MOVE); };
      }
      break;
    case Kind::Sort: {
      commandId = ID_EDIT_SORT;
      const int way = uniform(0, 3);
      how = way == 0   ? "Edit > Sort"
            : way == 1 ? "toolbar Sort"
            : way == 2 ? "F8"
                       : "column header";
      act = [this, way, list] {
        if (way == 0) ed_.onCommand(ID_EDIT_SORT);
        if (way == 1) ed_.onCommand(ID_TB_SORT);
        if (way == 2) ed_.onKeyDown(KEY_F8);
        if (way == 3) ed_.onColumnClick(list);
      };
      break;
    }
    case Kind::Undo:
    case Kind::Redo: {
      const bool undo = kind == Kind::Undo;
      commandId = undo ? ID_EDIT_UNDO : ID_EDIT_REDO;
      const int way = uniform(0, 5);
      if (way == 5) {
        // In a text field too the keys undo and redo the editor's steps.
        how = std::string(undo ? "Ctrl+Z" : "Ctrl+Y") + " in the field being typed";
        act = [this, undo, tab] {
          ui_.focus(tab == TAB_SATELLITE     ? IDC_SAT_NAME
                    : tab == TAB_TRANSPONDER ? IDC_FREQUENCY
                                             : IDC_CH_NAME);
          ed_.onKeyDown(undo ? 'Z' : 'Y', true);
        };
      } else if (way >= 2) {
        how = undo ? "Ctrl+Z" : "Ctrl+Y";
        act = [this, undo, list] {
          ui_.focus(list);
          ed_.onKeyDown(undo ? 'Z' : 'Y', true);
        };
      } else {
        how = undo ? "Edit > Undo" : "Edit > Redo";
        act = [this, undo] { ed_.onCommand(undo ? ID_EDIT_UNDO : ID_EDIT_REDO); };
      }
      break;
    }
    case Kind::Find:
      commandId = ID_EDIT_FIND;
      how = "Ctrl+F";
      act = [this, list] {
        ui_.focus(list);
        ed_.onKeyDown('F', true);
      };
      break;
    case Kind::FindAll: {
      // The Find dialog's check box is reached by Ctrl+F; the plan's
      // script answers either dialog.
      commandId = ID_EDIT_FIND_ALL;
      const int way = uniform(0, 2);
      how = way == 0 ? "Ctrl+Shift+F" : way == 1 ? "Edit > Find in all satellites" : "Ctrl+F";
      act = [this, list, way] {
        ui_.focus(list);
        if (way == 0) ed_.onKeyDown('F', true, true);
        if (way == 1) ed_.onCommand(ID_EDIT_FIND_ALL);
        if (way == 2) ed_.onKeyDown('F', true);
      };
      break;
    }
    default:
      return;
  }
  begin(how);
  Plan plan = commandId == 0 ? Plan{} : planFor(commandId);
  if (kind == Kind::Delete) plan.kind = Kind::Delete;
  act();
  finishStep(plan.kind, plan);
}

}  // namespace velmora::editor::sequences
