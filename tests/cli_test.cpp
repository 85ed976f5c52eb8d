// velmora-cli run in-process: round trips through JSON and *.wdb in both
// layouts, listing imports, refusals with the editor's messages, exit codes.
#include "cli/cli.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "db/western_text.h"
#include "texts.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// A database in the form the reader gives back, so that build then dump
// must reproduce it character for character. Byte 0xE9 and the control
// byte 0x05 (a DVB character-table selector) travel as code points.
constexpr std::string_view TYPE1_DB = R"({"layout": "I", "satellites": [
  {"name": "Türksat \"42E\"", "lnbType": "Universal", "lnbFreq1": "9750", "lnbFreq2": "10600",
   "diseqc": "NONE", "tone22k": "Auto", "switch12v": "Off", "lnbPower": "On", "sdxCode": "0420",
   "diseqcCommitted": "1", "diseqcUncommitted": "2",
   "transponders": [
     {"polarization": "H", "frequency": "12111", "symbolRate": "27500", "seqNo": "1",
      "nid": "0", "tid": "0"},
     {"polarization": "V", "frequency": "11034", "symbolRate": "30000", "seqNo": "2",
      "nid": "0", "tid": "0"}],
   "services": [
     {"name": "Café", "videoPid": "160", "audioPid": "80", "pcrPid": "160", "serviceId": "1001",
      "serviceType": 5, "tpSeqNo": "", "spare": "", "tpKey": "11034V30000N0T0"},
     {"name": "\u0005Kanal D", "videoPid": "0", "audioPid": "101", "pcrPid": "100",
      "serviceId": "2", "serviceType": 8, "tpSeqNo": "", "spare": "", "tpKey": "12111H27500N0T0"}]},
  {"name": "Thor 1W", "lnbType": "Single", "lnbFreq1": "10600", "lnbFreq2": "0", "diseqc": "USALS",
   "tone22k": "On", "switch12v": "On", "lnbPower": "Off", "sdxCode": "3590",
   "diseqcCommitted": "0", "diseqcUncommitted": "0", "transponders": [], "services": []}]})";

// The document as dump prints it: the usual two-space pretty form.
std::string pretty(std::string_view doc) {
  return nlohmann::ordered_json::parse(doc).dump(2) + "\n";
}

