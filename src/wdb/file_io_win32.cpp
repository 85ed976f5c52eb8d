// Replacing a file on Windows: the same steps as on a POSIX system with the
// system's own calls. The new bytes go to a hidden file beside the target
// and are flushed to the disk; ReplaceFileW then gives it the target's name
// and keeps the replaced file under a hidden name in the same call (the new
// file takes over the old one's ACL, attributes, creation time and
// streams); only after that does the kept file become NAME.bak. Where a
// volume cannot replace files that way (some network shares, older file
// systems) the previous version is linked or copied aside and the new file
// moved over the target, written through to the disk. The read-only
// attribute is honoured, as Explorer and every Windows program do.
// Our headers first: <windows.h> defines macros (NO_DATA among them) that
// would clash with names of ours.
#include <cerrno>
#include <cstddef>
#include <random>
#include <string>
#include <system_error>

#include "db/path_text.h"
#include "texts.h"
#include "wdb/file_io.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <winioctl.h>

namespace velmora {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t NAME_MAX_CHARS = 255;
// Links followed before giving up, as a POSIX system does.
constexpr int MAX_LINKS = 40;

// The most a name made beside the target adds to its path: the hidden
// backup ".NAME.bak.xxxxxx".
constexpr std::size_t NAMES_BESIDE = 12;

std::string utf8(std::wstring_view wide) {
  return utf8FromUtf16(std::u16string(wide.begin(), wide.end()));
}

// A path as the user knows it: without the long form's "\\?\" prefix.
std::string shown(const fs::path& path) {
  std::wstring_view text = path.native();
  if (text.starts_with(L"\\\\?\\UNC\\")) return "\\\\" + utf8(text.substr(8));
  if (text.starts_with(L"\\\\?\\")) return utf8(text.substr(4));
  return utf8FromPath(path);
}

// The system's sentence for an error, in English where the system has it,
// else in its own language, as UTF-8.
std::string systemMessage(DWORD error) {
  constexpr DWORD FLAGS =
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  wchar_t* text = nullptr;
  DWORD n = FormatMessageW(FLAGS, nullptr, error, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                           reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (n == 0) {
    n = FormatMessageW(FLAGS, nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  }
  std::string message = n > 0 && text != nullptr ? utf8(std::wstring_view(text, n))
                                                 : "Error " + std::to_string(error);
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

bool isThere(const fs::path& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The reparse data of a symbolic link as FSCTL_GET_REPARSE_POINT gives it.
struct SymbolicLinkData {
  DWORD tag;
  WORD dataLength;
  WORD reserved;
  WORD substituteOffset;
  WORD substituteLength;
  WORD printOffset;
  WORD printLength;
  ULONG flags;
  wchar_t names[1];
};

// The full path of the file that `path` leads to, when the system marks a
// link it cannot describe (Wine shows a POSIX symbolic link so): `next`
// stays empty when there is no such file.
DWORD finalPath(const fs::path& path, fs::path& next) {
  HANDLE handle =
      CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return 0;
  std::wstring full(32768, L'\0');
  const DWORD n = GetFinalPathNameByHandleW(handle, full.data(), static_cast<DWORD>(full.size()),
                                            FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  CloseHandle(handle);
  if (n == 0 || n >= full.size()) return 0;
  full.resize(n);
  if (full.starts_with(L"\\\\?\\UNC\\")) {
    full = L"\\\\" + full.substr(8);
  } else if (full.starts_with(L"\\\\?\\")) {
    full = full.substr(4);
  }
  if (fs::path(full) != path) next = full;
  return 0;
}

// Where the symbolic link `link` leads; empty when it is no symbolic link
// (another kind of reparse point is a file like any other). 0 or the error.
DWORD readSymbolicLink(const fs::path& link, fs::path& next) {
  next.clear();
  HANDLE handle = CreateFileW(
      link.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return GetLastError();
  alignas(8) unsigned char buffer[MAXIMUM_REPARSE_DATA_BUFFER_SIZE];
  DWORD size = 0;
  const BOOL read = DeviceIoControl(handle, FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer,
                                    sizeof buffer, &size, nullptr);
  const DWORD error = read ? 0 : GetLastError();
  CloseHandle(handle);
  if (error == ERROR_NOT_A_REPARSE_POINT) return finalPath(link, next);
  if (error != 0) return error;
  const auto* data = reinterpret_cast<const SymbolicLinkData*>(buffer);
  constexpr std::size_t HEAD = offsetof(SymbolicLinkData, names);
  if (size < HEAD || data->tag != IO_REPARSE_TAG_SYMLINK) return 0;
  const std::size_t at = HEAD + data->substituteOffset;
  if (data->substituteLength == 0 || at + data->substituteLength > size) return 0;
  std::wstring target(reinterpret_cast<const wchar_t*>(buffer + at),
                      data->substituteLength / sizeof(wchar_t));
  // The system's own spelling of a full path: "\??\C:\..." or
  // "\??\UNC\server\share\...".
  if (target.starts_with(L"\\??\\UNC\\")) {
    target = L"\\\\" + target.substr(8);
  } else if (target.starts_with(L"\\??\\")) {
    target = target.substr(4);
  }
  const fs::path path(target);
  next = (data->flags & SYMLINK_FLAG_RELATIVE) != 0 ? link.parent_path() / path : path;
  return 0;
}

// Follows symbolic links from `path` to the file they lead to, which need
// not exist yet. 0 on success, else the system's error.
DWORD followLinks(fs::path& path) {
  for (int i = 0; i < MAX_LINKS; ++i) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
      return 0;
    fs::path next;
    if (const DWORD error = readSymbolicLink(path, next); error != 0) return error;
    if (next.empty()) return 0;
    path = std::move(next);
  }
  return ERROR_CANT_RESOLVE_FILENAME;
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

// Gives the kept previous version the name `backup`, replacing an older
// backup in one step; the hidden name is gone afterwards either way.
DWORD nameBackup(const fs::path& kept, const fs::path& backup) {
  DWORD error = 0;
  if (!MoveFileExW(kept.c_str(), backup.c_str(), MOVEFILE_REPLACE_EXISTING)) error = GetLastError();
  if (isThere(kept)) DeleteFileW(kept.c_str());
  return error;
}

// The move that replaces the target where ReplaceFileW cannot: the
// previous version linked or copied to `kept` first (when `kept` is not
// empty; cleared when that fails, with the reason in `keepError`).
DWORD moveOver(const fs::path& temp, const fs::path& target, fs::path& kept, DWORD& keepError) {
  if (!kept.empty() && !CreateHardLinkW(kept.c_str(), target.c_str(), nullptr) &&
      !CopyFileW(target.c_str(), kept.c_str(), TRUE)) {
    keepError = GetLastError();
    kept.clear();
  }
  if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return 0;
  const DWORD error = GetLastError();
  if (!kept.empty()) DeleteFileW(kept.c_str());
  kept.clear();
  return error;
}

// Puts the new file `temp` in the place of `target`, keeping the replaced
// file as `kept` when that is not empty (cleared when it could not be kept,
// the reason in `keepError`). 0 or the error, with the target as it was.
DWORD replaceTarget(const fs::path& temp, const fs::path& target, fs::path& kept,
                    DWORD& keepError) {
  const wchar_t* keepAs = kept.empty() ? nullptr : kept.c_str();
  if (ReplaceFileW(target.c_str(), temp.c_str(), keepAs,
                   REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                   nullptr))
    return 0;
  const DWORD error = GetLastError();
  // The replaced file went to the kept name but the new one could not
  // follow: it goes back, and the save has failed.
  if (!isThere(target) && !kept.empty() && isThere(kept)) {
    MoveFileExW(kept.c_str(), target.c_str(), 0);
    kept.clear();
    return error;
  }
  if (!kept.empty() && isThere(kept)) DeleteFileW(kept.c_str());
  // Both files have their names: the volume may not replace files that way.
  return moveOver(temp, target, kept, keepError);
}

}  // namespace

// Asked of the file itself, through any links: the C runtime's stat cannot
// look at a path in its long form.
FileFacts fileFacts(const fs::path& path) {
  FileFacts facts;
  HANDLE handle = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    // A missing file is said in the same words on every system.
    const DWORD error = GetLastError();
    facts.why = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                    ? std::generic_category().message(ENOENT) + "."
                    : systemMessage(error);
    return facts;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info)) {
    facts.kind = FileFacts::Kind::Other;
  } else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    facts.kind = FileFacts::Kind::Folder;
  } else {
    facts.kind = FileFacts::Kind::Regular;
    facts.size = (static_cast<std::uintmax_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  }
  CloseHandle(handle);
  return facts;
}

FileWrite writeFileAtomically(const fs::path& path, std::span<const std::byte> bytes,
                              const WriteOptions& options) {
  FileWrite result;
  auto fail = [&](DWORD error) {
    result.failure = systemMessage(error);
    result.backupNote.clear();
    return result;
  };
  if (path.empty()) return fail(ERROR_PATH_NOT_FOUND);

  // A link stays a link: the file it leads to is the one replaced. A long
  // path goes to the system in its long form, and so do the names made
  // beside it.
  fs::path target = systemPath(path, NAMES_BESIDE);
  if (const DWORD error = followLinks(target); error != 0) return fail(error);
  // The backup as the user named the file, unless a link led elsewhere.
  const std::string backupText =
      (target == systemPath(path, NAMES_BESIDE) ? utf8FromPath(path) : shown(target)) + ".bak";
  if (target.parent_path().empty()) target = fs::path(".") / target;
  target = systemPath(target, NAMES_BESIDE);

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

  // The replaced file is kept under a hidden name until the new one has its
  // name, and only then called NAME.bak: a save that fails leaves an older
  // NAME.bak alone.
  fs::path backup = target;
  backup += ".bak";
  fs::path kept;
  DWORD backupError = 0;
  if (error == 0 && replacing && options.keepBackup) {
    if ((backupError = injected(options, FileStep::Keep)) == 0) {
      for (int attempt = 0; attempt < 16 && (kept.empty() || isThere(kept)); ++attempt)
        kept = hiddenNameBeside(backup);
    }
  }
  if (error == 0) error = injected(options, FileStep::Rename);
  if (error == 0 && replacing) {
    error = replaceTarget(temp, target, kept, backupError);
  } else if (error == 0 && !MoveFileExW(temp.c_str(), target.c_str(),
                                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != 0) {
    DeleteFileW(temp.c_str());
    return fail(error);
  }

  if (!kept.empty() && isThere(kept)) {
    if ((backupError = injected(options, FileStep::Backup)) == 0) {
      backupError = nameBackup(kept, backup);
    } else {
      DeleteFileW(kept.c_str());
    }
  }
  if (backupError != 0) {
    result.backupNote =
        std::string(text::BACKUP_NOT_KEPT) + backupText + ": " + systemMessage(backupError);
  }
  return result;
}

}  // namespace velmora
