// Puts a database into an editor the way the program does: as the loader's
// result after a file was read, or as work the user has not saved.
#pragma once

#include <utility>

#include "db/channel_db.h"
#include "editor/editor_dialog.h"
#include "resource_ids.h"
#include "support/db_builders.h"
#include "wdb/load.h"
#include "wdb/wdb_format.h"

namespace velmora::test {

// `db` as loaded from a file of `layout`: the saved state. Open names
// unnamed channels "...." as it loads them.
inline void load(editor::EditorDialog& editor, ChannelDb db,
                 wdb::Layout layout = wdb::Layout::TypeI) {
  for (int s = 0; s < db.satCount; ++s) wdb::nameUnnamedChannels(db.svcTables[s]);
  wdb::ReadResult loaded;
  loaded.db = std::move(db);
  loaded.layout = layout;
  editor.finishLoading(std::move(loaded));
}

// `db` as unsaved work: loaded with one satellite more, which the user then
// removed on the Satellite tab. The window shows the Satellite tab.
inline void loadUnsaved(editor::EditorDialog& editor, editor::Controls& ui, ChannelDb db,
                        wdb::Layout layout = wdb::Layout::NotChosen) {
  ui.tabSelect(res::IDC_TAB, 0);
  editor.onTabChanged();
  const int extra = db.satCount;
  db.appendSatellite(makeSat("Removed later"));
  load(editor, std::move(db), layout);
  ui.listSelectRows(res::IDC_SAT_LIST, {extra});
  editor.onListClick(res::IDC_SAT_LIST, ui.listSelectedRows(res::IDC_SAT_LIST));
  editor.onCommand(res::IDC_REMOVE);
}

}  // namespace velmora::test
