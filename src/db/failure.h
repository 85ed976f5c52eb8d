// How the core says that something could not be done: a kind that callers
// decide by, and the sentence the user is shown. Callers never compare the
// sentence; they look at the kind, and show the sentence as it is.
#pragma once

#include <string>
#include <utility>

namespace velmora {

enum class FailureKind {
  None,         // it worked
  Missing,      // nothing readable has that name: no file, a folder, a device
  Empty,        // a file without bytes, or a database without satellites
  Unsupported,  // the name says a kind of file that is not taken here
  TooLong,      // longer than any file of its kind
  Unreadable,   // the system would not give the file's bytes
  NotAFormat,   // the bytes are not a database, or not a document of the schema
  OverLimits,   // more than the receiver or the file can hold
};

struct Failure {
  FailureKind kind = FailureKind::None;
  std::string message;

  Failure() = default;
  Failure(FailureKind k, std::string text) : kind(k), message(std::move(text)) {}
  bool failed() const { return kind != FailureKind::None; }
};

}  // namespace velmora
