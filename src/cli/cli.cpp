#include "cli/cli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <exception>
#include <functional>
#include <iostream>
#include <optional>
#include <sstream>
#include <string_view>
#include <system_error>
#include <utility>

#include "cli/check.h"
#include "cli/order_reports.h"
#include "cli/stdout_blocks.h"
#include "db/path_text.h"
#include "db/text_number.h"
#include "json/json_db.h"
#include "match/match.h"
#include "order/order.h"
#include "sdx/favourites.h"
#include "sdx/import.h"
#include "sdx/program_files.h"
#include "texts.h"
#include "wdb/file_io.h"
#include "wdb/open_path.h"
#include "wdb/wdb_format.h"
#include "wdb/wdb_scan.h"

namespace velmora::cli {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view VERSION_TEXT = "velmora-cli 1.0.0";

// A refused or failed operation: its message goes to stderr, the exit code
// is 1 and nothing is written.
struct Refusal {
  std::string message;
};

// Wrong usage found after the arguments were read: exit code 2.
struct Usage {
  std::string message;
};

struct Options {
  std::string in;
  std::string out;
  std::string layout;  // "I", "II" or empty when not given
  std::string into;
  std::string favouriteDir;
  std::vector<std::string> listings;
  bool includeFeedTest = false;
  bool json = false;                // check: findings as JSON
  std::vector<std::string> tabs;    // sort, move, export-csv: the lists to work on
  std::string satellite, from, to;  // move, export-csv: 1-based numbers as given
  bool noBackup = false;
  std::string like;   // reorder: the reference
  std::string other;  // diff: the second database
};

std::optional<wdb::Layout> layoutOption(const Options& opt) {
  if (opt.layout.empty()) return std::nullopt;
  return opt.layout == "II" ? wdb::Layout::TypeII : wdb::Layout::TypeI;
}

// Paths are UTF-8 text, as given on the command line (velmora-cli.exe takes
// its arguments as Unicode): shown as they are, made into paths by
// pathFromUtf8.

// "Cannot read PATH: REASON" with the system's reason or ours.
Refusal cannotRead(const std::string& path, std::size_t maxBytes = 64u << 20) {
  std::string reason = whyUnreadable(pathFromUtf8(path), maxBytes);
  return Refusal{std::string(text::CANNOT_READ) + path + (reason.empty() ? "." : ": " + reason)};
}

// The whole of an input file. With a `tooLong` message, a file longer than
// maxBytes is refused with it before anything is read.
std::vector<std::byte> readInput(const std::string& path, std::size_t maxBytes = 64u << 20,
                                 const std::string& tooLong = {}) {
  const fs::path file = pathFromUtf8(path);
  if (!tooLong.empty() && fileSizeOrZero(file) > maxBytes) throw Refusal{tooLong};
  auto bytes = readWholeFile(file, maxBytes);
  if (!bytes) throw cannotRead(path, maxBytes);
  return std::move(*bytes);
}

// What Open checks before it reads a chosen file: that there is something
// to read, then that the name says a kind of file it supports. A file that
// is not there, or is no file, is refused with the reason.
void checkOpenPath(const std::string& path, OpenKind expected) {
  if (fileFacts(systemPath(pathFromUtf8(path))).kind != FileFacts::Kind::Regular)
    throw cannotRead(path);
  if (fileSizeOrZero(pathFromUtf8(path)) == 0) throw Refusal{std::string(text::NO_DATA_IN_FILE)};
  if (classifyOpenPath(path) != expected) throw Refusal{std::string(text::SUPPORT_FILE)};
}

wdb::ReadResult loadDatabase(const std::string& path) {
  checkOpenPath(path, OpenKind::Wdb);
  const std::vector<std::byte> bytes =
      readInput(path, wdb::MAX_FILE_BYTES, std::string(text::NOT_A_FORMAT));
  wdb::ReadResult loaded = wdb::readWdb(bytes);
  if (!loaded.ok()) throw Refusal{std::move(loaded.message)};
  return loaded;
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
  if (std::string refusal = wdb::saveRefusal(db, layout); !refusal.empty()) {
    throw Refusal{std::move(refusal)};
  }
  int satCodeCounter = 0;
  const wdb::WriteResult image = wdb::writeWdb(db, layout, favourites(opt, env), satCodeCounter);
  if (!image.ok()) throw Refusal{image.message};
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

void dumpCommand(const Options& opt, std::ostream& out) {
  const wdb::ReadResult loaded = loadDatabase(opt.in);
  writeDatabaseJson(out, loaded.db, loaded.layout);
  out.flush();
  if (!out) throw Refusal{"The JSON could not be written to the output."};
}

// A database from JSON as build reads it; its layout "new" and no layout
// at all are Type I, like a database started new in the editor.
wdb::ReadResult loadJson(const std::string& path) {
  const std::vector<std::byte> bytes = readInput(path, MAX_JSON_BYTES, jsonTooLongRefusal(path));
  JsonDocument doc =
      parseDatabaseJson({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, path);
  if (!doc.ok()) throw Refusal{doc.message};
  wdb::ReadResult result;
  result.layout = doc.layout == wdb::Layout::TypeII ? wdb::Layout::TypeII : wdb::Layout::TypeI;
  if (std::string refusal = fillDatabase(std::move(doc), result.db); !refusal.empty()) {
    throw Refusal{std::move(refusal)};
  }
  return result;
}

// JSON when the name says so, else a database file as Open reads it.
wdb::ReadResult loadAny(const std::string& path) {
  return hasExtension(path, "json") ? loadJson(path) : loadDatabase(path);
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
      checkOpenPath(opt.in, OpenKind::Wdb);
      const std::vector<std::byte> bytes =
          readInput(opt.in, wdb::MAX_FILE_BYTES, std::string(text::NOT_A_FORMAT));
      findings = lossFindings(wdb::scanWdb(bytes));
      wdb::ReadResult loaded = wdb::readWdb(bytes);
      if (loaded.ok()) db = std::move(loaded.db);
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
  out.flush();
  if (!out) throw Refusal{std::string(text::REPORT_NOT_WRITTEN)};
  return findings.empty() ? 0 : 1;
}

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
    checkOpenPath(listing, OpenKind::Sdx);
    const std::vector<std::byte> bytes = readInput(listing);
    const ImportResult result = importSdx(db, bytes, !opt.includeFeedTest);
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
  out.flush();
  if (!out) throw Refusal{"The CSV could not be written to the output."};
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
  const wdb::ReadResult reference = loadAny(opt.like);
  warnLostRecords(err, opt.like, reference);
  const match::ReorderReport report = match::reorderLike(loaded.db, reference.db);
  save(loaded.db, layoutOption(opt).value_or(loaded.layout), opt, env, err);
  if (opt.json)
    writeReorderReportJson(out, report);
  else
    writeReorderReport(err, report);
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
  out.flush();
  if (!out) throw Refusal{std::string(text::REPORT_NOT_WRITTEN)};
  return changes.empty() ? 0 : 1;
}

// The options every writing command shares.
void addWriteOptions(CLI::App& cmd, Options& opt) {
  cmd.add_option("-o,--output", opt.out, "The *.wdb file to write (replaced atomically)")
      ->required()
      ->option_text("OUT.wdb");
  cmd.add_option("--favourites", opt.favouriteDir,
                 "Favourite folder to use instead of \"favor\" beside the program")
      ->option_text("DIR");
  cmd.add_flag("--no-backup", opt.noBackup,
               "Do not keep the replaced file's previous version as OUT.wdb.bak");
}

CLI::Option* addLayoutOption(CLI::App& cmd, Options& opt) {
  return cmd.add_option("--layout", opt.layout, "Layout of the written file")
      ->check(CLI::IsMember({"I", "II"}))
      ->option_text("I|II");
}

int dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const Env& env) {
  CLI::App app{"Reads and writes the channel database (*.wdb) of the satellite receiver.",
               "velmora-cli"};
  app.set_version_flag("--version", std::string(VERSION_TEXT));
  app.require_subcommand(1);
  // Options begin with "-" on Windows too: a path such as /data/a.sdx is a
  // file, never an option.
  app.allow_windows_style_options(false);
  Options opt;

  CLI::App* dump = app.add_subcommand("dump", "Print a *.wdb database as JSON on stdout");
  dump->add_option("IN.wdb", opt.in, "The database to read")->required();
  bool json = true;
  dump->add_flag("--json", json, "JSON output (the default and only form)");

  CLI::App* build = app.add_subcommand("build", "Write a *.wdb database from JSON");
  build->add_option("IN.json", opt.in, "The JSON database to read")->required();
  addWriteOptions(*build, opt);
  addLayoutOption(*build, opt);

  CLI::App* import =
      app.add_subcommand("import-sdx", "Import SatcoDX listings, each as one new satellite");
  import->add_option("LISTING.sdx", opt.listings, "The listing files, imported in this order")
      ->required();
  import->add_option("--into", opt.into, "Start from this database instead of an empty one")
      ->option_text("BASE.wdb");
  import->add_flag("--include-feed-test", opt.includeFeedTest, "Keep feed and test channels");
  addWriteOptions(*import, opt);
  addLayoutOption(*import, opt);

  CLI::App* convert = app.add_subcommand("convert", "Write a *.wdb database in another layout");
  convert->add_option("IN.wdb", opt.in, "The database to read")->required();
  addWriteOptions(*convert, opt);
  addLayoutOption(*convert, opt)->required();

  CLI::App* check =
      app.add_subcommand("check", "List what to look at before the database goes into a receiver");
  check->add_option("IN", opt.in, "The database (*.wdb, or JSON as build reads it)")->required();
  check->add_flag("--json", opt.json, "Print the findings as JSON");

  CLI::App* csv =
      app.add_subcommand("export-csv", "Write a list as the editor shows it, as CSV on stdout");
  csv->add_option("IN", opt.in, "The database (*.wdb, or JSON as build reads it)")->required();
  const auto tabNames = CLI::IsMember({"satellites", "transponders", "channels"});
  // Whole numbers with an optional sign; anything else is wrong usage.
  const CLI::Validator wholeNumber(
      [](std::string& value) -> std::string {
        std::size_t i = value.empty() || (value[0] != '+' && value[0] != '-') ? 0 : 1;
        const bool digits =
            i < value.size() && value.find_first_not_of("0123456789", i) == std::string::npos;
        return digits ? std::string() : "not a whole number: " + value;
      },
      "INT");
  // Satellites are numbered from 1: 0 or a negative number is wrong usage.
  const CLI::Validator satelliteNumber(
      [](std::string& value) -> std::string {
        const std::size_t digits = value.find_first_not_of('0', value.starts_with('+') ? 1 : 0);
        const bool positive = !value.starts_with('-') && digits != std::string::npos;
        return positive ? std::string() : std::string(text::SATELLITE_FROM_ONE);
      },
      "S");
  csv->add_option("--tab", opt.tabs, "The list")
      ->required()
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::Throw)
      ->check(tabNames)
      ->option_text("satellites|transponders|channels");
  csv->add_option("--satellite", opt.satellite,
                  "Only this satellite's transponders or channels (1-based)")
      ->check(wholeNumber & satelliteNumber)
      ->option_text("S");

