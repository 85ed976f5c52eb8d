// Ordering the channel database: the one sort order of each list, and
// moving one entry to another place.
//
// The receiver's editors have always sorted with a plain exchange sort,
// and users rely on the order it leaves entries with equal keys in (it is
// not stable: keys B, B', A end as A, B', B). The sort here gives exactly
// that order, but works it out on a compact array of keys and moves each
// row only once, at the end.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "db/channel_db.h"

namespace velmora::order {

// The three lists an entry can belong to.
enum class Tab { Satellites, Transponders, Channels };

// The key of a satellite or channel name: only its first byte counts, with
// a..z raised to A..Z; the empty name has the lowest key. Byte b gives
// b + 1, so that a leading zero byte still sorts above the empty name.
std::uint16_t nameKey(std::string_view name);

// A channel without a name is listed as "...." and sorts by ".".
std::uint16_t serviceKey(const SvcRecord& svc);

// Where the exchange sort (for i, for j > i: exchange when key(i) > key(j))
// puts each entry: result[k] is the index of the entry that ends at k.
std::vector<int> exchangeSortOrder(std::span<const std::uint16_t> keys);
std::vector<int> exchangeSortOrder(std::span<const std::int64_t> keys);

// Satellites by name key, each with its transponder and channel tables.
void sortSatellites(ChannelDb& db);
// Transponders by frequency (the leading-digits value), then those whose
// polarization contains "V" ahead of all others, each group keeping its
// order. Every row is kept exactly once, whatever its polarization says.
void sortTransponders(TpTable& table);
// Channels by name key.
void sortServices(SvcTable& table);

// Sorts the list `tab`: the satellites, or the transponder or channel
// tables of every satellite in use, each table by itself.
void sortTab(ChannelDb& db, Tab tab);

// The number of entries of the list: satellites, or the rows of satellite
// `sat`'s table (0 when there is no such satellite).
int entryCount(const ChannelDb& db, Tab tab, int sat);

// Takes the entry at `from` out and puts it at `to` (both 0-based); the
// entries between move one place toward the gap. A satellite moves with
// its tables. false, and nothing changed, when either position is outside
// the list.
bool moveEntry(ChannelDb& db, Tab tab, int sat, int from, int to);

// Several entries moved as one block: the entries at `rows` (ascending,
// each once) are taken out and put back together, in their order, so that
// the first of them stands at `to` (0-based, counted in the list after the
// move: 0 up to the list's count less the block's). The other entries keep
// their order. false, and nothing changed, when a row or `to` is outside
// the list.
bool moveBlock(ChannelDb& db, Tab tab, int sat, const std::vector<int>& rows, int to);

// The same block move as single moves, {from, to} each as moveEntry takes
// them, for a list that follows the entries one by one (its selection
// moving with the rows). Moves that leave a row in place are left out.
std::vector<std::pair<int, int>> blockMoveSteps(const std::vector<int>& rows, int to);

}  // namespace velmora::order
