// Writes the generated seed inputs of the fuzz targets into a folder:
// databases made by our own writer, small and full, in both layouts, whole
// and cut after their last marker and six zeros (which the reader takes,
// and which the fuzzer can mutate far faster), and the same databases as
// JSON.
//
//   fuzz_seeds OUT_DIR   -> OUT_DIR/wdb_reader/*.wdb (the same in wdb_selfmatch),
//                           OUT_DIR/json_build/*.json
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "json/json_db.h"
#include "wdb/wdb_format.h"

namespace {

namespace fs = std::filesystem;
using namespace velmora;

// `sats` satellites sharing `tps` transponders and `svcs` services, with
// settings that reach every branch of the record codecs.
ChannelDb database(int sats, int tps, int svcs) {
  ChannelDb db;
  static const char* const DISEQC[] = {"NONE", "D1.0", "D1.1", "MOTOR", "USALS"};
  for (int s = 0; s < sats; ++s) {
    SatRecord sat;
    sat.name = s == 0 ? "Hotbird 13E" : "Sat " + std::to_string(s);
    sat.lnbFreq1 = s % 3 == 0 ? "9750" : "10600";
    sat.lnbFreq2 = s % 3 == 0 ? "10600" : (s % 3 == 1 ? "0" : "5150");
    sat.diseqc = DISEQC[s % 5];
    sat.tone22k = s % 2 ? "On" : "Off";
    sat.switch12v = s % 2 ? "Off" : "On";
    sat.lnbPower = "On";
    sat.sdxCode = std::to_string(100 + (s * 97) % 3500);
    sat.diseqcCommitted = std::to_string(s % 5);
    sat.diseqcUncommitted = std::to_string(s % 17);
    db.appendSatellite(sat);
  }
  for (int t = 0; t < tps; ++t) {
    TpRecord tp;
    tp.frequency = std::to_string(10700 + t);
    tp.polarization = t % 2 ? "V" : "H";
    tp.symbolRate = t % 3 ? "27500" : "22000";
    db.tpTables[static_cast<std::size_t>(t % sats)].append(tp);
  }
  for (int v = 0; v < svcs; ++v) {
    const int s = v % sats;
    const TpTable& table = db.tpTables[static_cast<std::size_t>(s)];
    if (table.empty()) continue;
    SvcRecord svc;
    svc.name = "Channel " + std::to_string(v);
    svc.videoPid = v % 4 == 3 ? "0" : std::to_string(160 + v % 7000);
    svc.audioPid = std::to_string(80 + v % 7000);
    svc.pcrPid = svc.videoPid;
    svc.serviceId = std::to_string(v + 1);
    svc.serviceType = v % 4 == 3 ? 8 + v % 2 : 4 + v % 2;
    svc.tpKey = tpKeyLong(table[v % table.count()]);
    db.svcTables[static_cast<std::size_t>(s)].append(svc);
  }
  db.recountTotals();
  return db;
}

void save(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds OUT_DIR\n");
    return 2;
  }
  const fs::path out = argv[1];
  fs::create_directories(out / "wdb_reader");
  fs::create_directories(out / "wdb_selfmatch");
  fs::create_directories(out / "json_build");
  struct Seed {
    const char* name;
    int sats, tps, svcs;
  };
  const Seed seeds[] = {{"small", 2, 3, 4},
                        {"medium", 8, 60, 120},
                        {"full", 64, 1600, 6000},
                        {"full-type2", 64, 1600, 3056}};
  for (const Seed& seed : seeds) {
    for (const auto layout : {wdb::Layout::TypeI, wdb::Layout::TypeII}) {
      ChannelDb db = database(seed.sats, seed.tps, seed.svcs);
      int counter = 0;
      const wdb::WriteResult image = wdb::writeWdb(db, layout, {}, counter);
      if (!image.ok()) continue;  // the full database is too big for Type II
      const std::string name = std::string(seed.name) + "-" + std::string(wdb::layoutName(layout));
      const std::string_view bytes(reinterpret_cast<const char*>(image.bytes.data()),
                                   image.bytes.size());
      for (const char* target : {"wdb_reader", "wdb_selfmatch"})
        save(out / target / (name + ".wdb"), bytes);
      // The content ends at the last end marker; the reader needs six
      // zeros after it.
      const std::size_t content =
          (layout == wdb::Layout::TypeI ? 2074 + 32 * db.totalSvc : 1818 + 36 * db.totalSvc) +
          12 * static_cast<std::size_t>(db.totalTp) + 4;
      for (const char* target : {"wdb_reader", "wdb_selfmatch"})
        save(out / target / (name + "-cut.wdb"), bytes.substr(0, content + 6));
      std::ostringstream json;
      json::writeDatabaseJson(json, db, layout);
      save(out / "json_build" / (name + ".json"), json.str());
    }
  }
  return 0;
}
