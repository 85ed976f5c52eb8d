// Replacing a file on a POSIX system. Everything the saving writer does to
// the file system is here, so that another system's version can take this
// file's place.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string>
#include <system_error>

#include "db/path_text.h"
#include "texts.h"
#include "wdb/file_io.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

// Longest name of one folder entry on the file systems we write to.
constexpr std::size_t NAME_MAX_BYTES = 255;
// Links followed before giving up, as the system itself does.
constexpr int MAX_LINKS = 40;

std::string systemMessage(int error) { return std::string(std::strerror(error)) + "."; }

// The test hook of a step, 0 when it may run.
int injected(const WriteOptions& options, FileStep step) {
  return options.failStep ? options.failStep(step) : 0;
}

// Follows symbolic links from `path` to the file they lead to, which need
// not exist yet. 0 on success, else the system's error number.
int followLinks(fs::path& path) {
  for (int i = 0; i < MAX_LINKS; ++i) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
    if (!S_ISLNK(st.st_mode)) return 0;
    std::error_code ec;
    const fs::path next = fs::read_symlink(path, ec);
    if (ec) return ec.value();
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return ELOOP;
}

// A hidden name beside `target`, made from the target's (".NAME.XXXXXX",
// the name cut so that the whole fits a folder entry), for files that take
// the target's or the backup's name once they are complete.
fs::path hiddenNameBeside(const fs::path& target) {
  static thread_local std::mt19937 random{std::random_device{}()};
  constexpr char LETTERS[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string name = "." + target.filename().string();
  if (name.size() > NAME_MAX_BYTES - 7) name.resize(NAME_MAX_BYTES - 7);
  name += '.';
  for (int i = 0; i < 6; ++i) name += LETTERS[random() % (sizeof LETTERS - 1)];
  return target.parent_path() / name;
}

// Runs `make` on fresh hidden names beside `target` until one is not taken.
// 0 with `made` set, or the system's error.
template <class Make>
int makeBeside(const fs::path& target, fs::path& made, Make make) {
  for (int attempt = 0; attempt < 64; ++attempt) {
    made = hiddenNameBeside(target);
    if (make(made)) return 0;
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

int writeAll(int fd, const std::byte* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}

// Forces the folder's entries (the renames) to the disk. Some file systems
// cannot sync a folder; the file itself is already on the disk then, so
// this is done where it can be and not reported.
void syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)::fsync(fd);
  ::close(fd);
}

// Copies the bytes of `from` into the new file `out` and gives it the mode
// in `st`. 0 on success, else the system's error.
int copyInto(const fs::path& from, int out, const struct stat& st) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return errno;
  int error = 0;
  std::byte buffer[65536];
  for (;;) {
    const ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    if (n <= 0) break;
    if ((error = writeAll(out, buffer, static_cast<std::size_t>(n))) != 0) break;
  }
  ::close(in);
  if (error == 0 && ::fsync(out) != 0) error = errno;
  if (error == 0) (void)::fchmod(out, st.st_mode & 07777);
  return error;
}

// Keeps the file being replaced under a hidden name beside `backup`: a
// second name for the same file where the file system has hard links, a
// copy where it has not. 0 with `kept` set, else the system's error.
int keepUnderHiddenName(const fs::path& target, const fs::path& backup, const struct stat& st,
                        fs::path& kept) {
  int error = makeBeside(backup, kept, [&](const fs::path& name) {
    return ::link(target.c_str(), name.c_str()) == 0;
  });
  if (error == EPERM || error == EXDEV || error == EMLINK || error == ENOTSUP ||
      error == EOPNOTSUPP) {
    int out = -1;
    error = makeBeside(backup, kept, [&](const fs::path& name) {
      out = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
      return out >= 0;
    });
    if (error != 0) return error;
    error = copyInto(target, out, st);
    if (::close(out) != 0 && error == 0) error = errno;
    if (error != 0) ::unlink(kept.c_str());
  }
  if (error != 0) kept.clear();
  return error;
}

