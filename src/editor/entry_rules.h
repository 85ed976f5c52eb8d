// What the edit panel accepts and how typed text becomes a record: the
// receiver's limits on names, orbital positions, frequencies and PIDs, and
// the texts its records hold for the panel's choices. Nothing here touches
// the window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/channel_db.h"
#include "editor/add_channel_dialog.h"

namespace velmora::editor::rules {

inline constexpr std::size_t SAT_NAME_LEN = 16;
inline constexpr std::size_t CH_NAME_LEN = 18;
inline constexpr std::size_t NUMBER_LEN = 5;
// PIDs and service ids are 16-bit fields in the receiver's file; NID and
// TID are 16-bit numbers too.
inline constexpr std::int64_t MAX_U16 = 65535;

// The Longi.(SDX) field: exactly four digits giving the orbital position
// in tenths of a degree east, from 0 up to (not including) 360 degrees.
std::optional<int> longitudeTenths(std::string_view text);

// LNB oscillator frequencies are whole numbers of MHz: digits only (an
// empty field is a frequency of 0).
bool lnbFrequencyOk(std::string_view text);

// The receiver knows an LNB's type only by its oscillator frequencies
// (one: single band; a low first one: C-band OCS; else universal). The
// type the LNB Type box gives by its choice (0 Universal, 1 OCS, 2
// Single) when the frequencies give another, else nothing.
std::optional<std::string> lnbTypeContradicted(int choice, std::string_view lnbFreq1,
                                               std::string_view lnbFreq2);

// A new satellite's name ends with its orbital position: east up to 180
// degrees, west beyond; whole degrees are written without a fraction
// ("-19.2E", "-5W").
std::string longitudeSuffix(int tenths);

// The name stored for a new satellite typed as `typed` at `tenths`: the
// name and the position suffix after it, the name cut so that both fit in
// 16 characters. A name that already ends in this position, in any style
// ("Astra 19.2E", "Astra-19.2E", "Astra 19.2°E"), gets no second suffix; it
// stays as typed when it fits, else its own suffix gives way to ours.
// `cut` tells that the stored name lost some of what was typed.
struct NewSatelliteName {
  std::string name;
  bool cut = false;
};
NewSatelliteName newSatelliteName(const std::string& typed, int tenths);

// Texts the receiver's records hold for the panel's combo box choices.
std::string toneText(int index);
std::string offOnText(int index);
// Switch port 1..last, "0" for none.
std::string portText(int index, int last);

// A number typed into a field of at most five characters, within [lo, hi].
bool numberFits(std::string_view text, std::int64_t lo, std::int64_t hi);

// Whether a row of `tps` other than `skip` has the frequency,
// polarisation and symbol rate of `tp`.
bool transponderExists(const TpTable& tps, const TpRecord& tp, int skip);

// Whether a row of `svcs` other than `skip` has the typed PIDs, service id
// and name.
bool serviceExists(const SvcTable& svcs, const ChannelFields& f, int skip);

// The channel's fields checked and turned into a service (without its
// transponder key): the name keeps 18 characters, each number its first
// five characters and must fit the file's 16 bits. One refusal per
// refused number, in field order; no service when any was refused.
struct CheckedService {
  std::optional<SvcRecord> service;
  std::vector<std::string_view> refusals;
};
CheckedService checkedService(const ChannelFields& f);

}  // namespace velmora::editor::rules
