// velmora-cli check and export-csv, run in-process on small databases with
// one finding of each kind.
#include <gtest/gtest.h>
#include <unistd.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

class CliCheck : public ::testing::Test {
 protected:
  CliCheck() : dir_(fs::temp_directory_path() / ("velmora_check_" + std::to_string(getpid()))) {
    fs::create_directories(dir_);
  }
  ~CliCheck() override { fs::remove_all(dir_); }

  std::string file(const json& doc) {
    const std::string p = (dir_ / "db.json").string();
    std::ofstream(p) << doc.dump();
    return p;
  }
  int cli(std::vector<std::string> args, std::string& out) {
    std::ostringstream o, e;
    const int rc = velmora::cli::run(args, o, e, velmora::cli::Env{dir_});
    out = o.str() + e.str();
    return rc;
  }
  static json tp(const char* f, const char* pol = "H") {
    return {{"frequency", f}, {"polarization", pol}, {"symbolRate", "27500"}};
  }
  static json svc(const char* name, const char* sid, const char* key) {
    return {{"name", name}, {"serviceId", sid}, {"serviceType", 4}, {"tpKey", key}};
  }
  // A clean satellite: two transponders, each with a channel.
  static json clean() {
    return {{"name", "Astra"},
            {"transponders", {tp("11000"), tp("12000")}},
            {"services", {svc("One", "1", "11000H27500"), svc("Two", "2", "12000H27500")}}};
  }

  fs::path dir_;
};

TEST_F(CliCheck, FindsEachKindOfProblemAndNothingInACleanList) {
  std::string out;
  EXPECT_EQ(cli({"check", file({{"satellites", {clean()}}})}, out), 0) << out;
  EXPECT_NE(out.find("Nothing found."), std::string::npos);
  EXPECT_NE(out.find("transponders 2 of 1600"), std::string::npos);

  struct Case {
    const char* kind;
    std::function<void(json&)> spoil;
  };
  const Case cases[] = {
      {"missing-transponder",
       [](json& s) { s["services"].push_back(svc("Lost", "3", "10000V22000N0T0")); }},
      {"duplicate-channel",
       [](json& s) { s["services"].push_back(svc("Again", "1", "11000H27500")); }},
      {"duplicate-transponder", [](json& s) { s["transponders"].push_back(tp("12000")); }},
      {"empty-transponder", [](json& s) { s["transponders"].push_back(tp("11500", "V")); }},
      {"empty-satellite",
       [](json& s) {
         s = {{"name", "Bare"}};
       }},
      {"name-cut", [](json& s) { s["name"] = "Astra 19.2E and friends"; }},
  };
  for (const Case& c : cases) {
    json sat = clean();
    c.spoil(sat);
    EXPECT_EQ(cli({"check", file({{"satellites", {clean(), sat}}}), "--json"}, out), 1) << c.kind;
    const json report = json::parse(out);
    ASSERT_EQ(report["findings"].size(), 1u) << c.kind << out;
    EXPECT_EQ(report["findings"][0]["kind"], c.kind);
    EXPECT_EQ(report["findings"][0]["satellite"], 2);
    EXPECT_EQ(report["room"]["satellites"], 2);
  }
}

// What a command prints on standard output is its answer: when it cannot
// be written (a full disk, a closed pipe) the command fails, in-process and
// as the program on a full device.
TEST_F(CliCheck, EveryReportThatCannotBeWrittenIsAFailure) {
  const std::string in = file({{"satellites", {clean()}}});
  const std::string wdb = (dir_ / "db.wdb").string(), out = (dir_ / "out.wdb").string();
  std::string said;
  ASSERT_EQ(cli({"build", in, "-o", wdb}, said), 0) << said;
  const std::vector<std::vector<std::string>> commands = {
      {"dump", wdb},
      {"export-csv", in, "--tab", "channels"},
      {"check", in},
      {"check", wdb, "--json"},
      {"diff", in, wdb},
      {"diff", in, in, "--json"},
      {"reorder", wdb, "--like", in, "-o", out, "--json", "--no-backup"},
      {"--help"}};
  const std::string lost = "The report could not be written to the output.\n";
  for (const std::vector<std::string>& args : commands) {
    std::ostream closed(nullptr);
    std::ostringstream why;
    EXPECT_EQ(velmora::cli::run(args, closed, why, velmora::cli::Env{dir_}), 1) << args[0];
    EXPECT_EQ(why.str(), lost) << args[0];
  }
#ifndef _WIN32
  if (!fs::exists("/dev/full")) return;
  for (const std::vector<std::string>& args : commands) {
    std::string command = VELMORA_CLI;
    for (const std::string& arg : args) command += " '" + arg + "'";
    command += " > /dev/full 2> '" + (dir_ / "err.txt").string() + "'";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << command;
    std::ifstream err(dir_ / "err.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(err), {}), lost) << command;
  }
#endif
}

TEST_F(CliCheck, ExportsTheListAsTheEditorShowsItInCsv) {
  json sat = clean();
  sat["services"][0]["name"] = "News, \"24\"";
  sat["services"][1]["name"] = "Caf\u00e9";
  sat["services"].push_back(svc("", "7", "12000H27500N0T0"));
  const std::string db = file({{"satellites", {sat}}});
  std::string out;
  ASSERT_EQ(cli({"export-csv", db, "--tab", "channels"}, out), 0) << out;
  EXPECT_EQ(out,
            "No.,Ch Name,$,V-PID,A-PID,P-PID,SID,Freq,Pol.,SR\r\n"
            "  1,\"News, \"\"24\"\"\", ,0,0,0,1,11000,H,\r\n"
            "  2,Caf\xC3\xA9, ,0,0,0,2,12000,H,\r\n"
            "  3,...., ,0,0,0,7,12000,H,27500\r\n");
  ASSERT_EQ(cli({"export-csv", db, "--tab", "satellites"}, out), 0);
  EXPECT_EQ(out.substr(0, out.find("\r\n")),
            "No.,SAT Name,SDX CODE,LNB Freq,DiSEqC,22KHz,0/12V,LNBP");
  EXPECT_EQ(cli({"export-csv", db, "--tab", "transponders", "--satellite", "2"}, out), 1);
  EXPECT_EQ(cli({"export-csv", db, "--tab", "bouquets"}, out), 2);
}

}  // namespace
