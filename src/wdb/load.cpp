#include "wdb/load.h"

#include <filesystem>
#include <optional>
#include <utility>

#include "db/path_text.h"
#include "texts.h"
#include "wdb/file_io.h"

namespace velmora::wdb {

namespace {

// "Cannot read PATH: REASON" with the system's reason or ours.
std::string cannotRead(std::string_view path, std::size_t maxBytes = 64u << 20) {
  const std::string reason = whyUnreadable(pathFromUtf8(path), maxBytes);
  return std::string(text::CANNOT_READ) + std::string(path) +
         (reason.empty() ? "." : ": " + reason);
}

FileBytes refused(FailureKind kind, std::string message) {
  FileBytes result;
  result.failure = {kind, std::move(message)};
  return result;
}

}  // namespace

FileBytes readInputFile(std::string_view path, const InputCheck& check,
                        const LoadOptions& options) {
  const std::filesystem::path file = pathFromUtf8(path);
  const std::string noData(text::NO_DATA_IN_FILE);
  if (options.commandLine && check.openAs) {
    if (fileFacts(systemPath(file)).kind != FileFacts::Kind::Regular)
      return refused(FailureKind::Missing, cannotRead(path));
    if (fileSizeOrZero(file) == 0) return refused(FailureKind::Empty, noData);
    if (classifyOpenPath(path) != *check.openAs)
      return refused(FailureKind::Unsupported, std::string(text::SUPPORT_FILE));
  }
  const std::uintmax_t size = fileSizeOrZero(file);
  if (!options.commandLine && size == 0) return refused(FailureKind::Empty, noData);
  if (!check.tooLong.empty() && size > check.maxBytes)
    return refused(FailureKind::TooLong, check.tooLong);
  std::optional<std::vector<std::byte>> bytes = readWholeFile(file, check.maxBytes);
  if (!bytes) {
    return refused(FailureKind::Unreadable,
                   options.commandLine ? cannotRead(path, check.maxBytes) : noData);
  }
  FileBytes result;
  result.bytes = std::move(*bytes);
  return result;
}

InputCheck databaseInputCheck() {
  return {MAX_FILE_BYTES, std::string(text::NOT_A_FORMAT), OpenKind::Wdb};
}

ReadResult loadDatabaseFile(std::string_view path, const LoadOptions& options) {
  FileBytes file = readInputFile(path, databaseInputCheck(), options);
  if (!file.ok()) {
    ReadResult refusal;
    refusal.failure = std::move(file.failure);
    return refusal;
  }
  ReadResult result = readWdb(file.bytes);
  if (result.ok() && options.unnamedChannelsAsDots) {
    for (int s = 0; s < result.db.satCount; ++s)
      nameUnnamedChannels(result.db.svcTables[static_cast<std::size_t>(s)]);
  }
  return result;
}

void nameUnnamedChannels(SvcTable& table) {
  for (SvcRecord& v : table)
    if (v.name.empty()) v.name = "....";
}

}  // namespace velmora::wdb
