// velmora-cli reorder, diff, and check on files that a load would lose
// records of: databases written by the core, then spoilt byte by byte.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli.h"
#include "support/db_builders.h"
#include "wdb/file_io.h"
#include "wdb/wdb_format.h"

namespace fs = std::filesystem;
using nlohmann::json;
using namespace velmora;
using namespace std::string_literals;

class CliMatch : public ::testing::Test {
 protected:
  CliMatch() : dir_(fs::temp_directory_path() / ("velmora_match_" + std::to_string(getpid()))) {
    fs::create_directories(dir_);
  }
  ~CliMatch() override { fs::remove_all(dir_); }

  // Three satellites of two transponders and four channels, changed, then
  // written in `layout`, then with `text` written over the bytes at `at`.
  std::string written(const std::string& name, wdb::Layout layout,
                      const std::function<void(ChannelDb&)>& change = {}, std::size_t at = 0,
                      std::string_view text = {}) {
    ChannelDb db = test::makeDb(3, 2, 4);
    if (change) change(db);
    int counter = 0;
    std::vector<std::byte> bytes = wdb::writeWdb(db, layout, {}, counter).bytes;
    for (std::size_t i = 0; i < text.size(); ++i) bytes[at + i] = std::byte(text[i]);
    EXPECT_TRUE(writeFileAtomically(dir_ / name, bytes));
    return (dir_ / name).string();
  }
  int cli(std::vector<std::string> args) {
    std::ostringstream o, e;
    const int rc = cli::run(args, o, e, cli::Env{dir_});
    out = o.str();
    err = e.str();
    return rc;
  }
  fs::path dir_;
  std::string out, err;
};

TEST_F(CliMatch, CheckReportsEveryRecordALoadWouldLeaveOutAndAlwaysAnswersInJson) {
  // Type I: 12-byte transponders from 2066, then 32-byte services (tp number at +2).
  constexpr std::size_t TP = 2066, SVC = 2066 + 6 * 12 + 8;
  const auto I = wdb::Layout::TypeI;
  auto newsWithout = [](ChannelDb& db) {
    db.sats[2].name = "MEWS 24";  // the writer refuses NEWS 24 here: put in below
    db.tpTables[2].clear();
    db.svcTables[2].clear();
  };
  struct Case {
    const char* kind;
    int record;
    std::string file;
    const char* warning;  // what convert says, nullptr for nothing
  } const cases[] = {
      {"channel-without-transponder", 5, written("a.wdb", I, {}, SVC + 4 * 32 + 2, "\0"s),
       "1 channel"},
      {"channel-without-transponder", 2, written("b.wdb", I, {}, SVC + 32 + 2, "\7"), "1 channel"},
      {"transponder-without-satellite", 3, written("c.wdb", I, {}, TP + 2 * 12, "\0"s),
       "2 channels"},
      {"transponder-in-unused-slot", 6, written("d.wdb", I, {}, TP + 5 * 12, "\11"), nullptr},
      {"header-over-limit", 0, written("e.wdb", I, {}, 0, "A"), "The STB is available Max 64"},
      {"dropped-as-unused", 3, written("f.wdb", I, newsWithout, 10 + 2 * 32 + 2, "N"),
       "1 satellite"},
      // Type II: satellite records of 28 bytes from 10, the name at +2.
      {"satellite-not-loaded", 2, written("g.wdb", wdb::Layout::TypeII, {}, 10 + 28 + 2, "NEW"),
       "2 satellites, 4 transponders, 8 channels"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cli({"check", c.file, "--json"}), 1) << c.kind;
    const json report = json::parse(out);
    EXPECT_EQ(report["findings"][0]["kind"], c.kind) << out;
    EXPECT_EQ(report["findings"][0]["row"], c.record) << out;
    // The other commands still work on what loads, and say what was lost.
    cli({"convert", c.file, "-o", (dir_ / "out.wdb").string(), "--layout", "I"});
    EXPECT_NE(err.find(c.warning ? c.warning : ""), std::string::npos) << c.kind << err;
    EXPECT_TRUE(c.warning || err.empty()) << err;
  }
  // Nothing to read at all is one finding, still as JSON, and every report
  // is UTF-8 text: a path with a byte that is not UTF-8, a JSON file in
  // Windows-1252 that the JSON library quotes in its message.
  const std::string latin1 = (dir_ / "latin1.json").string();
  std::ofstream(latin1) << "{\"satellites\": [{\"name\": \"Caf\xE9\"}]}";
  for (const std::string& in :
       {(dir_ / "missing.wdb").string(), written("short.wdb", I, {}, 6, "\0"s),
        (dir_ / "missing-\xFF.wdb").string(), latin1}) {
    EXPECT_EQ(cli({"check", in, "--json"}), 1);
    ASSERT_TRUE(json::accept(out)) << in << err;
    EXPECT_EQ(json::parse(out)["findings"][0]["kind"], "unreadable") << in;
    EXPECT_EQ(cli({"check", in}), 1);
    EXPECT_NO_THROW((void)json(out).dump()) << out;  // throws on bytes that are not UTF-8
  }
  EXPECT_EQ(cli({"check", written("clean.wdb", I)}), 0) << out;
}

TEST_F(CliMatch, ReorderTakesTheReferenceOrderAndDiffSeesWhatChanged) {
  const std::string a = written("a.wdb", wdb::Layout::TypeI);
  const std::string b = written("b.wdb", wdb::Layout::TypeI, [](ChannelDb& db) {
    db.svcTables[1].swapRows(0, 3);
    db.svcTables[1][1].name = "Renamed";
  });
  const std::string reordered = (dir_ / "out.wdb").string();
  EXPECT_EQ(cli({"diff", a, b}), 1);
  ASSERT_EQ(cli({"reorder", b, "--like", a, "-o", reordered}), 0) << err;
  EXPECT_NE(err.find("Channels: 12 matched, 0 not in the reference"), std::string::npos) << err;
  EXPECT_EQ(cli({"diff", a, reordered, "--json"}), 1);
  EXPECT_EQ(json::parse(out)["changes"].size(), 1u) << out;
  EXPECT_EQ(cli({"diff", reordered, reordered}), 0);
  EXPECT_EQ(out, "The databases are equal.\n");
  EXPECT_EQ(cli({"reorder", b, "-o", reordered}) + cli({"diff", a}), 2 + 2);  // usage
  // A reference without satellites orders nothing.
  std::ofstream((dir_ / "empty.json").string()) << R"({"satellites": []})";
  ASSERT_EQ(cli({"reorder", b, "--like", (dir_ / "empty.json").string(), "-o", reordered}), 0)
      << err;
  EXPECT_EQ(cli({"diff", b, reordered}), 0) << out;
}
