// The channel database: satellites in 64 slots, each slot with its own
// transponder table and service table. Everything is text except the counts
// and the service type. A service names its transponder by a text key
// (tpKey), never by an index.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

inline constexpr int MAX_SATS = 64;
inline constexpr int TABLE_ROWS = 4000;
inline constexpr int MAX_TOTAL_TP = 1600;
inline constexpr int MAX_TOTAL_SVC = 6000;

struct SatRecord {
  std::string name;
  std::string lnbType;
  std::string lnbFreq1;
  std::string lnbFreq2;
  std::string diseqc;
  std::string tone22k;
  std::string switch12v;
  std::string lnbPower;
  std::string sdxCode;
  std::string diseqcCommitted;
  std::string diseqcUncommitted;

  bool operator==(const SatRecord&) const = default;
};

struct TpRecord {
  std::string polarization;
  std::string frequency;
  std::string symbolRate;
  std::string seqNo;
  std::string nid;
  std::string tid;

  bool operator==(const TpRecord&) const = default;
};

struct SvcRecord {
  std::string videoPid;
  std::string audioPid;
  std::string pcrPid;
  std::string serviceId;
  std::string name;
  std::int32_t serviceType = 0;
  std::string tpSeqNo;
  std::string spare;
  std::string tpKey;

  bool operator==(const SvcRecord&) const = default;
};

// A table of at most TABLE_ROWS rows. Rows grow on demand, so an empty
// database costs almost nothing; every insert checks the capacity and every
// operation moves whole rows.
template <class Row>
class BoundedTable {
 public:
  int count() const { return static_cast<int>(rows_.size()); }
  bool empty() const { return rows_.empty(); }
  bool full() const { return count() >= TABLE_ROWS; }

  // Appends at the end; false (and nothing stored) at capacity.
  bool append(Row row) {
    if (full()) return false;
    rows_.push_back(std::move(row));
    return true;
  }
  // Removes row i, the later rows move up by one.
  void erase(int i) { rows_.erase(rows_.begin() + i); }
  void swapRows(int a, int b) {
    std::swap(rows_[static_cast<std::size_t>(a)], rows_[static_cast<std::size_t>(b)]);
  }
  void clear() { rows_.clear(); }

  Row& operator[](int i) { return rows_[static_cast<std::size_t>(i)]; }
  const Row& operator[](int i) const { return rows_[static_cast<std::size_t>(i)]; }
  auto begin() { return rows_.begin(); }
  auto end() { return rows_.end(); }
  auto begin() const { return rows_.begin(); }
  auto end() const { return rows_.end(); }

  bool operator==(const BoundedTable&) const = default;

 private:
  std::vector<Row> rows_;
};

using TpTable = BoundedTable<TpRecord>;
using SvcTable = BoundedTable<SvcRecord>;

struct ChannelDb {
  std::int32_t totalTp = 0;
  std::int32_t totalSvc = 0;
  std::int32_t satCount = 0;
  std::array<SatRecord, MAX_SATS> sats{};
  std::array<TpTable, MAX_SATS> tpTables{};
  std::array<SvcTable, MAX_SATS> svcTables{};

  bool operator==(const ChannelDb&) const = default;

  // Drops every record and table and sets the counters back as at creation.
  void reset();

  // Appends a satellite with empty tables in slot satCount; false when all
  // 64 slots are taken.
  bool appendSatellite(SatRecord sat);

  // Removes satellite i with its tables; later satellites move up one slot.
  void removeSatellite(int i);

  // Sums of the row counts over satellites 0..satCount-1, stored in
  // totalTp / totalSvc and returned.
  int countTransponders() const;
  int countServices() const;
  void recountTotals();
};

// DiSEqC mode as the receiver numbers it (1 "D1.0", 2 "D1.1", 3 "MOTOR",
// 4 "USALS"); any other number gives `none`. The file reader says "NONE",
// the edit panel "None".
std::string diseqcModeText(int mode, std::string_view none);

// Transponder keys: frequency + polarization + symbolRate, and in the long
// form "N" + nid + "T" + tid after that.
std::string tpKeyShort(const TpRecord& tp);
std::string tpKeyLong(const TpRecord& tp);

// The short-form part of a key: the text before the first "N", or the whole
// key when it has none.
std::string_view tpKeyShortPart(std::string_view key);

// A key split back into the transponder's fields: the first "H" (else the
// first "V") ends the frequency, "N" ends the symbol rate, "T" ends the nid.
// seqNo stays empty. Missing separators give empty fields, never a fault.
TpRecord splitTpKey(std::string_view key);

}  // namespace velmora
