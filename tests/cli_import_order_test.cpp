// velmora-cli run in-process: listing imports, sort and move, and the
// usage, exit codes and output of the program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_fixture.h"

namespace {

TEST_F(CliImport, SmallListingBecomesOneSatelliteWithItsChannels) {
  const std::string listing = data("small_hotbird.sdx");
  std::string out, err;
  ASSERT_EQ(cli({"import-sdx", listing, "-o", path("out.wdb")}, out, err), 0);
  EXPECT_EQ(err, listing +
                     ": 5 records read, 3 imported, 2 skipped (1 not MPEG-2, 1 feed or test "
                     "channels).\n");
  const json sat = json::parse(ok({"dump", path("out.wdb")}))["satellites"].at(0);
  EXPECT_EQ(sat["name"], "Hotbird 13E     ");
  EXPECT_EQ(sat["sdxCode"], "0130");
  ASSERT_EQ(sat["transponders"].size(), 2u);
  EXPECT_EQ(sat["transponders"][1]["frequency"], "11034");
  ASSERT_EQ(sat["services"].size(), 3u);  // the feed is left out, the MPG4 record skipped
  EXPECT_EQ(sat["services"][1]["name"], "Movie");
  EXPECT_EQ(sat["services"][1]["pcrPid"], "200");
  EXPECT_EQ(sat["services"][1]["serviceType"], 5);
  EXPECT_EQ(sat["services"][2]["serviceType"], 8);
  EXPECT_EQ(sat["services"][2]["tpKey"], "11034V27500N0T0");

  ok({"import-sdx", "--include-feed-test", listing, listing, "-o", path("two.wdb")});
  const json two = json::parse(ok({"dump", path("two.wdb")}));
  ASSERT_EQ(two["satellites"].size(), 2u);
  EXPECT_EQ(two["satellites"][1]["services"].size(), 4u);
}

TEST_F(CliImport, AppendsToABaseDatabaseInItsLayout) {
  const std::string base = built(TYPE1_DB, "base.wdb", "II");
  ok({"import-sdx", "--into", base, data("small_hotbird.sdx"), "-o", path("out.wdb")});
  const json db = json::parse(ok({"dump", path("out.wdb")}));
  EXPECT_EQ(db["layout"], "II");
  ASSERT_EQ(db["satellites"].size(), 3u);
  EXPECT_EQ(db["satellites"][2]["name"], "Hotbird 13E    ");  // Type II loads 15 characters
}

TEST_F(CliImport, RealListingsGiveANamedSatelliteWithoutChannels) {
  const std::pair<const char*, const char*> files[] = {
      {"PredatH0r_ChanSort_silva_schneider.sdx", "Astra 1 (19.2E) "},
      {"PredatH0r_ChanSort_telefunken105.sdx", "Astra 1 (19.2E) "},
      {"sirfi_satcodx-editor_channel-list-sample.sdx", "Turksat (42.0E) "}};
  for (const auto& [name, satName] : files) {
    std::string out, err;
    ASSERT_EQ(cli({"import-sdx", data(name), "-o", path("out.wdb")}, out, err), 0);
    EXPECT_NE(err.find(" without PIDs"), std::string::npos) << err;  // why they bring nothing
    const json sat = json::parse(ok({"dump", path("out.wdb")}))["satellites"].at(0);
    EXPECT_EQ(sat["name"], satName) << name;
    EXPECT_TRUE(sat["transponders"].empty() && sat["services"].empty()) << name;
  }
}

TEST_F(CliImport, RefusalsStopBeforeAnythingIsWritten) {
  using namespace velmora::text;
  const std::string listing = data("small_hotbird.sdx");
  const std::string out = file("out.wdb", "previous content");
  auto importInto = [&](const json& base) {
    built(base.dump(), "base.wdb");
    return refused({"import-sdx", "--into", path("base.wdb"), listing, "-o", out});
  };
  EXPECT_EQ(importInto(databaseJson(64)), said(OPEN_SAT_RANGE));
  EXPECT_EQ(importInto(databaseJson(1, 1599)), said(IMPORT_TP_RANGE));
  EXPECT_EQ(importInto(databaseJson(2, 1, 3000)), said(IMPORT_SVC_RANGE));

  const std::string sdx = slurp(listing);
  EXPECT_EQ(refused({"import-sdx", listing, file("empty.sdx", ""), "-o", out}),
            "No data in file!\n");
  EXPECT_EQ(refused({"import-sdx", file("hotbird.txt", sdx), "-o", out}), said(SUPPORT_FILE));
  EXPECT_EQ(refused({"import-sdx", file("HOTBIRD.SDX.old", sdx), "-o", out}), said(SUPPORT_FILE));
  // Whatever its name, a file in which no line begins with SATCODX is no listing.
  for (const std::string& notAListing :
       {std::string(20000, '\xFF'), std::string(10000, '\0'), std::string("Hotbird\nNEW 1\n"),
        replaced(" " + sdx, "\nSATCODX", "\n SATCODX")}) {
    EXPECT_EQ(refused({"import-sdx", file("other.sdx", notAListing), "-o", out}),
              said(SUPPORT_FILE));
  }
  // A listing over 64 MiB is not read, and says so.
  file("huge.sdx", sdx);
  fs::resize_file(path("huge.sdx"), (64u << 20) + 1);
  EXPECT_EQ(refused({"import-sdx", path("huge.sdx"), "-o", out}),
            "Cannot read " + path("huge.sdx") + ": It is larger than 64 MiB.\n");
  EXPECT_TRUE(slurp(out) == "previous content");
  ok({"import-sdx", file("hotbird.sdx.txt", sdx), "-o", out});
  ok({"import-sdx", file("HOTBIRD.SDX", sdx), "-o", out});
}

// Names of the satellites, and of each satellite's transponders and
// services, as dumped.
std::vector<std::string> orderOf(const json& db) {
  std::vector<std::string> out;
  for (const json& sat : db["satellites"]) {
    std::string line = sat["name"].get<std::string>() + ":";
    for (const json& tp : sat["transponders"])
      line += " " + tp["frequency"].get<std::string>() + tp["polarization"].get<std::string>();
    line += " |";
    for (const json& svc : sat["services"]) line += " " + svc["name"].get<std::string>();
    out.push_back(line);
  }
  return out;
}

TEST_F(CliOrder, SortAppliesEachTabInTurnAndKeepsTheLayoutOfIn) {
  const json doc = json::parse(R"({"layout": "II", "satellites": [
    {"name": "hotbird", "transponders": [{"frequency": "12500", "polarization": "H"},
      {"frequency": "11000", "polarization": "V"}, {"frequency": "10900", "polarization": "H"}],
     "services": [{"name": "zdf", "tpKey": "12500H"}, {"name": "", "tpKey": "12500H"},
                  {"name": "Arte", "tpKey": "12500H"}, {"name": "-", "tpKey": "12500H"}]},
    {"name": "", "transponders": [], "services": []},
    {"name": "Astra", "transponders": [{"frequency": "10700", "polarization": "V"}],
     "services": [{"name": "b", "tpKey": "10700V"}, {"name": "a", "tpKey": "10700V"}]}]})");
  const std::string in = file("db.json", doc.dump());
  ok({"sort", in, "-o", path("out.wdb"), "--tab", "channels", "--tab", "transponders", "--tab",
      "satellites"});
  const json out = json::parse(ok({"dump", path("out.wdb")}));
  EXPECT_EQ(out["layout"], "II");
  // The empty name sorts first among satellites, and as "...." among
  // channels, where it stays empty.
  EXPECT_EQ(orderOf(out),
            (std::vector<std::string>{": |", "Astra: 10700V | a b",
                                      "hotbird: 11000V 10900H 12500H | -  Arte zdf"}));

  // A database file is read as dump reads it; --layout overrides.
  ok({"sort", path("out.wdb"), "-o", path("again.wdb"), "--tab", "satellites", "--layout", "I"});
  EXPECT_EQ(fs::file_size(path("again.wdb")), 262144u);
  EXPECT_EQ(orderOf(json::parse(ok({"dump", path("again.wdb")}))), orderOf(out));
}

