// Small helpers that build databases and byte buffers for the tests.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "db/channel_db.h"

namespace velmora::test {

SatRecord makeSat(std::string name, std::string sdxCode = "0130");
TpRecord makeTp(std::string frequency, std::string polarization, std::string symbolRate,
                std::string nid = "0", std::string tid = "0");
SvcRecord makeSvc(std::string name, std::string tpKey, std::string videoPid = "160",
                  std::string audioPid = "80", std::string pcrPid = "160",
                  std::string serviceId = "1", int serviceType = 4);

// `sats` satellites named "Sat 1".., each with `tpsPerSat` transponders and
// `svcsPerSat` services spread over its transponders.
ChannelDb makeDb(int sats, int tpsPerSat, int svcsPerSat);

// The receiver's full capacity: 64 satellites, 1600 transponders (25 each)
// and `services` services (6000 by default) spread evenly.
ChannelDb fullDb(int services = MAX_TOTAL_SVC);

std::vector<std::byte> bytesOf(std::string_view text);
std::string textOf(const std::vector<std::byte>& bytes);

// A file from tests/data.
std::vector<std::byte> readTestData(std::string_view name);

}  // namespace velmora::test
