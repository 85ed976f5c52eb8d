#include "cli/cli_commands.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string_view>
#include <system_error>
#include <utility>

#include "cli/check.h"
#include "cli/order_reports.h"
#include "cli/update_report.h"
#include "db/failure.h"
#include "db/path_text.h"
#include "db/text_number.h"
#include "json/json_db.h"
#include "match/match.h"
#include "match/update.h"
#include "order/order.h"
#include "sdx/favourites.h"
#include "sdx/import.h"
#include "sdx/program_files.h"
#include "texts.h"
#include "wdb/file_io.h"
#include "wdb/load.h"
#include "wdb/open_path.h"
#include "wdb/wdb_format.h"
#include "wdb/wdb_scan.h"

namespace velmora::cli {
namespace fs = std::filesystem;

namespace {

std::optional<wdb::Layout> layoutOption(const Options& opt) {
  if (opt.layout.empty()) return std::nullopt;
  return opt.layout == "II" ? wdb::Layout::TypeII : wdb::Layout::TypeI;
}

// Paths are UTF-8 text, as given on the command line (velmora-cli.exe takes
// its arguments as Unicode): shown as they are, made into paths by
// pathFromUtf8.

// The command line loads as the window does, but says why a file cannot
// be read and keeps unnamed channels as the file has them.
wdb::LoadOptions loading() {
  wdb::LoadOptions options;
  options.commandLine = true;
  return options;
}

// The loaded database, or its refusal thrown.
wdb::ReadResult orRefuse(wdb::ReadResult result) {
  if (!result.ok()) throw Refusal{std::move(result.failure.message)};
  return result;
}

// A database file as Open reads it.
wdb::ReadResult loadDatabase(const std::string& path) {
  return orRefuse(wdb::loadDatabaseFile(path, loading()));
}

// A database from JSON as build reads it; its layout "new" and no layout
// at all are Type I, like a database started new in the editor.
wdb::ReadResult loadJson(const std::string& path) {
  return orRefuse(json::loadJsonFile(path, loading()));
}

// JSON when the name says so, else a database file as Open reads it.
wdb::ReadResult loadAny(const std::string& path) {
  return orRefuse(json::loadAnyDatabaseFile(path, loading()));
}

// A favourite folder named on the command line must exist; a missing
// "favor" beside the program only means there is no favourite list.
void checkFavouriteDir(const Options& opt) {
  if (!opt.favouriteDir.empty() &&
      fileFacts(systemPath(pathFromUtf8(opt.favouriteDir))).kind != FileFacts::Kind::Folder) {
    throw Refusal{"The favourite folder " + opt.favouriteDir + " does not exist."};
  }
}

FavouriteList favourites(const Options& opt, const Env& env) {
  if (opt.favouriteDir.empty())
    return loadFavouritesBesideProgram(programFilesFolder(env.programDir));
  return loadFavouritesFromFolder(pathFromUtf8(opt.favouriteDir));
}

// The files a command reads, which its output must not be.
std::vector<std::string> inputsOf(const Options& opt) {
  std::vector<std::string> inputs = opt.listings;
  for (const std::string* path : {&opt.in, &opt.into, &opt.like})
    if (!path->empty()) inputs.push_back(*path);
  return inputs;
}

std::string cantBeCreated(const std::string& out, std::string_view reason) {
  return out + std::string(text::CANT_BE_CREATED) + "\n\n" + std::string(reason);
}

// Writes the database as the editor's Save does; an existing file at `out`
// is replaced only by a complete new one, its previous version kept as
// OUT.bak unless --no-backup says otherwise.
void save(ChannelDb& db, wdb::Layout layout, const Options& opt, const Env& env,
          std::ostream& err) {
  if (Failure refusal = wdb::saveRefusal(db, layout); refusal.failed()) {
    throw Refusal{std::move(refusal.message)};
  }
  int satCodeCounter = 0;
  const wdb::WriteResult image = wdb::writeWdb(db, layout, favourites(opt, env), satCodeCounter);
  if (!image.ok()) throw Refusal{image.failure.message};
  for (const std::string& input : inputsOf(opt)) {
    std::error_code ec;
    if (fs::equivalent(systemPath(pathFromUtf8(input)), systemPath(pathFromUtf8(opt.out)), ec) &&
        !ec) {
      throw Refusal{cantBeCreated(opt.out, text::REASON_SAME_AS_INPUT)};
    }
  }
  WriteOptions options;
  options.keepBackup = !opt.noBackup;
  const FileWrite written = writeFileAtomically(pathFromUtf8(opt.out), image.bytes, options);
  if (!written) throw Refusal{cantBeCreated(opt.out, written.failure)};
  if (!written.backupNote.empty()) err << written.backupNote << '\n';
}

}  // namespace

void dumpCommand(const Options& opt, std::ostream& out) {
  const wdb::ReadResult loaded = loadDatabase(opt.in);
  json::writeDatabaseJson(out, loaded.db, loaded.layout);
}

void buildCommand(const Options& opt, const Env& env, std::ostream& err) {
  checkFavouriteDir(opt);
  wdb::ReadResult loaded = loadJson(opt.in);
  save(loaded.db, layoutOption(opt).value_or(loaded.layout), opt, env, err);
}

// Exit 0 when nothing was found, 1 when something was. A database file is
// scanned record by record first, for what loading it would leave out; a
// file that cannot be read at all is a finding of its own.
int checkCommand(const Options& opt, std::ostream& out) {
  std::vector<Finding> findings;
  ChannelDb db;
  try {
    if (hasExtension(opt.in, "json")) {
      db = loadJson(opt.in).db;
    } else {
      wdb::FileBytes file = wdb::readInputFile(opt.in, wdb::databaseInputCheck(), loading());
      if (!file.ok()) throw Refusal{std::move(file.failure.message)};
      findings = lossFindings(wdb::scanWdb(file.bytes));
      wdb::ReadResult read = wdb::readWdb(file.bytes);
      if (read.ok()) db = std::move(read.db);
    }
  } catch (const Refusal& r) {
    findings.push_back(unreadableFinding(r.message));
  }
  for (Finding& f : checkDatabase(db)) findings.push_back(std::move(f));
  const Room room = roomOf(db);
  if (opt.json)
    writeFindingsJson(out, findings, room);
  else
    writeFindings(out, findings, room);
  return findings.empty() ? 0 : 1;
}

namespace {

// "PATH: 5 records read, 3 imported, 2 skipped (1 not MPEG-2, 1 feed or
// test channels)." A listing whose records are all skipped gives an empty
// satellite; this says why.
void reportRecords(std::ostream& err, const std::string& listing, const SdxCounts& n) {
  err << listing << ": " << n.records << text::SDX_RECORDS_READ << n.imported
      << text::SDX_RECORDS_IMPORTED << n.skipped() << text::SDX_RECORDS_SKIPPED;
  const std::pair<int, std::string_view> reasons[] = {
      {n.notMpeg2, text::SDX_SKIP_NOT_MPEG2},
      {n.noTransponder, text::SDX_SKIP_NO_TRANSPONDER},
      {n.noPids, text::SDX_SKIP_NO_PIDS},
      {n.feedOrTest, text::SDX_SKIP_FEED_TEST},
      {n.overLimit, text::SDX_SKIP_OVER_LIMIT}};
  const char* separator = " (";
  for (const auto& [count, why] : reasons) {
    if (count == 0) continue;
    err << separator << count << why;
    separator = ", ";
  }
  err << (*separator == ',' ? ").\n" : ".\n");
}

}  // namespace

void importCommand(const Options& opt, const Env& env, std::ostream& err) {
  checkFavouriteDir(opt);
  ChannelDb db;
  wdb::Layout layout = wdb::Layout::TypeI;
  if (!opt.into.empty()) {
    wdb::ReadResult base = loadDatabase(opt.into);
    db = std::move(base.db);
    layout = base.layout;
  }
  // Said once every listing is in: a refusal stands alone.
  std::ostringstream records;
  for (const std::string& listing : opt.listings) {
    // Open refuses before it looks at the file when every slot is taken.
    if (db.satCount >= MAX_SATS) throw Refusal{std::string(text::OPEN_SAT_RANGE)};
    wdb::InputCheck asListing;
    asListing.openAs = OpenKind::Sdx;
    wdb::FileBytes file = wdb::readInputFile(listing, asListing, loading());
    if (!file.ok()) throw Refusal{std::move(file.failure.message)};
    const ImportResult result = importSdx(db, file.bytes, !opt.includeFeedTest);
    if (!result.messages.empty()) {
      std::string message;
      for (const std::string& m : result.messages) message += (message.empty() ? "" : "\n") + m;
      throw Refusal{std::move(message)};
    }
    reportRecords(records, listing, result.counts);
  }
  err << records.str();
  save(db, layoutOption(opt).value_or(layout), opt, env, err);
}

namespace {

order::Tab tabNamed(const std::string& name) {
  if (name == "satellites") return order::Tab::Satellites;
  return name == "transponders" ? order::Tab::Transponders : order::Tab::Channels;
}

// A 1-based number as given, as a 0-based position; far too large or
// small numbers stay outside every list.
int position(const std::string& number) {
  const std::int64_t v = leadingValue(number);
  return static_cast<int>(std::clamp<std::int64_t>(v, -1, MAX_SATS * TABLE_ROWS) - 1);
}

}  // namespace

void exportCsvCommand(const Options& opt, std::ostream& out) {
  const wdb::ReadResult loaded = loadAny(opt.in);
  const std::string& name = opt.tabs.front();
  if (name == "satellites" && !opt.satellite.empty())
    throw Usage{std::string(text::SATELLITE_NOT_WITH_SATELLITES)};
  const ListTab tab = name == "satellites"     ? ListTab::Satellites
                      : name == "transponders" ? ListTab::Transponders
                                               : ListTab::Channels;
  // Every satellite's list, or the one named (1-based).
  const int satellite = opt.satellite.empty() ? 0 : position(opt.satellite) + 1;
  if (satellite < 0 || satellite > loaded.db.satCount)
    throw Refusal{"There is no satellite " + opt.satellite + "."};
  writeListCsv(out, loaded.db, tab, satellite);
}

void sortCommand(const Options& opt, const Env& env, std::ostream& err) {
  checkFavouriteDir(opt);
  wdb::ReadResult loaded = loadAny(opt.in);
  warnLostRecords(err, opt.in, loaded);
  for (const std::string& tab : opt.tabs) order::sortTab(loaded.db, tabNamed(tab));
  save(loaded.db, layoutOption(opt).value_or(loaded.layout), opt, env, err);
}

void moveCommand(const Options& opt, const Env& env, std::ostream& err) {
  const order::Tab tab = tabNamed(opt.tabs.front());
  if ((tab == order::Tab::Satellites) != opt.satellite.empty()) {
    throw Usage{tab == order::Tab::Satellites
                    ? std::string(text::SATELLITE_NOT_WITH_SATELLITES)
                    : "--satellite is required with --tab " + opt.tabs.front()};
  }
  checkFavouriteDir(opt);
  wdb::ReadResult loaded = loadAny(opt.in);
  warnLostRecords(err, opt.in, loaded);
  ChannelDb& db = loaded.db;
  const int sat = tab == order::Tab::Satellites ? 0 : position(opt.satellite);
  const int count = order::entryCount(db, tab, sat);
  const int from = position(opt.from);
  const int to = position(opt.to);
  if (count == 0) throw Refusal{std::string(text::NO_DATA)};
  if (from < 0 || from >= count) throw Refusal{std::string(text::SELECT_A_LIST)};
  if (to < 0 || to >= count) throw Refusal{std::string(text::NOT_AVAILABLE_POSITION)};
  order::moveEntry(db, tab, sat, from, to);
  save(db, layoutOption(opt).value_or(loaded.layout), opt, env, err);
}

void convertCommand(const Options& opt, const Env& env, std::ostream& err) {
  checkFavouriteDir(opt);
  wdb::ReadResult loaded = loadDatabase(opt.in);
  warnLostRecords(err, opt.in, loaded);
  save(loaded.db, layoutOption(opt).value_or(loaded.layout), opt, env, err);
}

// IN in the order of REF; the counts on stderr, or as JSON on stdout.
void reorderCommand(const Options& opt, const Env& env, std::ostream& out, std::ostream& err) {
  checkFavouriteDir(opt);
  wdb::ReadResult loaded = loadAny(opt.in);
  warnLostRecords(err, opt.in, loaded);
  // A reference without satellites orders nothing.
  const wdb::ReadResult reference = orRefuse(json::loadReferenceFile(opt.like, loading()));
  warnLostRecords(err, opt.like, reference);
  const match::ReorderReport report = match::reorderLike(loaded.db, reference.db);
  save(loaded.db, layoutOption(opt).value_or(loaded.layout), opt, env, err);
  if (opt.json)
    writeReorderReportJson(out, report);
  else
    writeReorderReport(err, report);
}

// IN's satellites brought up to date from the listings; the report on
// stderr, or as JSON on stdout.
void updateCommand(const Options& opt, const Env& env, std::ostream& out, std::ostream& err) {
  checkFavouriteDir(opt);
  wdb::ReadResult loaded = loadAny(opt.in);
  warnLostRecords(err, opt.in, loaded);
  match::UpdateOptions options;
  options.keepMissing = opt.keepMissing;
  options.includeFeedTest = opt.includeFeedTest;
  std::vector<match::ParsedListing> listings;
  for (const std::string& listing : opt.listings) {
    wdb::InputCheck asListing;
    asListing.openAs = OpenKind::Sdx;
    wdb::FileBytes file = wdb::readInputFile(listing, asListing, loading());
    if (!file.ok()) throw Refusal{std::move(file.failure.message)};
    std::optional<match::ParsedListing> parsed = match::parseListing(file.bytes, options);
    if (!parsed) throw Refusal{std::string(text::SUPPORT_FILE)};
    listings.push_back(std::move(*parsed));
  }
  match::UpdateResult result = match::updateFromListings(loaded.db, listings, options);
  if (!result.done()) {
    std::string message;
    for (const std::string& m : result.messages) message += (message.empty() ? "" : "\n") + m;
    throw Refusal{std::move(message)};
  }
  for (std::size_t i = 0; i < listings.size(); ++i)
    reportRecords(err, opt.listings[i], listings[i].counts);
  save(result.db, layoutOption(opt).value_or(loaded.layout), opt, env, err);
  if (opt.json)
    writeUpdateReportJson(out, result, opt.listings);
  else
    writeUpdateReport(err, result, opt.listings);
}

// Exit 0 when A and B are equal, 1 when they differ.
int diffCommand(const Options& opt, std::ostream& out, std::ostream& err) {
  const wdb::ReadResult a = loadAny(opt.in);
  warnLostRecords(err, opt.in, a);
  const wdb::ReadResult b = loadAny(opt.other);
  warnLostRecords(err, opt.other, b);
  const std::vector<match::Change> changes = match::diffDatabases(a.db, b.db);
  if (opt.json)
    writeDiffJson(out, changes);
  else
    writeDiff(out, changes);
  return changes.empty() ? 0 : 1;
}

}  // namespace velmora::cli
