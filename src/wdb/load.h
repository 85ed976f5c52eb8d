// Loading a database file by name, the one way every caller does it: the
// window's Open and Apply order, and every command of velmora-cli. The file
// is checked, read whole, recognised and decoded into a new database, which
// the caller takes over only when the load worked; what the decoding had
// to leave out comes back beside it (ReadResult's lost counts), and a
// refusal comes back as a kind to decide by and the sentence to show.
//
// JSON documents load the same way through json/json_db.h, and listings
// are read the same way: both build on readInputFile below.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/channel_db.h"
#include "db/failure.h"
#include "wdb/open_path.h"
#include "wdb/wdb_format.h"

namespace velmora::wdb {

struct LoadOptions {
  // The command line's way, which tells more than the window does. A file
  // that cannot be read is refused with the system's reason ("Cannot read
  // PATH: REASON.") rather than the window's "No data in file!". A database
  // file or a listing is first checked as Open checks a chosen name (the
  // window does that itself, before it decides between a database and a
  // listing); a JSON document is read as it is, so that an empty one is a
  // syntax error of the document.
  bool commandLine = false;
  // A channel without a name is kept as "....", as the window shows it.
  // The command line keeps names exactly as the file has them.
  bool unnamedChannelsAsDots = false;
};

// The bytes of a file, or why they are not there.
struct FileBytes {
  std::vector<std::byte> bytes;
  Failure failure;
  bool ok() const { return !failure.failed(); }
};

// What a file must be to be read.
struct InputCheck {
  std::size_t maxBytes = 64u << 20;
  // The message for a file longer than maxBytes, checked before reading;
  // without one such a file is refused as unreadable.
  std::string tooLong;
  // For the command line: the checks Open makes of a chosen name of this
  // kind, in its order: something regular to read (Missing), not empty
  // (Empty), named as that kind of file (Unsupported).
  std::optional<OpenKind> openAs;
};

// The checks and the read that come before decoding. The window finds "No
// data in file!" in an empty file or a name that is no file (Empty), and in
// a file it cannot read (Unreadable); a file over the limit is TooLong.
FileBytes readInputFile(std::string_view path, const InputCheck& check, const LoadOptions& options);

// What a *.wdb file must be: no longer than MAX_FILE_BYTES (a longer file
// is TooLong, with the message that it is not a database), and for the
// command line named *.wdb.
InputCheck databaseInputCheck();

// A *.wdb file: readInputFile with databaseInputCheck, then readWdb.
ReadResult loadDatabaseFile(std::string_view path, const LoadOptions& options = {});

// Gives every unnamed channel of the table the name "....", as the window
// shows such a channel and from then on keeps it.
void nameUnnamedChannels(SvcTable& table);

}  // namespace velmora::wdb
