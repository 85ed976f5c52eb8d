#include "cli/json_db.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <nlohmann/json.hpp>
#include <utility>

#include "texts.h"

namespace velmora::cli {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

// The JSON keys of the text fields, in the order of the record's fields.
template <class Record>
struct TextField {
  std::string_view key;
  std::string Record::*member;
};

constexpr TextField<SatRecord> SAT_FIELDS[] = {
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

constexpr TextField<TpRecord> TP_FIELDS[] = {
    {"polarization", &TpRecord::polarization},
    {"frequency", &TpRecord::frequency},
    {"symbolRate", &TpRecord::symbolRate},
    {"seqNo", &TpRecord::seqNo},
    {"nid", &TpRecord::nid},
    {"tid", &TpRecord::tid},
};

// A service's texts stand on both sides of its one number, the type.
constexpr TextField<SvcRecord> SVC_FIELDS_BEFORE_TYPE[] = {
    {"name", &SvcRecord::name},           {"videoPid", &SvcRecord::videoPid},
    {"audioPid", &SvcRecord::audioPid},   {"pcrPid", &SvcRecord::pcrPid},
    {"serviceId", &SvcRecord::serviceId},
};
constexpr std::string_view SERVICE_TYPE_KEY = "serviceType";
constexpr TextField<SvcRecord> SVC_FIELDS_AFTER_TYPE[] = {
    {"tpSeqNo", &SvcRecord::tpSeqNo},
    {"spare", &SvcRecord::spare},
    {"tpKey", &SvcRecord::tpKey},
};

// ---------------------------------------------------------------- output

// Each byte becomes the code point of the same number.
std::string bytesToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (b >> 6));
      out += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return out;
}

// A JSON string literal: quotes, backslashes and control bytes escaped.
std::string jsonString(std::string_view bytes) { return ordered_json(bytesToUtf8(bytes)).dump(); }

void indent(std::ostream& out, int level) {
  for (int i = 0; i < level; ++i) out << "  ";
}

// The members of one object, each on its own line; the caller writes the
// braces.
class MemberWriter {
 public:
  MemberWriter(std::ostream& out, int level) : out_(out), level_(level) {}

  std::ostream& member(std::string_view key) {
    out_ << (first_ ? "\n" : ",\n");
    first_ = false;
    indent(out_, level_);
    out_ << '"' << key << "\": ";
    return out_;
  }

  template <class Record, std::size_t N>
  void texts(const Record& record, const TextField<Record> (&fields)[N]) {
    for (const auto& field : fields) member(field.key) << jsonString(record.*field.member);
  }

 private:
  std::ostream& out_;
  int level_;
  bool first_ = true;
};

// An array of `count` objects at `level`, written after its key.
template <class WriteMembers>
void writeObjectArray(std::ostream& out, int level, int count, WriteMembers writeMembers) {
  if (count <= 0) {
    out << "[]";
    return;
  }
  out << '[';
  for (int i = 0; i < count; ++i) {
    out << (i == 0 ? "\n" : ",\n");
    indent(out, level + 1);
    out << '{';
    MemberWriter members(out, level + 2);
    writeMembers(members, i);
    out << '\n';
    indent(out, level + 1);
    out << '}';
  }
  out << '\n';
  indent(out, level);
  out << ']';
}

// ----------------------------------------------------------------- input

// Why the document cannot be used; carries the place in the document.
struct Refusal {
  std::string message;
};

std::string member(const std::string& where, std::string_view key) {
  return where.empty() ? std::string(key) : where + "." + std::string(key);
}
std::string element(const std::string& where, std::size_t i) {
  return where + "[" + std::to_string(i) + "]";
}

