// Cut, Copy and Paste: the steps, and what each must have done.
#include "sequences/model.h"

namespace velmora::editor::sequences {

namespace {

int clipChannels(const match::Clip& clip) {
  int n = static_cast<int>(clip.channels.size());
  for (const match::ClipTransponder& tp : clip.transponders)
    n += static_cast<int>(tp.channels.size());
  return n;
}

}  // namespace

void Sequence::noteClipRows(const std::vector<int>& rows, int pasteAt) {
  clipRows_ = rows;
  pasteAt_ = pasteAt;
  clipKeysInField_ = false;
}

void Sequence::clipboard(Kind kind) {
  const int tab = shownTab();
  const int list = listOf(tab);
  const int id = kind == Kind::Cut    ? ID_EDIT_CUT
                 : kind == Kind::Copy ? ID_EDIT_COPY
                                      : ID_EDIT_PASTE;
  const char key = kind == Kind::Cut ? 'X' : kind == Kind::Copy ? 'C' : 'V';
  const char* name = kind == Kind::Cut ? "Cut" : kind == Kind::Copy ? "Copy" : "Paste";
  const int way = uniform(0, 4);
  const int field = tab == TAB_SATELLITE     ? IDC_SAT_NAME
                    : tab == TAB_TRANSPONDER ? IDC_FREQUENCY
                                             : IDC_CH_NAME;
  begin(way == 0   ? std::string("Edit > ") + name
        : way == 4 ? std::string("Ctrl+") + key + " in the field being typed"
                   : std::string("Ctrl+") + key);
  const ViewState& v = ed_.view();
  const int picked = tab == TAB_TRANSPONDER ? v.pickedTpRow : v.pickedSvcRow;
  noteClipRows(ui_.listSelectedRows(list), v.rowPicked ? picked : -1);
  clipKeysInField_ = way == 4;
  if (way == 0) {
    ed_.onCommand(id);
  } else {
    ui_.focus(way == 4 ? field : list);
    ed_.onKeyDown(key, true);
  }
  finishStep(kind);
}

bool Sequence::modelCanPaste() const {
  if (ed_.database().satCount == 0) return false;
  const int tab = shownTab();
  return tab == TAB_CHANNEL       ? !clip_.channels.empty()
         : tab == TAB_TRANSPONDER ? !clip_.transponders.empty()
                                  : false;
}

// A Cut or Copy of rows picked on the Transponder or Channel tab takes
// them into the clip, as the core copies them, and their rows as text onto
// the system clipboard; a Cut removes them as one step. A Paste adds
// exactly the clip's entries as the core pastes them, or is refused with
// a message and changes nothing. Keys in a text field do none of this.
void Sequence::checkClipboard(Kind kind) {
  const State after = now();
  const int tab = before_.tab, s = before_.sat;
  const bool listed = tab != TAB_SATELLITE && before_.db.satCount > 0;
  const bool spoke = prompts_.messages.size() > before_.messages;
  if (clipKeysInField_ || !listed) {
    require(after == before_.state && !spoke,
            "Cut, Copy or Paste acted where it has nothing to act on");
    return;
  }
  ChannelDb expected = before_.db;
  if (kind != Kind::Paste) {
    if (clipRows_.empty()) {
      require(after == before_.state && spoke, "a Cut or Copy of nothing picked said nothing");
      return;
    }
    const bool tps = tab == TAB_TRANSPONDER;
    clip_ = tps ? match::copyTransponders(expected, s, clipRows_)
                : match::copyChannels(expected, s, clipRows_);
    const std::string text = tps ? match::transponderRowsText(expected, s, clipRows_)
                                 : match::channelRowsText(expected, s, clipRows_);
    require(prompts_.clipboardText == text,
            "the system clipboard does not hold the rows cut or copied");
    if (kind == Kind::Cut) {
      if (tps)
        match::removeTransponders(expected, s, clipRows_);
      else
        match::removeChannels(expected, s, clipRows_);
    }
    require(after == stateOf(expected, before_.state.layout),
            std::string(kind == Kind::Cut ? "Cut did not remove just" : "Copy changed more than") +
                " the picked entries");
  } else {
    const bool takes = tab == TAB_CHANNEL ? !clip_.channels.empty() : !clip_.transponders.empty();
    if (!takes) {
      require(after == before_.state && !spoke, "a Paste with nothing to paste did something");
      return;
    }
    const match::PasteResult r =
        tab == TAB_CHANNEL ? match::pasteChannels(expected, s, pasteAt_, clip_.channels)
                           : match::pasteTransponders(expected, s, pasteAt_, clip_.transponders);
    if (!r.done()) {
      require(after == before_.state && spoke,
              "a refused Paste changed the database or was silent");
      return;
    }
    require(expected.countServices() == before_.db.countServices() + clipChannels(clip_),
            "a Paste did not add exactly the clip's channels");
    require(after == stateOf(expected, before_.state.layout),
            "Paste did not put the clip where the core puts it");
  }
  if (kind == Kind::Copy) return;
  // What the window picks after a Cut or Paste is what the model follows.
  const Entries e = entriesOf(ed_.database(), shownTab(), shownSat());
  pick_.clear();
  for (const int r : ui_.listSelectedRows(listOf(shownTab())))
    if (r < static_cast<int>(e.rec.size())) pick_.push_back(e.rec[at(r)]);
  pickTab_ = shownTab();
  pickSat_ = shownSatKey();
  panelDirty_ = false;
}

}  // namespace velmora::editor::sequences