TEST_F(CliOrder, MoveRotatesOneEntryOrRefusesWithTheEditorsMessages) {
  using namespace velmora::text;
  json doc = databaseJson(4, 3);
  for (const char* name : {"A", "B", "C", "D"})
    doc["satellites"][1]["services"].push_back({{"name", name}, {"tpKey", "10700H"}});
  const std::string in = file("db.json", doc.dump());
  const std::string out = file("out.wdb", "previous content");
  auto move = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"move", in, "-o", out});
    return args;
  };
  EXPECT_EQ(refused(move({"--tab", "channels", "--satellite", "5", "--from", "1", "--to", "1"})),
            said(NO_DATA));
  EXPECT_EQ(refused(move({"--tab", "channels", "--satellite", "1", "--from", "1", "--to", "1"})),
            said(NO_DATA));
  EXPECT_EQ(refused(move({"--tab", "channels", "--satellite", "2", "--from", "5", "--to", "1"})),
            said(SELECT_A_LIST));
  EXPECT_EQ(refused(move({"--tab", "satellites", "--from", "0", "--to", "9"})),
            said(SELECT_A_LIST));
  EXPECT_EQ(refused(move({"--tab", "transponders", "--satellite", "+2", "--from", "-1", "--to",
                          "99999999999999999999"})),
            said(SELECT_A_LIST));
  EXPECT_EQ(refused(move({"--tab", "transponders", "--satellite", "2", "--from", "3", "--to",
                          "99999999999999999999"})),
            said(NOT_AVAILABLE_POSITION));
  EXPECT_TRUE(slurp(out) == "previous content");

  ok(move({"--tab", "channels", "--satellite", "2", "--from", "2", "--to", "+4"}));
  json db = json::parse(ok({"dump", out}));
  EXPECT_EQ(orderOf(db)[1], "Sat 1: 10700H 10701H 10702H | A C D B");
  ok(move({"--tab", "satellites", "--from", "4", "--to", "1"}));
  db = json::parse(ok({"dump", out}));
  EXPECT_EQ(db["satellites"][0]["name"], "Sat 3");
  EXPECT_EQ(orderOf(db)[2], "Sat 1: 10700H 10701H 10702H | A B C D");
  // Its own position changes nothing, and OUT is written all the same.
  fs::remove(out);
  ok(move({"--tab", "satellites", "--from", "2", "--to", "2"}));
  EXPECT_EQ(orderOf(json::parse(ok({"dump", out}))),
            orderOf(json::parse(ok({"dump", built(doc.dump(), "direct.wdb")}))));
}