// Back from UTF-8 to one byte per code point; the parser has already
// checked that the text is well-formed UTF-8.
std::string utf8ToBytes(const std::string& text, const std::string& where) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    std::uint32_t code = lead;
    if (lead >= 0xF0) {
      length = 4;
      code = lead & 0x07u;
    } else if (lead >= 0xE0) {
      length = 3;
      code = lead & 0x0Fu;
    } else if (lead >= 0xC0) {
      length = 2;
      code = lead & 0x1Fu;
    } else if (lead >= 0x80) {
      throw Refusal{where + " is not valid UTF-8."};
    }
    if (text.size() - i < length) throw Refusal{where + " is not valid UTF-8."};
    for (std::size_t k = 1; k < length; ++k) {
      code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
    }
    if (code > 0xFF) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(code));
      throw Refusal{where + " holds the character " + hex +
                    "; a text can only hold characters U+0000 to U+00FF (one byte each)."};
    }
    out += static_cast<char>(code);
    i += length;
  }
  return out;
}

const json* findMember(const json& object, std::string_view key) {
  const auto it = object.find(key);
  return it == object.end() ? nullptr : &*it;
}

void requireObject(const json& value, const std::string& where) {
  if (!value.is_object()) throw Refusal{where + " must be an object."};
}

// The array under `key`, or nullptr when the object has none.
const json* arrayMember(const json& object, std::string_view key, const std::string& where) {
  const json* value = findMember(object, key);
  if (value != nullptr && !value->is_array()) {
    throw Refusal{member(where, key) + " must be an array."};
  }
  return value;
}

template <class Record, std::size_t N>
void readTexts(const json& object, Record& record, const TextField<Record> (&fields)[N],
               const std::string& where) {
  for (const auto& field : fields) {
    const json* value = findMember(object, field.key);
    if (value == nullptr) continue;
    const std::string place = member(where, field.key);
    if (!value->is_string()) throw Refusal{place + " must be a string."};
    record.*field.member = utf8ToBytes(value->get_ref<const std::string&>(), place);
  }
}

std::int32_t readServiceType(const json& object, const std::string& where) {
  const json* value = findMember(object, SERVICE_TYPE_KEY);
  if (value == nullptr) return 0;
  const std::string place = member(where, SERVICE_TYPE_KEY);
  constexpr auto lowest = std::numeric_limits<std::int32_t>::min();
  constexpr auto highest = std::numeric_limits<std::int32_t>::max();
  if (value->is_number_unsigned()) {
    const auto v = value->get<std::uint64_t>();
    if (v <= static_cast<std::uint64_t>(highest)) return static_cast<std::int32_t>(v);
  } else if (value->is_number_integer()) {
    const auto v = value->get<std::int64_t>();
    if (v >= lowest && v <= highest) return static_cast<std::int32_t>(v);
  } else {
    throw Refusal{place + " must be a whole number."};
  }
  throw Refusal{place + " is out of range."};
}

JsonSatellite readSatellite(const json& object, const std::string& where) {
  requireObject(object, where);
  JsonSatellite result;
  readTexts(object, result.sat, SAT_FIELDS, where);
  if (const json* tps = arrayMember(object, "transponders", where)) {
    const std::string base = member(where, "transponders");
    result.transponders.reserve(tps->size());
    for (std::size_t i = 0; i < tps->size(); ++i) {
      const std::string place = element(base, i);
      requireObject((*tps)[i], place);
      TpRecord& tp = result.transponders.emplace_back();
      readTexts((*tps)[i], tp, TP_FIELDS, place);
    }
  }
  if (const json* svcs = arrayMember(object, "services", where)) {
    const std::string base = member(where, "services");
    result.services.reserve(svcs->size());
    for (std::size_t i = 0; i < svcs->size(); ++i) {
      const std::string place = element(base, i);
      const json& entry = (*svcs)[i];
      requireObject(entry, place);
      SvcRecord& svc = result.services.emplace_back();
      readTexts(entry, svc, SVC_FIELDS_BEFORE_TYPE, place);
      svc.serviceType = readServiceType(entry, place);
      readTexts(entry, svc, SVC_FIELDS_AFTER_TYPE, place);
    }
  }
  return result;
}

