// velmora-cli run in-process: round trips through JSON and *.wdb in both
// layouts, and the refusals of build with the editor's messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_fixture.h"

namespace {

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
  // Type I takes it for an unused slot, as it has no transponders.
  EXPECT_EQ(refusal(news),
            said(std::string(TYPE2_NEW_NAME_HEAD) + "NEWS" + std::string(TYPE1_NEW_NAME_TAIL)));
  EXPECT_FALSE(fs::exists(path("out.wdb")));
  news["satellites"][1]["name"] = "Sky News";
  file("db.json", news.dump());
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

}  // namespace
