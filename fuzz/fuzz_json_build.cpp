// Any bytes as the JSON input of build: refused with a message, or a
// database within the receiver's limits that survives a round trip through
// JSON and whose image is written or refused by the save's own rules.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "fuzz_check.h"
#include "json/json_db.h"
#include "wdb/wdb_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  json::JsonDocument doc = json::parseDatabaseJson(text, "in.json");
  if (!doc.ok()) return 0;
  const auto layout = doc.layout.value_or(wdb::Layout::TypeI);
  ChannelDb db;
  if (json::fillDatabase(std::move(doc), db).failed()) return 0;
  fuzz::check(db.satCount >= 1 && db.satCount <= MAX_SATS, "1..64 satellites");

  std::ostringstream dumped;
  json::writeDatabaseJson(dumped, db, layout);
  json::JsonDocument again = json::parseDatabaseJson(dumped.str());
  if (!again.ok()) fuzz::fail("our own JSON is refused: " + again.failure.message);
  ChannelDb back;
  fuzz::check(!json::fillDatabase(std::move(again), back).failed(), "our own JSON fills");
  fuzz::checkSameDatabase(db, back);

  for (const auto l : {wdb::Layout::TypeI, wdb::Layout::TypeII}) {
    ChannelDb copy = db;
    int counter = 0;
    const wdb::WriteResult image = wdb::writeWdb(copy, l, FavouriteList{}, counter);
    fuzz::check(image.ok() == !wdb::saveRefusal(db, l).failed(), "written unless refused");
    if (image.ok()) fuzz::check(wdb::readWdb(image.bytes).ok(), "the image reads");
  }
  return 0;
}
