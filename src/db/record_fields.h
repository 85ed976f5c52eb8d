// The fields of each record, listed once: their names (the JSON keys, and
// the words a diff reports) in the order of the record, with the member
// each one is. Code that writes, reads, compares or copies records field by
// field walks these tables instead of naming the members again.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "db/channel_db.h"

namespace velmora {

template <class Record>
struct RecordField {
  std::string_view name;
  std::string Record::*text = nullptr;     // a text field, or
  std::int32_t Record::*number = nullptr;  // the one number (a service's type)
  // Renumbered by every save from the order of the lists (a transponder's
  // place in the file, the place a channel's transponder has there): no
  // part of what the user sees or sets of an entry.
  bool derived = false;

  bool same(const Record& a, const Record& b) const {
    return text ? a.*text == b.*text : a.*number == b.*number;
  }
};

inline constexpr RecordField<SatRecord> SAT_FIELDS[] = {
    {"name", &SatRecord::name},
    {"lnbType", &SatRecord::lnbType},
    {"lnbFreq1", &SatRecord::lnbFreq1},
    {"lnbFreq2", &SatRecord::lnbFreq2},
    {"diseqc", &SatRecord::diseqc},
    {"tone22k", &SatRecord::tone22k},
    {"switch12v", &SatRecord::switch12v},
    {"lnbPower", &SatRecord::lnbPower},
    {"sdxCode", &SatRecord::sdxCode},
    {"diseqcCommitted", &SatRecord::diseqcCommitted},
    {"diseqcUncommitted", &SatRecord::diseqcUncommitted},
};

inline constexpr RecordField<TpRecord> TP_FIELDS[] = {
    {"polarization", &TpRecord::polarization},
    {"frequency", &TpRecord::frequency},
    {"symbolRate", &TpRecord::symbolRate},
    {"seqNo", &TpRecord::seqNo, nullptr, true},
    {"nid", &TpRecord::nid},
    {"tid", &TpRecord::tid},
};

// The JSON order, with the name first, differs from the order of the
// record's members.
inline constexpr RecordField<SvcRecord> SVC_FIELDS[] = {
    {"name", &SvcRecord::name},
    {"videoPid", &SvcRecord::videoPid},
    {"audioPid", &SvcRecord::audioPid},
    {"pcrPid", &SvcRecord::pcrPid},
    {"serviceId", &SvcRecord::serviceId},
    {"serviceType", nullptr, &SvcRecord::serviceType},
    {"tpSeqNo", &SvcRecord::tpSeqNo, nullptr, true},
    {"spare", &SvcRecord::spare},
    {"tpKey", &SvcRecord::tpKey},
};

// The field of that name, or nullptr.
template <class Record, std::size_t N>
constexpr const RecordField<Record>* fieldNamed(const RecordField<Record> (&fields)[N],
                                                std::string_view name) {
  for (const RecordField<Record>& field : fields)
    if (field.name == name) return &field;
  return nullptr;
}

}  // namespace velmora
