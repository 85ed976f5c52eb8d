// velmora-cli reorder, diff, and check on files that a load would lose
// records of, run in-process on databases written by the core and then
// spoiled byte by byte.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli.h"
#include "support/db_builders.h"
#include "wdb/wdb_format.h"

namespace fs = std::filesystem;
using nlohmann::json;
using namespace velmora;

namespace {

class CliMatch : public ::testing::Test {
 protected:
  CliMatch() : dir_(fs::temp_directory_path() / ("velmora_match_" + std::to_string(getpid()))) {
    fs::create_directories(dir_);
  }
  ~CliMatch() override { fs::remove_all(dir_); }

  // Three satellites of two transponders and four channels, written in
  // `layout` and then changed by `spoil`.
  std::string written(const std::string& name, wdb::Layout layout,
                      const std::function<void(ChannelDb&)>& change = {},
                      const std::function<void(std::vector<std::byte>&)>& spoil = {}) {
    ChannelDb db = test::makeDb(3, 2, 4);
    if (change) change(db);
    int counter = 0;
    std::vector<std::byte> bytes = wdb::writeWdb(db, layout, {}, counter).bytes;
    if (spoil) spoil(bytes);
    const std::string p = (dir_ / name).string();
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return p;
  }
  int cli(std::vector<std::string> args, std::string& out, std::string& err) {
    std::ostringstream o, e;
    const int rc = cli::run(args, o, e, cli::Env{dir_});
    out = o.str();
    err = e.str();
    return rc;
  }
  fs::path dir_;
};

void put(std::vector<std::byte>& b, std::size_t at, unsigned value) {
  b[at] = static_cast<std::byte>(value & 0xFF);
}

// Type I: transponder records from 2066, services (tp number at +2) after
// the six transponders and two markers; Type II satellites of 28 bytes.
constexpr std::size_t TP1 = 2066, SVC1 = 2066 + 6 * 12 + 8;

}  // namespace

TEST_F(CliMatch, CheckReportsEveryRecordALoadWouldLeaveOutAndAlwaysAnswersInJson) {
  struct Case {
    const char* kind;
    int record;
    wdb::Layout layout;
    std::function<void(ChannelDb&)> change;
    std::function<void(std::vector<std::byte>&)> spoil;
    int lostChannels;
  };
  const auto I = wdb::Layout::TypeI;
  const Case cases[] = {
      {"channel-without-transponder", 5, I, {}, [](auto& b) { put(b, SVC1 + 4 * 32 + 2, 0); }, 1},
      {"channel-without-transponder", 2, I, {}, [](auto& b) { put(b, SVC1 + 32 + 2, 7); }, 1},
      {"transponder-without-satellite", 3, I, {}, [](auto& b) { put(b, TP1 + 2 * 12, 0); }, 2},
      {"transponder-in-unused-slot", 6, I, {}, [](auto& b) { put(b, TP1 + 5 * 12, 9); }, 0},
      {"header-over-limit", 0, I, {}, [](auto& b) { put(b, 0, 65); }, -1},
      {"dropped-as-unused",
       3,
       I,
       [](ChannelDb& db) {
         db.sats[2].name = "NEWS 24";
         db.tpTables[2].clear();
         db.svcTables[2].clear();
       },
       {},
       0},
      {"satellite-not-loaded",
       2,
       wdb::Layout::TypeII,
       {},
       [](auto& b) {
         put(b, 10 + 28 + 2, 'N'), put(b, 10 + 28 + 3, 'E'), put(b, 10 + 28 + 4, 'W');
       },
       8},
  };
  std::string out, err;
  for (const Case& c : cases) {
    const std::string in = written("spoilt.wdb", c.layout, c.change, c.spoil);
    EXPECT_EQ(cli({"check", in, "--json"}, out, err), 1) << c.kind;
    const json report = json::parse(out);
    ASSERT_GE(report["findings"].size(), 1u) << c.kind << out;
    EXPECT_EQ(report["findings"][0]["kind"], c.kind) << out;
    EXPECT_EQ(report["findings"][0]["row"], c.record) << out;
    if (c.lostChannels < 0) continue;
    // The other commands still work, and say what was lost.
    EXPECT_EQ(cli({"convert", in, "-o", (dir_ / "out.wdb").string(), "--layout", "I"}, out, err),
              0);
    // A satellite that shows up in an unused slot is there, not lost.
    EXPECT_EQ(err.find("Warning") != std::string::npos,
              c.kind != std::string("transponder-in-unused-slot"))
        << c.kind << err;
    if (c.lostChannels > 0) {
      EXPECT_NE(err.find(std::to_string(c.lostChannels) + " channel"), std::string::npos) << err;
    }
  }
  // Nothing to read at all is one finding, still as JSON.
  for (const std::string& in : {(dir_ / "missing.wdb").string(),
                                written("short.wdb", I, {}, [](auto& b) { b.resize(40); })}) {
    EXPECT_EQ(cli({"check", in, "--json"}, out, err), 1);
    EXPECT_EQ(json::parse(out)["findings"][0]["kind"], "unreadable") << in;
  }
  EXPECT_EQ(cli({"check", written("clean.wdb", I)}, out, err), 0) << out;
}

TEST_F(CliMatch, ReorderTakesTheReferenceOrderAndDiffSeesWhatChanged) {
  const std::string a = written("a.wdb", wdb::Layout::TypeI);
  const std::string b = written("b.wdb", wdb::Layout::TypeI, [](ChannelDb& db) {
    std::swap(db.sats[0], db.sats[2]);
    std::swap(db.tpTables[0], db.tpTables[2]);
    std::swap(db.svcTables[0], db.svcTables[2]);
    db.svcTables[1].swapRows(0, 3);
    db.svcTables[1][1].name = "Renamed";
  });
  const std::string out1 = (dir_ / "out.wdb").string();
  std::string out, err;
  EXPECT_EQ(cli({"diff", a, b}, out, err), 1);
  EXPECT_NE(out.find("channel \"Renamed\": changed name"), std::string::npos) << out;
  ASSERT_EQ(cli({"reorder", b, "--like", a, "-o", out1}, out, err), 0) << err;
  EXPECT_NE(err.find("Channels: 12 matched, 0 not in the reference"), std::string::npos) << err;
  EXPECT_EQ(cli({"diff", a, out1, "--json"}, out, err), 1);
  const json changes = json::parse(out)["changes"];
  ASSERT_EQ(changes.size(), 1u) << out;
  EXPECT_EQ(changes[0]["kind"], "changed");
  EXPECT_EQ(cli({"diff", out1, out1}, out, err), 0);
  EXPECT_EQ(out, "The databases are equal.\n");
  EXPECT_EQ(cli({"reorder", b, "-o", out1}, out, err), 2);
  EXPECT_EQ(cli({"diff", a}, out, err), 2);
}