std::string replaced(std::string text, std::string_view from, std::string_view to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// Type II keeps no longitude and no switch ports.
std::string asTypeII(std::string_view typeI, std::string_view layout = "II") {
  std::string text = replaced(std::string(typeI), R"("layout": "I")",
                              R"("layout": ")" + std::string(layout) + '"');
  for (const char* code : {R"("0420")", R"("3590")"}) text = replaced(text, code, R"("0000")");
  text = replaced(text, R"("diseqcCommitted": "1")", R"("diseqcCommitted": "0")");
  return replaced(text, R"("diseqcUncommitted": "2")", R"("diseqcUncommitted": "0")");
}

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// `sats` satellites, each with `tps` transponders and `svcs` services on
// its first transponder.
json databaseJson(int sats, int tps = 0, int svcs = 0) {
  json sat = {{"transponders", json::array()}, {"services", json::array()}};
  for (int t = 0; t < tps; ++t) {
    sat["transponders"].push_back(
        {{"frequency", std::to_string(10700 + t)}, {"polarization", "H"}});
  }
  for (int v = 0; v < svcs; ++v) {
    sat["services"].push_back({{"name", "Ch"}, {"serviceType", 4}, {"tpKey", "10700H"}});
  }
  json db = {{"satellites", json::array()}};
  for (int s = 0; s < sats; ++s)
    db["satellites"].emplace_back(sat)["name"] = "Sat " + std::to_string(s);
  return db;
}

// A message as it reaches stderr.
std::string said(std::string_view message) { return std::string(message) + "\n"; }

class CliFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() / ("velmora_cli_" + std::string(info->test_suite_name()) +
                                        "_" + info->name() + "_" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  std::string file(const std::string& name, std::string_view content) const {
    std::ofstream(path(name), std::ios::binary) << content;
    return path(name);
  }
  static std::string data(const std::string& name) { return VELMORA_TEST_DATA "/" + name; }

  int cli(std::vector<std::string> args, std::string& out, std::string& err) const {
    std::ostringstream o, e;
    const int rc = velmora::cli::run(args, o, e, velmora::cli::Env{dir_});
    out = o.str();
    err = e.str();
    return rc;
  }
  // Runs a command that must succeed and gives its stdout.
  std::string ok(std::vector<std::string> args) const {
    std::string out, err;
    EXPECT_EQ(cli(std::move(args), out, err), 0) << err;
    return out;
  }
  // Runs a command that must be refused and gives its stderr.
  std::string refused(std::vector<std::string> args) const {
    std::string out, err;
    EXPECT_EQ(cli(std::move(args), out, err), 1);
    return err;
  }
  std::string built(std::string_view json, const std::string& name, std::string layout = "") {
    std::vector<std::string> args{"build", file(name + ".json", json), "-o", path(name)};
    if (!layout.empty()) args.insert(args.end(), {"--layout", layout});
    ok(args);
    return path(name);
  }

  fs::path dir_;
};

using CliRoundTrip = CliFixture;
using CliBuild = CliFixture;
using CliImport = CliFixture;
using CliUsage = CliFixture;
using CliOrder = CliFixture;

TEST_F(CliRoundTrip, BuildThenDumpGivesTheDatabaseBackInBothLayouts) {
  const std::string typeI = built(TYPE1_DB, "one.wdb");
  EXPECT_EQ(fs::file_size(typeI), 262144u);
  EXPECT_EQ(ok({"dump", typeI}), pretty(TYPE1_DB));

  const std::string typeII = built(TYPE1_DB, "two.wdb", "II");
  EXPECT_EQ(fs::file_size(typeII), 131072u);
  EXPECT_EQ(ok({"dump", "--json", typeII}), pretty(asTypeII(TYPE1_DB)));
}

// Names are Western (Windows-1252) text: "€" is byte 0x80, and the bytes
// that code page leaves unassigned travel as the code points of their own
// number, so that every byte but NUL (which ends a text) comes back.
TEST_F(CliRoundTrip, EveryByteOfANameTravelsAsItsWesternCharacter) {
  json db = databaseJson(1, 1, 16);
  db["satellites"][0]["name"] = "\u20AC\u0081\u0178";
  auto& services = db["satellites"][0]["services"];
  for (auto& service : services) service["name"] = "";
  for (int b = 1; b < 256; ++b) {
    services[static_cast<std::size_t>((b - 1) / 16)]["name"].get_ref<std::string&>() +=
        velmora::westernToUtf8(std::string(1, static_cast<char>(b)));
  }
  const std::string wdb = built(db.dump(), "all.wdb");
  EXPECT_NE(slurp(wdb).find("\x80\x81\x9F"), std::string::npos);
  const json back = json::parse(ok({"dump", wdb}));
  EXPECT_EQ(back["satellites"][0]["name"], "\u20AC\u0081\u0178");
  for (std::size_t v = 0; v < services.size(); ++v)
    EXPECT_EQ(back["satellites"][0]["services"][v]["name"], services[v]["name"]) << v;
}

TEST_F(CliRoundTrip, ConvertTypeIToTypeIIAndBackKeepsWhatTypeIIStores) {
  const std::string typeI = built(TYPE1_DB, "one.wdb");
  ok({"convert", typeI, "-o", path("two.wdb"), "--layout", "II"});
  EXPECT_TRUE(slurp(path("two.wdb")) == slurp(built(TYPE1_DB, "direct.wdb", "II")));
  ok({"convert", path("two.wdb"), "-o", path("back.wdb"), "--layout", "I"});
  EXPECT_EQ(ok({"dump", path("back.wdb")}), pretty(asTypeII(TYPE1_DB, "I")));
}

TEST_F(CliRoundTrip, LayoutComesFromTheOptionThenTheDocument) {
  const std::string asII = replaced(std::string(TYPE1_DB), R"("layout": "I")", R"("layout": "II")");
  EXPECT_EQ(fs::file_size(built(asII, "doc.wdb")), 131072u);
  EXPECT_EQ(fs::file_size(built(asII, "opt.wdb", "I")), 262144u);
  EXPECT_EQ(fs::file_size(built(R"({"layout": "new", "satellites": [{}]})", "new.wdb")), 262144u);
}

TEST_F(CliBuild, RefusesInTheOrderOfTheSave) {
  using namespace velmora::text;
  auto refusal = [&](const json& db, std::string layout = "I") {
    return refused(
        {"build", file("db.json", db.dump()), "-o", path("out.wdb"), "--layout", layout});
  };
  EXPECT_EQ(refusal(databaseJson(0)), "No Data!\n");
  json tooMany = databaseJson(65);
  tooMany["satellites"][0] = databaseJson(1, 4001)["satellites"][0];
  EXPECT_EQ(refusal(tooMany), said(MAX_SATS));
  EXPECT_EQ(refusal(databaseJson(1, 0, 4001)), said(MAX_ROWS_PER_SAT));
  EXPECT_EQ(refusal(databaseJson(2, 801, 3001)), said(MAX_TP));  // and 6002 services

  char overflow[256];
  std::snprintf(overflow, sizeof overflow, CHANNEL_OVERFLOW_FMT.data(), 6001);
  json sixThousandOne = databaseJson(2, 1, 3000);
  sixThousandOne["satellites"][0]["services"].push_back(json::object());
  EXPECT_EQ(refusal(sixThousandOne), overflow + said(CHANNEL_OVERFLOW_ADVICE));

  // 3591 services of 36 bytes leave a Type II file less than six padding
  // zeros; the same database fits Type I.
  EXPECT_EQ(refusal(databaseJson(1, 0, 3591), "II"), said(TYPE2_OVERFLOW));
  // Then a name that an older receiver takes for the end of its list.
  json news = databaseJson(1, 0, 3591);
  news["satellites"].push_back({{"name", "NEWS"}});
  EXPECT_EQ(refusal(news, "II"), said(TYPE2_OVERFLOW));
  news["satellites"][0]["services"] = json::array();
  EXPECT_EQ(refusal(news, "II"),
            said(std::string(TYPE2_NEW_NAME_HEAD) + "NEWS" + std::string(TYPE2_NEW_NAME_TAIL)));
  EXPECT_FALSE(fs::exists(path("out.wdb")));
  ok({"build", path("db.json"), "-o", path("out.wdb")});
}

TEST_F(CliBuild, RefusesMalformedDocumentsAndLeavesAnExistingFileAlone) {
  const std::string out = file("out.wdb", "previous content");
  auto refusal = [&](std::string_view doc) {
    return refused({"build", file("db.json", doc), "-o", out});
  };
  EXPECT_NE(refusal("{\"satellites\": [").find("parse error"), std::string::npos);
  EXPECT_NE(refusal(R"({"layouts": []})").find("satellites"), std::string::npos);
  EXPECT_NE(refusal(R"({"layout": "III", "satellites": [{}]})").find("layout"), std::string::npos);
  EXPECT_NE(refusal(R"({"satellites": [{"lnbFreq1": 9750}]})").find("satellites[0].lnbFreq1"),
            std::string::npos);
  EXPECT_NE(refusal(R"({"satellites": [{"services": [{"serviceType": "4"}]}]})")
                .find("satellites[0].services[0].serviceType"),
            std::string::npos);
  EXPECT_NE(refusal(R"({"satellites": [{"services": [{"name": "Łódź"}]}]})").find("U+0141"),
            std::string::npos);
  // The parser would stop at a NUL byte, and the file ends a text at one.
  EXPECT_EQ(refusal(std::string(R"({"satellites": [{}]})"
                                "\n  \0garbage",
                                30)),
            path("db.json") +
                ": Not a Velmora JSON database: parse error at line 2, column 3: a NUL byte, which "
                "JSON does not allow.\n");
  EXPECT_EQ(refusal(R"({"satellites": [{"name": "A\u0000B"}]})"),
            path("db.json") +
                ": Not a Velmora JSON database: satellites[0].name holds the character U+0000, "
                "which ends a text in the file.\n");
  EXPECT_TRUE(slurp(out) == "previous content");

  EXPECT_NE(refused({"build", path("missing.json"), "-o", out}).find("missing.json"),
            std::string::npos);
  // The reason is the system's own message, worded by each system.
  const std::string blocked = path("no such folder/out.wdb");
  const std::string said = refused({"build", file("db.json", TYPE1_DB), "-o", blocked});
  EXPECT_EQ(said.rfind(blocked + " can't be created !  \n\n", 0), 0u) << said;
  EXPECT_GT(said.size(), blocked.size() + 24);
}

TEST_F(CliBuild, RefusesNumbersTheFileCannotHoldInDocumentOrder) {
  auto withService = [](const json& svc) {
    json db = databaseJson(1);
    db["satellites"][0]["services"] = {json::object(), svc};
    return db.dump();
  };
  auto fits = [](std::string_view field, std::string_view range) {
    return "Invalid database: satellites[0].services[1]." + std::string(field) +
           " does not fit the file (" + std::string(range) + ").\n";
  };
  const struct {
    json svc;
    std::string error;  // empty: accepted
  } cases[] = {
      {{{"videoPid", "70000"}}, fits("videoPid", "0..65535")},
      {{{"audioPid", "-1"}}, fits("audioPid", "0..65535")},
      {{{"pcrPid", "65536 PCR"}}, fits("pcrPid", "0..65535")},
      {{{"serviceId", "99999999999999999999999"}}, fits("serviceId", "0..65535")},
      {{{"serviceType", 256}}, fits("serviceType", "0..255")},
      {{{"serviceType", -1}}, fits("serviceType", "0..255")},
      {{{"serviceType", 5000000000}}, fits("serviceType", "0..255")},
      {{{"serviceId", " +65535"}, {"videoPid", "-0"}, {"serviceType", 255}, {"tpSeqNo", "x"}}, ""},
  };
  for (const auto& c : cases) {
    std::string out, err;
    const int rc =
        cli({"build", file("db.json", withService(c.svc)), "-o", path("out.wdb")}, out, err);
    EXPECT_EQ(rc, c.error.empty() ? 0 : 1) << c.svc;
    EXPECT_EQ(err, c.error) << c.svc;
  }

  // The first fault of the document is the one reported, whatever its kind.
  const std::string doc = file("db.json", R"({"satellites": [
      {"services": [{"videoPid": "70000"}, {"name": 1}]},
      {"name": 2}]})");
  EXPECT_EQ(refused({"build", doc, "-o", path("out.wdb")}),
            "Invalid database: satellites[0].services[0].videoPid does not fit the file "
            "(0..65535).\n");
  file("db.json", R"({"satellites": [{"lnbFreq1": 1}, {"services": [{"serviceType": 300}]}]})");
  EXPECT_EQ(refused({"build", doc, "-o", path("out.wdb")}),
            doc + ": Not a Velmora JSON database: satellites[0].lnbFreq1 must be a string.\n");

  // A document longer than 16 MB is not read.
  file("big.json", R"({"satellites": [{}], "padding": ")" + std::string(16u << 20, 'x') + "\"}");
  EXPECT_EQ(
      refused({"build", path("big.json"), "-o", path("out.wdb")}),
      path("big.json") + ": Not a Velmora JSON database: the document is longer than 16 MB.\n");
}

