#include "json/json_db.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <nlohmann/json.hpp>
#include <utility>

#include "db/record_fields.h"
#include "db/text_number.h"
#include "db/western_text.h"
#include "texts.h"
#include "wdb/open_path.h"

namespace velmora::json {
namespace {

using Json = nlohmann::json;
using nlohmann::ordered_json;

// ---------------------------------------------------------------- output

// A JSON string literal: quotes, backslashes and control bytes escaped.
std::string jsonString(std::string_view bytes) { return ordered_json(westernToUtf8(bytes)).dump(); }

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

  // Every field of the record, texts as strings and the type as a number.
  template <class Record, std::size_t N>
  void fields(const Record& record, const RecordField<Record> (&fields)[N]) {
    for (const RecordField<Record>& field : fields) {
      if (field.text)
        member(field.name) << jsonString(record.*field.text);
      else
        member(field.name) << record.*field.number;
    }
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
//
// The document is read as a stream of events, never as a tree: a tree of a
// hostile 16 MB document costs gigabytes. Records are kept only while the
// database could still hold them (64 satellites, 1600 transponders, 6000
// services in all); beyond that they are checked and counted, which is all
// a refusal needs.

constexpr std::string_view REFUSAL_PREFIX = "Not a Velmora JSON database: ";
constexpr std::string_view INVALID_PREFIX = "Invalid database: ";

// Text fields stored in the file as 16-bit numbers.
constexpr std::string_view SIXTEEN_BIT_FIELDS[] = {"videoPid", "audioPid", "pcrPid", "serviceId"};

std::string member(const std::string& where, std::string_view key) {
  return where.empty() ? std::string(key) : where + "." + std::string(key);
}
std::string element(const std::string& where, std::size_t i) {
  return where + "[" + std::to_string(i) + "]";
}

// The text field of that key, or nullptr (also for the service type).
template <class Record, std::size_t N>
const RecordField<Record>* textField(const RecordField<Record> (&fields)[N], std::string_view key) {
  const RecordField<Record>* field = fieldNamed(fields, key);
  return field && field->text ? field : nullptr;
}

// What the next value of the document is meant to be.
enum class Slot {
  Root,
  Layout,
  SatelliteArray,
  Satellite,
  SatelliteText,
  TransponderArray,
  Transponder,
  TransponderText,
  ServiceArray,
  Service,
  ServiceText,
  ServiceType,
  Ignored,  // a member the schema does not know, with any value
};

class DocumentReader : public nlohmann::json_sax<Json> {
 public:
  explicit DocumentReader(std::string_view source) : source_(source) {}

  // The document, or the first refusal in document order; a syntax error
  // anywhere comes before every other refusal.
  JsonDocument finish(bool parsed) {
    if (parsed && refusal_.empty() && !sawSatellites_) formError("satellites is missing.");
    if (!syntaxError_.empty()) refusal_ = std::move(syntaxError_);
    if (!refusal_.empty()) {
      JsonDocument failed;
      failed.failure = {FailureKind::NotAFormat, std::move(refusal_)};
      return failed;
    }
    return std::move(doc_);
  }

  bool null() override { return scalar(); }
  bool boolean(bool) override { return scalar(); }
  bool number_integer(number_integer_t v) override {
    if (ignoring()) return true;
    if (next() == Slot::ServiceType) return serviceType(v >= 0 && v <= 255, v);
    return scalar();
  }
  bool number_unsigned(number_unsigned_t v) override {
    if (ignoring()) return true;
    if (next() == Slot::ServiceType) return serviceType(v <= 255, static_cast<std::int64_t>(v));
    return scalar();
  }
  bool number_float(number_float_t, const string_t&) override { return scalar(); }
  bool binary(binary_t&) override { return scalar(); }

  bool string(string_t& value) override {
    if (ignoring()) return true;
    switch (const Slot slot = next()) {
      case Slot::Layout: {
        bool known = false;
        for (const auto layout :
             {wdb::Layout::NotChosen, wdb::Layout::TypeI, wdb::Layout::TypeII}) {
          if (value != wdb::layoutName(layout)) continue;
          doc_.layout = layout;
          known = true;
        }
        if (!known) wrongType(slot);
        return true;
      }
      case Slot::SatelliteText:
        text(value, sat_ ? &(sat_->sat.*textField(SAT_FIELDS, key_)->text) : nullptr, slot);
        return true;
      case Slot::TransponderText:
        text(value, tp_ ? &(tp_->*textField(TP_FIELDS, key_)->text) : nullptr, slot);
        return true;
      case Slot::ServiceText:
        return serviceText(value);
      case Slot::Ignored:
        return true;
      default:
        wrongType(slot);
        return true;
    }
  }

  bool start_object(std::size_t) override {
    if (ignoring()) return skipInto();
    const Slot slot = next();
    switch (slot) {
      case Slot::Root:
        stack_.push_back({Slot::Root});
        return true;
      case Slot::Satellite:
        beginSatellite();
        stack_.push_back({Slot::Satellite});
        return true;
      case Slot::Transponder:
        beginTransponder();
        stack_.push_back({Slot::Transponder});
        return true;
      case Slot::Service:
        beginService();
        stack_.push_back({Slot::Service});
        return true;
      case Slot::Ignored:
        return skipInto();
      default:
        wrongType(slot);
        return skipInto();
    }
  }

  bool start_array(std::size_t) override {
    if (ignoring()) return skipInto();
    const Slot slot = next();
    switch (slot) {
      case Slot::SatelliteArray:
        // A repeated member replaces the earlier one, as in a JSON object.
        sawSatellites_ = true;
        doc_.satellites.clear();
        doc_.satelliteCount = 0;
        stack_.push_back({Slot::SatelliteArray});
        return true;
      case Slot::TransponderArray:
      case Slot::ServiceArray:
        stack_.push_back({slot});
        return true;
      case Slot::Ignored:
        return skipInto();
      default:
        wrongType(slot);
        return skipInto();
    }
  }

  bool key(string_t& name) override {
    if (!ignoring()) key_ = name;
    return true;
  }

  bool end_object() override { return end(); }
  bool end_array() override { return end(); }

  // The parser takes a NUL byte for the end of the text, so what follows one
  // would go unread: a NUL byte at line `line`, column `column` refuses the
  // document as a syntax error there.
  void nulByteAt(std::size_t line, std::size_t column) {
    syntaxError_ =
        withSource(std::string(REFUSAL_PREFIX) + "parse error at line " + std::to_string(line) +
                   ", column " + std::to_string(column) + std::string(text::JSON_NUL_BYTE));
  }
  // Bytes read when the syntax error was found, 0 without one.
  std::size_t errorPosition() const { return errorPosition_; }

  bool parse_error(std::size_t position, const std::string&,
                   const nlohmann::detail::exception& e) override {
    errorPosition_ = position;
    // nlohmann's messages start with "[json.exception.parse_error.101] ".
    std::string_view what(e.what());
    if (const auto tag = what.find("] "); what.starts_with('[') && tag != std::string_view::npos)
      what.remove_prefix(tag + 2);
    syntaxError_ = withSource(std::string(REFUSAL_PREFIX) + std::string(what));
    return false;
  }

 private:
  struct Frame {
    Slot container;
    std::size_t elements = 0;
  };

  // After the first refusal the rest is only parsed, for its syntax.
  bool ignoring() const { return skipDepth_ > 0 || !refusal_.empty(); }

  bool skipInto() {
    ++skipDepth_;
    return true;
  }

  bool end() {
    if (skipDepth_ > 0) {
      --skipDepth_;
    } else if (refusal_.empty() && !stack_.empty()) {
      stack_.pop_back();
    }
    return true;
  }

  bool scalar() {
    if (ignoring()) return true;
    const Slot slot = next();
    if (slot != Slot::Ignored) wrongType(slot);
    return true;
  }

  // The slot of the value that starts now; counts it when it is an
  // element of an array.
  Slot next() {
    if (stack_.empty()) return Slot::Root;
    Frame& top = stack_.back();
    const std::size_t index = top.elements++;
    switch (top.container) {
      case Slot::Root:
        if (key_ == "layout") return Slot::Layout;
        if (key_ == "satellites") return Slot::SatelliteArray;
        return Slot::Ignored;
      case Slot::SatelliteArray:
        satIndex_ = index;
        return Slot::Satellite;
      case Slot::Satellite:
        if (textField(SAT_FIELDS, key_)) return Slot::SatelliteText;
        if (key_ == "transponders") return Slot::TransponderArray;
        if (key_ == "services") return Slot::ServiceArray;
        return Slot::Ignored;
      case Slot::TransponderArray:
        rowIndex_ = index;
        return Slot::Transponder;
      case Slot::Transponder:
        return textField(TP_FIELDS, key_) ? Slot::TransponderText : Slot::Ignored;
      case Slot::ServiceArray:
        rowIndex_ = index;
        return Slot::Service;
      case Slot::Service:
        if (const RecordField<SvcRecord>* field = fieldNamed(SVC_FIELDS, key_))
          return field->text ? Slot::ServiceText : Slot::ServiceType;
        return Slot::Ignored;
      default:
        return Slot::Ignored;
    }
  }

  // The place of the value that starts now, in the document's own terms.
  std::string place(Slot slot) const {
    const std::string sat = element("satellites", satIndex_);
    switch (slot) {
      case Slot::Layout:
        return "layout";
      case Slot::SatelliteArray:
        return "satellites";
      case Slot::Satellite:
        return sat;
      case Slot::SatelliteText:
      case Slot::TransponderArray:
      case Slot::ServiceArray:
        return member(sat, key_);
      case Slot::Transponder:
        return element(member(sat, "transponders"), rowIndex_);
      case Slot::TransponderText:
        return member(element(member(sat, "transponders"), rowIndex_), key_);
      case Slot::Service:
        return element(member(sat, "services"), rowIndex_);
      default:
        return member(element(member(sat, "services"), rowIndex_), key_);
    }
  }

  std::string withSource(std::string message) const {
    return source_.empty() ? message : std::string(source_) + ": " + message;
  }
  void formError(std::string_view what) {
    if (refusal_.empty()) refusal_ = withSource(std::string(REFUSAL_PREFIX) + std::string(what));
  }
  void doesNotFit(std::string_view range) {
    if (refusal_.empty()) {
      refusal_ = std::string(INVALID_PREFIX) + place(Slot::ServiceText) +
                 " does not fit the file (" + std::string(range) + ").";
    }
  }

  void wrongType(Slot slot) {
    switch (slot) {
      case Slot::Root:
        return formError("the document must be a JSON object.");
      case Slot::Layout:
        return formError(R"(layout must be "new", "I" or "II".)");
      case Slot::Satellite:
      case Slot::Transponder:
      case Slot::Service:
        return formError(place(slot) + " must be an object.");
      case Slot::SatelliteArray:
      case Slot::TransponderArray:
      case Slot::ServiceArray:
        return formError(place(slot) + " must be an array.");
      case Slot::ServiceType:
        return formError(place(slot) + " must be a whole number.");
      default:
        return formError(place(slot) + " must be a string.");
    }
  }

  // A text value into `target`, or only checked when the record is not kept.
  void text(const std::string& value, std::string* target, Slot slot) {
    std::string& bytes = target ? *target : scratch_;
    WesternBytes western = westernFromUtf8(value);
    bytes = std::move(western.bytes);
    if (western.refused) {
      const char32_t ch = *western.refused;
      formError(place(slot) + " holds the character \"" + utf8Of(ch) + "\" (" + codePointName(ch) +
                ")" + std::string(text::NOT_WESTERN_CHARACTER));
    } else if (bytes.find('\0') != std::string::npos) {
      // The file ends a text at its first NUL: the rest would be lost.
      formError(place(slot) + std::string(text::JSON_NUL_CHARACTER));
    }
  }

  bool serviceText(const std::string& value) {
    std::string* target = svc_ ? &(svc_->*textField(SVC_FIELDS, key_)->text) : &scratch_;
    text(value, target, Slot::ServiceText);
    // The file holds these as 16-bit numbers: a larger one would come back
    // as another number altogether.
    for (std::string_view sixteen : SIXTEEN_BIT_FIELDS) {
      if (key_ != sixteen) continue;
      const std::int64_t v = leadingValue(*target);
      if (v < 0 || v > 0xFFFF) doesNotFit("0..65535");
    }
    return true;
  }

  bool serviceType(bool fits, std::int64_t v) {
    if (!fits) {
      doesNotFit("0..255");
    } else if (svc_) {
      svc_->serviceType = static_cast<std::int32_t>(v);
    }
    return true;
  }

  void beginSatellite() {
    ++doc_.satelliteCount;
    sat_ = nullptr;
    tp_ = nullptr;
    svc_ = nullptr;
    if (doc_.satellites.size() < static_cast<std::size_t>(MAX_SATS))
      sat_ = &doc_.satellites.emplace_back();
  }
  void beginTransponder() {
    tp_ = nullptr;
    if (!sat_) return;
    ++sat_->transponderCount;
    if (++totalTp_ <= static_cast<std::size_t>(MAX_TOTAL_TP) &&
        sat_->transponders.size() < static_cast<std::size_t>(TABLE_ROWS))
      tp_ = &sat_->transponders.emplace_back();
  }
  void beginService() {
    svc_ = nullptr;
    if (!sat_) return;
    ++sat_->serviceCount;
    if (++totalSvc_ <= static_cast<std::size_t>(MAX_TOTAL_SVC) &&
        sat_->services.size() < static_cast<std::size_t>(TABLE_ROWS))
      svc_ = &sat_->services.emplace_back();
  }

  std::string_view source_;
  JsonDocument doc_;
  std::vector<Frame> stack_;
  std::size_t skipDepth_ = 0;
  std::string key_;
  std::size_t satIndex_ = 0;
  std::size_t rowIndex_ = 0;
  JsonSatellite* sat_ = nullptr;
  TpRecord* tp_ = nullptr;
  SvcRecord* svc_ = nullptr;
  std::size_t totalTp_ = 0;
  std::size_t totalSvc_ = 0;
  bool sawSatellites_ = false;
  std::string scratch_;
  std::string refusal_;
  std::string syntaxError_;
  std::size_t errorPosition_ = 0;
};

}  // namespace

void writeDatabaseJson(std::ostream& out, const ChannelDb& db, wdb::Layout layout) {
  const int satCount = std::clamp(db.satCount, 0, MAX_SATS);
  out << '{';
  MemberWriter top(out, 1);
  top.member("layout") << jsonString(wdb::layoutName(layout));
  writeObjectArray(top.member("satellites"), 1, satCount, [&](MemberWriter& sat, int s) {
    sat.fields(db.sats[s], SAT_FIELDS);
    const TpTable& tps = db.tpTables[s];
    writeObjectArray(sat.member("transponders"), 3, tps.count(),
                     [&](MemberWriter& tp, int r) { tp.fields(tps[r], TP_FIELDS); });
    const SvcTable& svcs = db.svcTables[s];
    writeObjectArray(sat.member("services"), 3, svcs.count(),
                     [&](MemberWriter& svc, int r) { svc.fields(svcs[r], SVC_FIELDS); });
  });
  out << "\n}\n";
}

std::string jsonTooLongRefusal(std::string_view source) {
  return (source.empty() ? "" : std::string(source) + ": ") + std::string(REFUSAL_PREFIX) +
         "the document is longer than 16 MB.";
}

JsonDocument parseDatabaseJson(std::string_view text, std::string_view source) {
  if (text.size() > MAX_JSON_BYTES) {
    JsonDocument failed;
    failed.failure = {FailureKind::TooLong, jsonTooLongRefusal(source)};
    return failed;
  }
  DocumentReader reader(source);
  const bool parsed = Json::sax_parse(text, &reader);
  if (const std::size_t nul = text.find('\0');
      nul != std::string_view::npos && (parsed || reader.errorPosition() > nul)) {
    const std::string_view before = text.substr(0, nul);
    const std::size_t lineStart = before.rfind('\n');
    reader.nulByteAt(1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n')),
                     lineStart == std::string_view::npos ? nul + 1 : nul - lineStart);
  }
  return reader.finish(parsed);
}

Failure fillDatabase(JsonDocument doc, ChannelDb& db) {
  db.reset();
  if (doc.satelliteCount == 0) return {FailureKind::Empty, std::string(text::NO_DATA)};
  if (doc.satelliteCount > static_cast<std::size_t>(MAX_SATS))
    return {FailureKind::OverLimits, std::string(text::MAX_SATS)};
  std::size_t transponders = 0, services = 0;
  for (const JsonSatellite& s : doc.satellites) {
    if (s.transponderCount > static_cast<std::size_t>(TABLE_ROWS) ||
        s.serviceCount > static_cast<std::size_t>(TABLE_ROWS)) {
      return {FailureKind::OverLimits, std::string(text::MAX_ROWS_PER_SAT)};
    }
    transponders += s.transponderCount;
    services += s.serviceCount;
  }
  // Over the totals the document's later rows were not kept: refuse here,
  // with the save's own message, rather than fill a shortened database.
  if (transponders > static_cast<std::size_t>(MAX_TOTAL_TP) ||
      services > static_cast<std::size_t>(MAX_TOTAL_SVC)) {
    return wdb::totalsRefusal(static_cast<int>(transponders), static_cast<int>(services));
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

namespace {

wdb::ReadResult loadJson(std::string_view path, const wdb::LoadOptions& options,
                         bool emptyIsDatabase) {
  wdb::ReadResult result;
  wdb::FileBytes file =
      wdb::readInputFile(path, {MAX_JSON_BYTES, jsonTooLongRefusal(path), std::nullopt}, options);
  if (!file.ok()) {
    result.failure = std::move(file.failure);
    return result;
  }
  JsonDocument doc = parseDatabaseJson(
      {reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()}, path);
  if (!doc.ok()) {
    result.failure = std::move(doc.failure);
    return result;
  }
  result.layout = doc.layout == wdb::Layout::TypeII ? wdb::Layout::TypeII : wdb::Layout::TypeI;
  if (emptyIsDatabase && doc.satelliteCount == 0) {
    result.db.reset();
    return result;
  }
  result.failure = fillDatabase(std::move(doc), result.db);
  return result;
}

}  // namespace

wdb::ReadResult loadJsonFile(std::string_view path, const wdb::LoadOptions& options) {
  return loadJson(path, options, false);
}

wdb::ReadResult loadAnyDatabaseFile(std::string_view path, const wdb::LoadOptions& options) {
  return hasExtension(path, "json") ? loadJsonFile(path, options)
                                    : wdb::loadDatabaseFile(path, options);
}

wdb::ReadResult loadReferenceFile(std::string_view path, const wdb::LoadOptions& options) {
  return hasExtension(path, "json") ? loadJson(path, options, true)
                                    : wdb::loadDatabaseFile(path, options);
}

}  // namespace velmora::json