  CLI::App* sort = app.add_subcommand("sort", "Sort lists as the editor's Sort does");
  sort->add_option("IN", opt.in, "The database (*.wdb) or JSON document (*.json) to read")
      ->required();
  sort->add_option("--tab", opt.tabs, "A list to sort, in the order given (repeatable)")
      ->required()
      ->check(tabNames)
      ->option_text("satellites|transponders|channels");
  addWriteOptions(*sort, opt);
  addLayoutOption(*sort, opt);

  CLI::App* move = app.add_subcommand("move", "Move one entry of a list to another position");
  move->add_option("IN", opt.in, "The database (*.wdb) or JSON document (*.json) to read")
      ->required();
  move->add_option("--tab", opt.tabs, "The list")
      ->required()
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::Throw)
      ->check(tabNames)
      ->option_text("satellites|transponders|channels");
  move->add_option("--satellite", opt.satellite,
                   "The satellite (1-based) whose transponders or channels to move")
      ->check(wholeNumber & satelliteNumber)
      ->option_text("S");
  move->add_option("--from", opt.from, "Position (1-based) of the entry to move")
      ->required()
      ->check(wholeNumber)
      ->option_text("F");
  move->add_option("--to", opt.to, "Position (1-based) it is to take")
      ->required()
      ->check(wholeNumber)
      ->option_text("T");
  addWriteOptions(*move, opt);
  addLayoutOption(*move, opt);

  CLI::App* reorder =
      app.add_subcommand("reorder", "Put a database in the order of another (the reference)");
  reorder->add_option("IN", opt.in, "The database (*.wdb) or JSON document (*.json) to reorder")
      ->required();
  reorder->add_option("--like", opt.like, "The reference whose order to take (*.wdb or *.json)")
      ->required()
      ->option_text("REF");
  reorder->add_flag("--json", opt.json, "Print the report as JSON on stdout");
  addWriteOptions(*reorder, opt);
  addLayoutOption(*reorder, opt);

  CLI::App* diff = app.add_subcommand(
      "diff", "List what was added, removed, changed and moved from database A to B");
  diff->add_option("A", opt.in, "The first database (*.wdb or *.json)")->required();
  diff->add_option("B", opt.other, "The second database (*.wdb or *.json)")->required();
  diff->add_flag("--json", opt.json, "Print the differences as JSON");

  // The first argument that is not an option names the command (the
  // program itself takes no option with a value).
  const auto command = std::find_if(args.begin(), args.end(),
                                    [](const std::string& a) { return !a.starts_with('-'); });
  const std::function<bool(const CLI::App*)> named = [&](const CLI::App* sub) {
    return sub->check_name(*command);
  };
  if (command != args.end() && std::as_const(app).get_subcommands(named).empty()) {
    err << text::UNKNOWN_COMMAND << *command << "\n\n" << app.help();
    return 2;
  }
  try {
    // CLI11 consumes its arguments from the back.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    app.parse(reversed);
  } catch (const CLI::ExtrasError&) {
    // Said in the order they were given.
    const std::vector<std::string> extras = app.remaining(true);
    err << (extras.size() > 1 ? text::UNEXPECTED_ARGUMENTS : text::UNEXPECTED_ARGUMENT);
    for (std::size_t i = 0; i < extras.size(); ++i) err << (i ? " " : "") << extras[i];
    err << "\n\n" << app.help();
    return 2;
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
      app.exit(e, out, err);  // --help, --version
      return 0;
    }
    err << e.what() << "\n\n" << app.help();
    return 2;
  }

  try {
    if (dump->parsed()) dumpCommand(opt, out);
    if (build->parsed()) buildCommand(opt, env, err);
    if (import->parsed()) importCommand(opt, env, err);
    if (convert->parsed()) convertCommand(opt, env, err);
    if (check->parsed()) return checkCommand(opt, out);
    if (csv->parsed()) exportCsvCommand(opt, out);
    if (sort->parsed()) sortCommand(opt, env, err);
    if (move->parsed()) moveCommand(opt, env, err);
    if (reorder->parsed()) reorderCommand(opt, env, out, err);
    if (diff->parsed()) return diffCommand(opt, out, err);
  } catch (const Usage& u) {
    err << u.message << "\n\n" << app.help();
    return 2;
  } catch (const Refusal& r) {
    err << r.message << '\n';
    return 1;
  }
  return 0;
}

fs::path programFolder(const char* argv0) {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec && !exe.empty()) return exe.parent_path();
  if (argv0 != nullptr && *argv0 != '\0') {
    const fs::path absolute = fs::absolute(argv0, ec);
    if (!ec) return absolute.parent_path();
  }
  return fs::current_path(ec);
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        const Env& env) {
  try {
    return dispatch(args, out, err, env);
  } catch (const std::exception& e) {
    err << "velmora-cli: " << e.what() << '\n';
    return 1;
  }
}

int runMain(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return runMain(args, programFolder(argc > 0 ? argv[0] : nullptr));
}

int runMain(const std::vector<std::string>& args, const fs::path& programDir) {
  Env env;
  env.programDir = programDir;
  StdoutBlocks block;
  std::ostream out(&block);
  const int rc = run(args, out, std::cerr, env);
  out.flush();
  return rc;
}

}  // namespace velmora::cli