TEST_F(CliOrder, WrongUsageOfSortAndMove) {
  std::string out, err;
  const std::string in = file("db.json", databaseJson(2, 2).dump());
  const std::vector<std::vector<std::string>> usageErrors = {
      {"sort", in, "-o", "x.wdb"},
      {"sort", in, "-o", "x.wdb", "--tab", "services"},
      {"move", in, "-o", "x.wdb", "--from", "1", "--to", "2"},
      {"move", in, "-o", "x.wdb", "--tab", "satellites", "--tab", "satellites", "--from", "1",
       "--to", "2"},
      {"move", in, "-o", "x.wdb", "--tab", "satellites", "--to", "2"},
      {"move", in, "-o", "x.wdb", "--tab", "satellites", "--from", "1"},
      {"move", in, "-o", "x.wdb", "--tab", "satellites", "--satellite", "1", "--from", "1", "--to",
       "2"},
      {"move", in, "-o", "x.wdb", "--tab", "channels", "--from", "1", "--to", "2"},
      {"move", in, "-o", "x.wdb", "--tab", "satellites", "--from", "1.0", "--to", "2"},
      {"move", in, "-o", "x.wdb", "--tab", "satellites", "--from", "1", "--to", "two"},
      {"move", in, "-o", "x.wdb", "--tab", "channels", "--satellite", "", "--from", "1", "--to",
       "2"},
      {"move", in, "-o", "x.wdb", "--tab", "channels", "--satellite", "-", "--from", "1", "--to",
       "2"}};
  for (const auto& wrong : usageErrors) {
    EXPECT_EQ(cli(wrong, out, err), 2) << wrong[4] << " " << wrong.back();
    EXPECT_NE(err.find("Usage"), std::string::npos);
  }
  EXPECT_FALSE(fs::exists("x.wdb"));
}

