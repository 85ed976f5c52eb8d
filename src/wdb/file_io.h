// The one place where whole files are read and written. Writing goes through
// a temporary file beside the target that is renamed over it, so a failed
// save never damages the file that was there.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace velmora {

// Whole content of a regular file; nullopt when it cannot be read. Files
// larger than maxBytes are refused as unreadable rather than loaded.
std::optional<std::vector<std::byte>> readWholeFile(const std::filesystem::path& path,
                                                    std::size_t maxBytes = 64u << 20);

// Size of a regular file, 0 when it is missing, empty or not a regular file.
std::uintmax_t fileSizeOrZero(const std::filesystem::path& path);

// Writes all bytes to a temporary file in the target's folder, flushes and
// closes it, then renames it over the target. false on any failure, in
// which case the target is as it was and no temporary file is left.
bool writeFileAtomically(const std::filesystem::path& path, std::span<const std::byte> bytes);

}  // namespace velmora
