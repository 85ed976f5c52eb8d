// Any command line given to velmora-cli. The input is the argument list,
// arguments separated by NUL or line feed. The commands run in a folder of
// their own holding a database of each layout (a.wdb, b.wdb), a JSON
// database (db.json), a listing (l.sdx) and a favourite folder; those are
// read-only, so the writer refuses to replace them, and whatever a command
// writes is removed after it. An argument with a '/' is not run, so that no
// command reaches outside that folder.
// What any command line must give: an exit code 0, 1 or 2; a reason on
// standard error for a failure, unless check or diff gave their verdict;
// UTF-8 text on both outputs; JSON when JSON was asked for.
#include <sys/stat.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "db/utf8.h"
#include "fuzz_check.h"
#include "json/json_db.h"
#include "wdb/wdb_format.h"

namespace {

namespace fs = std::filesystem;
using namespace velmora;

constexpr std::string_view LISTING =
    "SATCODX103Hotbird 13E        MPG2 11034   0CNN INTL0130              27500 "
    "016000800161000010031800200         ____            \n"
    "SATCODX103Hotbird 13E        MPG2 12111   HRadio 1 0130              27500 "
    "____00800161000020031800201         Irde            \n";

ChannelDb smallDb() {
  ChannelDb db;
  SatRecord sat;
  sat.name = "Astra 19.2E";
  sat.lnbFreq1 = "9750";
  sat.lnbFreq2 = "10600";
  sat.sdxCode = "0192";
  db.appendSatellite(sat);
  TpRecord tp;
  tp.frequency = "11494";
  tp.polarization = "H";
  tp.symbolRate = "22000";
  db.tpTables[0].append(tp);
  SvcRecord svc;
  svc.name = "Das Erste";
  svc.videoPid = "101";
  svc.audioPid = "102";
  svc.serviceId = "28106";
  svc.serviceType = 4;
  svc.tpKey = "11494H22000";
  db.svcTables[0].append(svc);
  db.recountTotals();
  return db;
}

void writeInput(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ::chmod(path.c_str(), 0444);
}

struct Sandbox {
  fs::path dir;
  std::set<std::string> inputs;
};

// The folder the commands run in, made once, and the names in it.
const Sandbox& sandbox() {
  static const Sandbox made = [] {
    const fs::path dir = fuzz::makeSandbox("cli");
    fs::create_directories(dir / "favor");
    const fs::path outside = fs::current_path();
    fs::current_path(dir);
    for (const auto layout : {wdb::Layout::TypeI, wdb::Layout::TypeII}) {
      ChannelDb db = smallDb();
      int counter = 0;
      const wdb::WriteResult image = wdb::writeWdb(db, layout, {}, counter);
      writeInput(layout == wdb::Layout::TypeI ? "a.wdb" : "b.wdb",
                 {reinterpret_cast<const char*>(image.bytes.data()), image.bytes.size()});
    }
    std::ostringstream json;
    json::writeDatabaseJson(json, smallDb(), wdb::Layout::TypeI);
    writeInput("db.json", json.str());
    writeInput("l.sdx", LISTING);
    writeInput("favor/satlist1.sdx", "Astra\nNEW 1\n");
    Sandbox box{dir, {}};
    for (const auto& entry : fs::directory_iterator("."))
      box.inputs.insert(entry.path().filename());
    fs::current_path(outside);
    return box;
  }();
  return made;
}

bool validUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    if (nextUtf8CodePoint(text, i) == 0xFFFD && i == start + 1) return false;
  }
  return true;
}

bool given(const std::vector<std::string>& args, std::initializer_list<std::string_view> any) {
  return std::any_of(args.begin(), args.end(), [&](const std::string& a) {
    return std::find(any.begin(), any.end(), a) != any.end();
  });
}

}  // namespace

// The commands run inside the sandbox, where a relative artifact path would
// put the fuzzer's failing input: its paths are made absolute against the
// folder it was started in, which also receives the inputs when none is
// given.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static std::vector<std::string> args;
  static std::vector<char*> pointers;
  const std::string here = fs::current_path().string() + "/";
  bool placed = false;
  for (int i = 0; i < *argc; ++i) {
    std::string arg = (*argv)[i];
    for (const std::string_view flag : {"-artifact_prefix=", "-exact_artifact_path="}) {
      if (!arg.starts_with(flag)) continue;
      placed = true;
      if (arg.size() > flag.size() && arg[flag.size()] != '/') arg.insert(flag.size(), here);
    }
    args.push_back(std::move(arg));
  }
  if (!placed) args.push_back("-artifact_prefix=" + here);
  for (std::string& arg : args) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  *argc = static_cast<int>(args.size());
  *argv = pointers.data();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Sandbox& box = sandbox();
  std::vector<std::string> args(1);
  for (std::size_t i = 0; i < size; ++i) {
    const char c = static_cast<char>(data[i]);
    if (c == '/') return 0;
    if (c == '\0' || c == '\n') {
      if (args.size() == 16) return 0;
      args.emplace_back();
    } else {
      args.back() += c;
    }
  }
  // Inside the folder only while the command runs: the fuzzer's own paths
  // are relative to where it was started.
  const fs::path outside = fs::current_path();
  fs::current_path(box.dir);
  std::ostringstream out, err;
  const int rc = cli::run(args, out, err, cli::Env{box.dir});
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(".", ec)) {
    if (!box.inputs.contains(entry.path().filename())) fs::remove_all(entry.path(), ec);
  }
  fs::current_path(outside);

  // The command is the first argument that is not an option, as the
  // program finds it.
  const auto named = std::find_if(args.begin(), args.end(),
                                  [](const std::string& a) { return !a.starts_with('-'); });
  const std::string command = named == args.end() ? "" : *named;
  const bool help = given(args, {"-h", "--help", "--version"});
  fuzz::check(rc >= 0 && rc <= 2, "exit code 0, 1 or 2");
  // A failure says why on standard error; check and diff answer 1 with
  // their verdict (findings, differences) on standard output.
  const bool verdict = rc == 1 && (command == "check" || command == "diff") && !out.str().empty();
  fuzz::check(rc == 0 || !err.str().empty() || verdict, "a failure says why");
  fuzz::check(validUtf8(out.str()) && validUtf8(err.str()), "what the program writes is UTF-8");
  // check always answers, an unreadable file being a finding; asked for
  // JSON, every report is JSON.
  if (rc != 2 && !help) {
    fuzz::check(command != "check" || !out.str().empty(), "check answers");
    const bool json = command == "dump" || given(args, {"--json"});
    fuzz::check(!json || out.str().empty() || nlohmann::json::accept(out.str()),
                "a JSON report is JSON");
  }
  return 0;
}