TEST_F(CliUsage, OpenChecksAndExitCodes) {
  using namespace velmora::text;
  EXPECT_EQ(refused({"dump", path("missing.wdb")}),
            "Cannot read " + path("missing.wdb") + ": No such file or directory.\n");
  EXPECT_EQ(refused({"dump", file("empty.wdb", "")}), "No data in file!\n");
  EXPECT_EQ(refused({"dump", file("LIST.WDB.old", "data")}), said(SUPPORT_FILE));
  EXPECT_EQ(refused({"dump", file("short.wdb", std::string(10, '\0'))}), said(NOT_A_FORMAT));
  // A database file is never longer than 1 MiB; zeros after one are read.
  const std::string padded = file("padded.json", TYPE1_DB);
  ok({"build", padded, "-o", path("padded.wdb")});
  fs::resize_file(path("padded.wdb"), 1u << 20);
  EXPECT_FALSE(ok({"dump", path("padded.wdb")}).empty());
  fs::resize_file(path("padded.wdb"), (1u << 20) + 1);
  EXPECT_EQ(refused({"dump", path("padded.wdb")}), said(NOT_A_FORMAT));
  EXPECT_EQ(refused({"convert", file("x.sdx", "abc"), "-o", path("y.wdb"), "--layout", "I"}),
            said(SUPPORT_FILE));

  std::string out, err;
  const std::vector<std::vector<std::string>> usageErrors = {
      {},
      {"frobnicate"},
      {"dump"},
      {"build", "a.json"},
      {"convert", "a.wdb", "-o", "b.wdb"},
      {"build", "a.json", "-o", "b.wdb", "--layout", "III"},
      {"import-sdx", "-o", "b.wdb"}};
  for (const auto& wrong : usageErrors) {
    EXPECT_EQ(cli(wrong, out, err), 2) << (wrong.empty() ? "" : wrong[0]);
    EXPECT_NE(err.find("Usage"), std::string::npos);
  }
  // What was wrong, in the user's own order.
  EXPECT_EQ(cli({"frob", "x"}, out, err), 2);
  EXPECT_EQ(err.rfind("Unknown command: frob\n", 0), 0u) << err;
  EXPECT_EQ(cli({"dump", "a.wdb", "b", "c"}, out, err), 2);
  EXPECT_EQ(err.rfind("The following arguments were not expected: b c\n", 0), 0u) << err;
  const std::string db = built(TYPE1_DB, "db.wdb");
  for (const char* satellite : {"0", "-0", "+00", "-1"}) {
    EXPECT_EQ(cli({"export-csv", db, "--tab", "channels", "--satellite", satellite}, out, err), 2)
        << satellite;
    EXPECT_NE(err.find("numbered from 1"), std::string::npos) << satellite;
  }
  EXPECT_EQ(cli({"export-csv", db, "--tab", "satellites", "--satellite", "1"}, out, err), 2);
  EXPECT_EQ(err.rfind("--satellite is not taken with --tab satellites\n", 0), 0u) << err;

  EXPECT_EQ(cli({"--version"}, out, err), 0);
  EXPECT_EQ(out, "velmora-cli 1.0.0\n");
  EXPECT_EQ(cli({"--help"}, out, err), 0);
  EXPECT_NE(out.find("import-sdx"), std::string::npos);
}

// The program itself, its standard output in a file: byte for byte what
// run() gives, CSV and JSON with their own line ends on every system.
TEST_F(CliUsage, TheProgramWritesItsOutputUnchanged) {
  std::string program = VELMORA_CLI;
#ifdef _WIN32
  // Built on the host and run under Wine: a host path is on drive Z.
  if (program.starts_with('/')) program = "Z:" + replaced(program, "/", "\\");
#endif
  const std::string db = built(TYPE1_DB, "db.wdb");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"export-csv", db, "--tab", "channels"}, {"dump", db}}) {
    std::string command = '"' + program + '"';
    for (const std::string& arg : args) command += " \"" + arg + '"';
    command += " > \"" + path("out.txt") + '"';
#ifdef _WIN32
    command = '"' + command + '"';  // cmd /c takes off the outer quotes
#endif
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_TRUE(slurp(path("out.txt")) == ok(args)) << args[0];
  }
}

}  // namespace

namespace {

TEST_F(CliImport, UpdateReportsPerSatelliteAndExitsByOutcome) {
  const std::string base = built(TYPE1_DB, "base.wdb");
  // Thor gets one channel; "Kanal D" on Türksat's 12111 H keeps its name.
  const std::string thor =
      file("thor.sdx",
           "SATCODX103Thor 1W            MPG2 10778   1NRK1____3590              27500 "
           "016000800161000100031800200         Frei________\r\n");
  const std::string turk =
      file("turk.sdx",
           "SATCODX103Turksat 42E        MPG2 12111   1KANAL D_0420              27500 "
           "____01010100000020000000000         Frei________\r\n");
  const json report = json::parse(
      ok({"update", base, "--from", thor, "--from", turk, "-o", path("out.wdb"), "--json"}));
  EXPECT_EQ(report["satellites"][0]["position"], 2);
  EXPECT_EQ(report["satellites"][0]["channels"]["new"], 1);
  EXPECT_EQ(report["satellites"][1]["removedChannels"], json::array({"Café"}));
  EXPECT_EQ(report["satellites"][1]["transponders"]["removed"], 1);
  const json db = json::parse(ok({"dump", path("out.wdb")}))["satellites"];
  EXPECT_EQ(db[0]["services"].at(0)["name"], "\u0005Kanal D");
  EXPECT_EQ(db[1]["services"].at(0)["tpKey"], "10778H27500N0T0");
  EXPECT_EQ(report["satellites"][1]["channels"]["kept"], 1);  // ids the file has no room for

  EXPECT_EQ(refused({"update", base, "--from", base, "-o", path("no.wdb")}),
            std::string(velmora::text::SUPPORT_FILE) + "\n");
  EXPECT_FALSE(fs::exists(path("no.wdb")));
  std::string out, err;
  EXPECT_EQ(cli({"update", base, "-o", path("no.wdb")}, out, err), 2);
}

}  // namespace
