// The one place where whole files are read and written.
//
// Saving replaces a file the way a careful user expects: the new bytes go to
// a temporary file beside the target, are forced to the disk, and only then
// take the target's name in one rename, so a crash at any moment leaves
// either the old or the new file complete. The replaced file keeps what the
// user set on it (a link stays a link, the mode and owner stay, the group
// where the system lets the user give it) and its previous version is kept
// as NAME.bak beside it: held under a hidden name until the new file has the
// target's name, and only then called NAME.bak, so that a save that fails
// leaves an older NAME.bak as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velmora {

// Whole content of a regular file; nullopt when it cannot be read. Files
// larger than maxBytes are refused as unreadable rather than loaded.
std::optional<std::vector<std::byte>> readWholeFile(const std::filesystem::path& path,
                                                    std::size_t maxBytes = 64u << 20);

// Why readWholeFile(path, maxBytes) gives nothing, as a sentence: the
// system's message ("No such file or directory."), or that the path is a
// folder, not a regular file, or larger than maxBytes. Empty when the file
// can be read.
std::string whyUnreadable(const std::filesystem::path& path, std::size_t maxBytes = 64u << 20);

// Paths come from UTF-8 text through pathFromUtf8 (db/path_text.h); long
// ones work on Windows too.

// Whether anything (a file, a folder, a device) has that name.
bool pathExists(const std::filesystem::path& path);

// What the system says of a name, links followed: nothing there (`why`
// says the system's reason), a folder, a file of another kind (a device, a
// pipe), or a regular file of `size` bytes. Asked of the system's own
// calls on Windows, whose C runtime cannot look at a long path.
struct FileFacts {
  enum class Kind { Missing, Folder, Other, Regular } kind = Kind::Missing;
  std::uintmax_t size = 0;
  std::string why;
};
FileFacts fileFacts(const std::filesystem::path& path);

// Size of a regular file, 0 when it is missing, empty or not a regular file.
std::uintmax_t fileSizeOrZero(const std::filesystem::path& path);

// The steps of a save that touch the file system, named so that a test can
// make any one of them fail.
enum class FileStep {
  Open,    // creating the temporary file
  Write,   // writing its bytes
  Sync,    // forcing them to the disk
  Keep,    // keeping the file being replaced under a hidden name
  Rename,  // giving the new file the target's name
  Backup,  // giving the kept file the name NAME.bak
};

struct WriteOptions {
  // Keep the bytes of a file being replaced as NAME.bak beside it.
  bool keepBackup = true;
  // For tests: called before each step; a non-zero result is taken as the
  // system's error number for that step, which then fails without running.
  std::function<int(FileStep)> failStep;
};

// How a save went. `failure` says why nothing was written (the system's
// message or one of ours, a sentence); `backupNote` why the previous version
// could not be kept although the file was written.
struct FileWrite {
  std::string failure;
  std::string backupNote;
  explicit operator bool() const { return failure.empty(); }
};

// Writes all bytes to `path`, replacing an existing regular file as
// described above. Refuses a target that is not a regular file or that is
// marked read-only (no write permission bit set for anyone; the check is our
// own, so it holds for root too). On failure the target and NAME.bak are as
// they were and no new name is left in the folder; only a killed process
// leaves a hidden temporary file behind.
FileWrite writeFileAtomically(const std::filesystem::path& path, std::span<const std::byte> bytes,
                              const WriteOptions& options = {});

}  // namespace velmora