std::optional<wdb::Layout> readLayout(const json& root) {
  const json* value = findMember(root, "layout");
  if (value == nullptr) return std::nullopt;
  if (value->is_string()) {
    const auto& name = value->get_ref<const std::string&>();
    for (const auto layout : {wdb::Layout::New, wdb::Layout::TypeI, wdb::Layout::TypeII}) {
      if (name == wdb::layoutName(layout)) return layout;
    }
  }
  throw Refusal{R"(layout must be "new", "I" or "II".)"};
}

JsonDocument readDocument(const json& root) {
  if (!root.is_object()) throw Refusal{"the document must be a JSON object."};
  JsonDocument doc;
  doc.layout = readLayout(root);
  const json* sats = arrayMember(root, "satellites", "");
  if (sats == nullptr) throw Refusal{"satellites is missing."};
  doc.satellites.reserve(sats->size());
  for (std::size_t i = 0; i < sats->size(); ++i) {
    doc.satellites.push_back(readSatellite((*sats)[i], element("satellites", i)));
  }
  return doc;
}

// nlohmann's messages start with "[json.exception.parse_error.101] ".
std::string withoutExceptionTag(const char* what) {
  const std::string_view text(what);
  const auto end = text.find("] ");
  return std::string(text.front() == '[' && end != std::string_view::npos ? text.substr(end + 2)
                                                                          : text);
}

constexpr std::string_view REFUSAL_PREFIX = "Not a Velmora JSON database: ";

}  // namespace

void writeDatabaseJson(std::ostream& out, const ChannelDb& db, wdb::Layout layout) {
  const int satCount = std::clamp(db.satCount, 0, MAX_SATS);
  out << '{';
  MemberWriter top(out, 1);
  top.member("layout") << jsonString(wdb::layoutName(layout));
  writeObjectArray(top.member("satellites"), 1, satCount, [&](MemberWriter& sat, int s) {
    sat.texts(db.sats[s], SAT_FIELDS);
    const TpTable& tps = db.tpTables[s];
    writeObjectArray(sat.member("transponders"), 3, tps.count(),
                     [&](MemberWriter& tp, int r) { tp.texts(tps[r], TP_FIELDS); });
    const SvcTable& svcs = db.svcTables[s];
    writeObjectArray(sat.member("services"), 3, svcs.count(), [&](MemberWriter& svc, int r) {
      svc.texts(svcs[r], SVC_FIELDS_BEFORE_TYPE);
      svc.member(SERVICE_TYPE_KEY) << svcs[r].serviceType;
      svc.texts(svcs[r], SVC_FIELDS_AFTER_TYPE);
    });
  });
  out << "\n}\n";
}

JsonDocument parseDatabaseJson(std::string_view text) {
  try {
    return readDocument(json::parse(text));
  } catch (const json::exception& e) {
    JsonDocument failed;
    failed.message = std::string(REFUSAL_PREFIX) + withoutExceptionTag(e.what());
    return failed;
  } catch (const Refusal& r) {
    JsonDocument failed;
    failed.message = std::string(REFUSAL_PREFIX) + r.message;
    return failed;
  }
}

std::string fillDatabase(JsonDocument doc, ChannelDb& db) {
  db.reset();
  if (doc.satellites.empty()) return std::string(text::NO_DATA);
  if (doc.satellites.size() > static_cast<std::size_t>(MAX_SATS)) {
    return std::string(text::MAX_SATS);
  }
  for (const JsonSatellite& s : doc.satellites) {
    if (s.transponders.size() > static_cast<std::size_t>(TABLE_ROWS) ||
        s.services.size() > static_cast<std::size_t>(TABLE_ROWS)) {
      return std::string(text::MAX_ROWS_PER_SAT);
    }
  }
  for (JsonSatellite& s : doc.satellites) {
    const int slot = db.satCount;
    db.appendSatellite(std::move(s.sat));
    for (TpRecord& tp : s.transponders) db.tpTables[slot].append(std::move(tp));
    for (SvcRecord& svc : s.services) db.svcTables[slot].append(std::move(svc));
  }
  db.recountTotals();
  return {};
}

}  // namespace velmora::cli
