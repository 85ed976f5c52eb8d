// velmora-cli run in-process on files in a folder of each test's own, and
// the documents the tests build databases from.
#pragma once

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

#include "cli/cli.h"
#include "db/western_text.h"
#include "texts.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// A database in the form the reader gives back, so that build then dump
// must reproduce it character for character. Byte 0xE9 and the control
// byte 0x05 (a DVB character-table selector) travel as code points.
inline constexpr std::string_view TYPE1_DB = R"({"layout": "I", "satellites": [
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
inline std::string pretty(std::string_view doc) {
  return nlohmann::ordered_json::parse(doc).dump(2) + "\n";
}

inline std::string replaced(std::string text, std::string_view from, std::string_view to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// Type II keeps no longitude and no switch ports.
inline std::string asTypeII(std::string_view typeI, std::string_view layout = "II") {
  std::string text = replaced(std::string(typeI), R"("layout": "I")",
                              R"("layout": ")" + std::string(layout) + '"');
  for (const char* code : {R"("0420")", R"("3590")"}) text = replaced(text, code, R"("0000")");
  text = replaced(text, R"("diseqcCommitted": "1")", R"("diseqcCommitted": "0")");
  return replaced(text, R"("diseqcUncommitted": "2")", R"("diseqcUncommitted": "0")");
}

inline std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// `sats` satellites, each with `tps` transponders and `svcs` services on
// its first transponder.
inline json databaseJson(int sats, int tps = 0, int svcs = 0) {
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
inline std::string said(std::string_view message) { return std::string(message) + "\n"; }

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

}  // namespace