TEST_F(CliBuild, ReplacingKeepsThePreviousVersionButNeverTheInput) {
  const std::string doc = file("db.json", TYPE1_DB);
  const std::string out = file("out.wdb", "previous content");
  ok({"build", doc, "-o", out});
  EXPECT_TRUE(slurp(out + ".bak") == "previous content");
  file("out.wdb.bak", "older");
  ok({"build", doc, "-o", out, "--no-backup"});
  EXPECT_TRUE(slurp(out + ".bak") == "older");

  // The output may not be the file being read, by any name (Windows has
  // no symbolic links for a user to make).
  std::vector<std::string> names{out};
#ifndef _WIN32
  fs::create_symlink(out, path("alias.wdb"));
  names.push_back(path("alias.wdb"));
#endif
  for (const std::string& same : names) {
    EXPECT_EQ(refused({"convert", out, "-o", same, "--layout", "II"}),
              same + " can't be created !  \n\nIt is the file being read.\n");
  }
  EXPECT_EQ(fs::file_size(out), 262144u);

  // A backup that cannot be made is said, and the save goes on.
  fs::remove(out + ".bak");
  fs::create_directories(out + ".bak/inside");
  std::string stdoutText, err;
  EXPECT_EQ(cli({"convert", out, "-o", path("out2.wdb"), "--layout", "II"}, stdoutText, err), 0);
  EXPECT_EQ(cli({"convert", path("out2.wdb"), "-o", out, "--layout", "II"}, stdoutText, err), 0);
  EXPECT_EQ(err.rfind("The previous version could not be kept as " + out + ".bak: ", 0), 0u) << err;
  EXPECT_EQ(fs::file_size(out), 131072u);
}

TEST_F(CliBuild, PlaceholderSlotsCarryTheirFavouriteLine) {
  // One satellite: slot 2 is the placeholder "NEW 1", its code byte at 68.
  const std::string doc = file("db.json", R"({"satellites": [{"name": "Astra"}]})");
  auto codeOfNew1 = [&](std::vector<std::string> options) {
    std::vector<std::string> args{"build", doc, "-o", path("out.wdb")};
    args.insert(args.end(), options.begin(), options.end());
    ok(args);
    return static_cast<int>(slurp(path("out.wdb")).at(68));
  };
  EXPECT_EQ(codeOfNew1({}), 0);

  fs::create_directories(dir_ / "favor");
  file("favor/satlist1.sdx", "Hotbird\nNEW 1\n");
  EXPECT_EQ(codeOfNew1({}), 2);

  fs::create_directories(dir_ / "mine");
  file("mine/satlist1.sdx", "Astra\nHotbird\nNEW\n");
  EXPECT_EQ(codeOfNew1({"--favourites", path("mine")}), 3);
  EXPECT_EQ(refused({"build", doc, "-o", path("out.wdb"), "--favourites", path("nope")}),
            "The favourite folder " + path("nope") + " does not exist.\n");
}

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
