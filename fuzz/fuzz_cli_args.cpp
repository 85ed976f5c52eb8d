// Any command line given to velmora-cli. The input is the argument list,
// arguments separated by NUL or line feed. The commands run in a folder of
// their own holding a database of each layout (a.wdb, b.wdb), a JSON
// database (db.json), a listing (l.sdx) and a favourite folder; those are
// read-only, so the writer refuses to replace them, and whatever a command
// writes is removed after it. An argument with a '/' is not run, so that no
// command reaches outside that folder.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
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
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path dir = base / ("velmora-fuzz-cli-" + std::to_string(::getpid()));
    fs::remove_all(dir);
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

}  // namespace

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
  fuzz::check(rc >= 0 && rc <= 2, "exit code 0, 1 or 2");
  // check answers with its findings on standard output, an unreadable file
  // being one of them; every other command says why on standard error.
  const bool findings = args[0] == "check" && !out.str().empty();
  fuzz::check(rc == 0 || !err.str().empty() || findings, "a failure says why");

  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(".", ec)) {
    if (!box.inputs.contains(entry.path().filename())) fs::remove_all(entry.path(), ec);
  }
  fs::current_path(outside);
  return 0;
}