// Gives the kept file the name `backup`, replacing an older backup in one
// step. When both names already lead to the same file (NAME.bak was a hard
// link of NAME, or another save got there first) the rename does nothing
// and the hidden name is removed here. The hidden name is gone afterwards
// either way. 0 on success, else the system's error.
int nameBackup(const fs::path& kept, const fs::path& backup) {
  if (::rename(kept.c_str(), backup.c_str()) != 0) {
    const int error = errno;
    ::unlink(kept.c_str());
    return error;
  }
  struct stat left {};
  struct stat named {};
  if (::lstat(kept.c_str(), &left) == 0 && ::lstat(backup.c_str(), &named) == 0 &&
      left.st_dev == named.st_dev && left.st_ino == named.st_ino) {
    ::unlink(kept.c_str());
  }
  return 0;
}

// Whether the folder's sticky bit keeps this process from replacing the
// file: in a shared folder such as /tmp only the file's owner, the
// folder's owner and root may rename over it.
bool stickyFolderForbids(const fs::path& folder, const struct stat& file) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0 || (st.st_mode & S_ISVTX) == 0) return false;
  const uid_t me = ::geteuid();
  return me != 0 && me != file.st_uid && me != st.st_uid;
}

}  // namespace

FileWrite writeFileAtomically(const fs::path& path, std::span<const std::byte> bytes,
                              const WriteOptions& options) {
  FileWrite result;
  auto fail = [&](int error) {
    result.failure = systemMessage(error);
    result.backupNote.clear();
    return result;
  };
  if (path.empty()) return fail(ENOENT);

  // A link stays a link: the file it leads to is the one replaced.
  fs::path target = path;
  if (const int error = followLinks(target); error != 0) return fail(error);
  if (target.parent_path().empty()) target = fs::path(".") / target;

  struct stat old {};
  bool replacing = false;
  if (::stat(target.c_str(), &old) == 0) {
    if (S_ISDIR(old.st_mode)) {
      result.failure = text::REASON_FOLDER;
      return result;
    }
    if (!S_ISREG(old.st_mode)) {
      result.failure = text::REASON_NOT_REGULAR;
      return result;
    }
    // Our own check: root may write anywhere, but a file nobody may write
    // to was marked read-only by its owner and is kept.
    if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
      result.failure = text::REASON_READ_ONLY;
      return result;
    }
    // Refused before anything is made: a name made in such a folder could
    // not be removed again.
    if (stickyFolderForbids(target.parent_path(), old)) return fail(EPERM);
    replacing = true;
  } else if (errno != ENOENT) {
    return fail(errno);
  }

  // A file that replaces another is private until it has the other's
  // owner and mode; a new file gets the usual mode for new files.
  fs::path temp;
  int fd = -1;
  int error = injected(options, FileStep::Open);
  if (error == 0) {
    error = makeBeside(target, temp, [&](const fs::path& name) {
      fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0666);
      return fd >= 0;
    });
  }
  if (error != 0) return fail(error);
  if (replacing) {
    // Where the process may: only root gives a file to another owner, and
    // a user keeps the group only when it is one of the user's own.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
      (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    (void)::fchmod(fd, old.st_mode & 07777);
  }

  if ((error = injected(options, FileStep::Write)) == 0)
    error = writeAll(fd, bytes.data(), bytes.size());
  if (error == 0 && (error = injected(options, FileStep::Sync)) == 0 && ::fsync(fd) != 0) {
    error = errno;
  }
  if (::close(fd) != 0 && error == 0) error = errno;

  // The file being replaced is held under a hidden name until the new one
  // has its name; only then does it become NAME.bak, so that a save that
  // fails leaves an older NAME.bak alone.
  fs::path backup = target;
  backup += ".bak";
  fs::path kept;
  int backupError = 0;
  if (error == 0 && replacing && options.keepBackup) {
    if ((backupError = injected(options, FileStep::Keep)) == 0)
      backupError = keepUnderHiddenName(target, backup, old, kept);
  }

  if (error == 0 && (error = injected(options, FileStep::Rename)) == 0 &&
      ::rename(temp.c_str(), target.c_str()) != 0) {
    error = errno;
  }
  if (error != 0) {
    ::unlink(temp.c_str());
    if (!kept.empty()) ::unlink(kept.c_str());
    return fail(error);
  }

  if (!kept.empty()) {
    if ((backupError = injected(options, FileStep::Backup)) == 0) {
      backupError = nameBackup(kept, backup);
    } else {
      ::unlink(kept.c_str());
    }
  }
  if (backupError != 0) {
    result.backupNote = std::string(text::BACKUP_NOT_KEPT) + utf8FromPath(backup) + ": " +
                        systemMessage(backupError);
  }
  syncFolder(target.parent_path());
  return result;
}

}  // namespace velmora
