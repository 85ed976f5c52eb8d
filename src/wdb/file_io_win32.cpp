// Replacing a file on Windows: the same steps as on a POSIX system with the
// system's own calls. The new bytes go to a hidden file beside the target,
// are flushed to the disk, the previous version is kept as NAME.bak (a hard
// link, or a copy where the volume has none), and the new file takes the
// target's name in one replacing move, written through to the disk. The
// read-only attribute is honoured, as Explorer and every Windows program do.
// Our headers first: <windows.h> defines macros (NO_DATA among them) that
// would clash with names of ours.
#include "texts.h"
#include "wdb/file_io.h"

#include <random>
#include <string>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace velmora {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t NAME_MAX_CHARS = 255;

std::string systemMessage(DWORD error) {
  char* text = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message =
      n > 0 && text != nullptr ? std::string(text, n) : "Error " + std::to_string(error);
  LocalFree(text);
  while (!message.empty() &&
         (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
    message.pop_back();
  if (!message.empty() && message.back() != '.') message += '.';
  return message;
}

DWORD injected(const WriteOptions& options, FileStep step) {
  return options.failStep ? static_cast<DWORD>(options.failStep(step)) : 0;
}

fs::path hiddenNameBeside(const fs::path& target) {
  static thread_local std::mt19937 random{std::random_device{}()};
  constexpr wchar_t LETTERS[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
  std::wstring name = L"." + target.filename().wstring();
  if (name.size() > NAME_MAX_CHARS - 7) name.resize(NAME_MAX_CHARS - 7);
  name += L'.';
  for (int i = 0; i < 6; ++i) name += LETTERS[random() % (sizeof LETTERS / sizeof LETTERS[0] - 1)];
  return target.parent_path() / name;
}

DWORD writeAll(HANDLE file, const std::byte* data, std::size_t size) {
  while (size > 0) {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr)) return GetLastError();
    data += written;
    size -= written;
  }
  return 0;
}

// The previous version as NAME.bak, made under a hidden name first so that
// an older backup is replaced in one step.
DWORD keepPreviousVersion(const fs::path& target, const fs::path& backup) {
  const fs::path temp = hiddenNameBeside(backup);
  if (!CreateHardLinkW(temp.c_str(), target.c_str(), nullptr) &&
      !CopyFileW(target.c_str(), temp.c_str(), TRUE))
    return GetLastError();
  if (!MoveFileExW(temp.c_str(), backup.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    const DWORD error = GetLastError();
    DeleteFileW(temp.c_str());
    return error;
  }
  return 0;
}

}  // namespace

FileWrite writeFileAtomically(const fs::path& path, std::span<const std::byte> bytes,
                              const WriteOptions& options) {
  FileWrite result;
  auto fail = [&](DWORD error) {
    result.failure = systemMessage(error);
    result.backupNote.clear();
    return result;
  };
  if (path.empty()) return fail(ERROR_PATH_NOT_FOUND);
  fs::path target = path;
  if (target.parent_path().empty()) target = fs::path(".") / target;

  bool replacing = false;
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      result.failure = text::REASON_FOLDER;
      return result;
    }
    if (attributes & FILE_ATTRIBUTE_DEVICE) {
      result.failure = text::REASON_NOT_REGULAR;
      return result;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
      result.failure = text::REASON_READ_ONLY;
      return result;
    }
    replacing = true;
  } else if (const DWORD error = GetLastError(); error != ERROR_FILE_NOT_FOUND) {
    return fail(error);
  }

  fs::path temp;
  HANDLE file = INVALID_HANDLE_VALUE;
  DWORD error = injected(options, FileStep::Open);
  for (int attempt = 0; error == 0 && attempt < 16 && file == INVALID_HANDLE_VALUE; ++attempt) {
    temp = hiddenNameBeside(target);
    file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) error = GetLastError();
  }
  if (error == 0 && file == INVALID_HANDLE_VALUE) error = ERROR_FILE_EXISTS;
  if (error != 0) return fail(error);

  if ((error = injected(options, FileStep::Write)) == 0)
    error = writeAll(file, bytes.data(), bytes.size());
  if (error == 0 && (error = injected(options, FileStep::Sync)) == 0 && !FlushFileBuffers(file))
    error = GetLastError();
  CloseHandle(file);
  // The new file is an ordinary one once it takes the target's name.
  if (error == 0) SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);

  if (error == 0 && replacing && options.keepBackup) {
    fs::path backup = target;
    backup += ".bak";
    DWORD backupError = injected(options, FileStep::Backup);
    if (backupError == 0) backupError = keepPreviousVersion(target, backup);
    if (backupError != 0) {
      result.backupNote =
          std::string(text::BACKUP_NOT_KEPT) + backup.string() + ": " + systemMessage(backupError);
    }
  }

  if (error == 0 && (error = injected(options, FileStep::Rename)) == 0 &&
      !MoveFileExW(temp.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != 0) {
    DeleteFileW(temp.c_str());
    return fail(error);
  }
  return result;
}

}  // namespace velmora
