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
#include "cli/cli_commands.h"
#include "cli/stdout_blocks.h"
#include "texts.h"

namespace velmora::cli {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view VERSION_TEXT = "velmora-cli 1.0.0";

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

// A command's exit code once what it wrote on standard output (a report,
// JSON, CSV, the help) has reached it; a report lost on the way (a full
// disk, a closed pipe) is a failure of the command.
int reported(std::ostream& out, std::ostream& err, int rc) {
  out.flush();
  if (out) return rc;
  err << text::REPORT_NOT_WRITTEN << '\n';
  return 1;
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

  CLI::App* update = app.add_subcommand(
      "update", "Bring satellites up to date from fresh SatcoDX listings, keeping their order");
  update->add_option("IN", opt.in, "The database (*.wdb) or JSON document (*.json) to update")
      ->required();
  update->add_option("--from", opt.listings, "A listing, applied in the order given (repeatable)")
      ->required()
      ->option_text("LISTING");
  update->add_flag("--keep-missing", opt.keepMissing,
                   "Keep transponders and channels the listing no longer has, after the others");
  update->add_flag("--include-feed-test", opt.includeFeedTest, "Keep feed and test channels");
  update->add_flag("--json", opt.json, "Print the report as JSON on stdout");
  addWriteOptions(*update, opt);
  addLayoutOption(*update, opt);

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
      return reported(out, err, 0);
    }
    err << e.what() << "\n\n" << app.help();
    return 2;
  }

  int rc = 0;
  try {
    if (dump->parsed()) dumpCommand(opt, out);
    if (build->parsed()) buildCommand(opt, env, err);
    if (import->parsed()) importCommand(opt, env, err);
    if (convert->parsed()) convertCommand(opt, env, err);
    if (check->parsed()) rc = checkCommand(opt, out);
    if (csv->parsed()) exportCsvCommand(opt, out);
    if (sort->parsed()) sortCommand(opt, env, err);
    if (move->parsed()) moveCommand(opt, env, err);
    if (reorder->parsed()) reorderCommand(opt, env, out, err);
    if (update->parsed()) updateCommand(opt, env, out, err);
    if (diff->parsed()) rc = diffCommand(opt, out, err);
  } catch (const Usage& u) {
    err << u.message << "\n\n" << app.help();
    return 2;
  } catch (const Refusal& r) {
    err << r.message << '\n';
    return 1;
  }
  return reported(out, err, rc);
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
  // Messages are said once the command is done, as UTF-8 text: they quote
  // arguments, paths and refusals, whose bytes may be in any encoding.
  std::ostringstream said;
  int rc = 1;
  try {
    rc = dispatch(args, out, said, env);
  } catch (const std::exception& e) {
    said << "velmora-cli: " << e.what() << '\n';
  }
  err << reportText(said.str());
  return rc;
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
