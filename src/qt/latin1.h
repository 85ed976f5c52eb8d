// The editor's texts are byte strings, one byte per character; on screen
// each byte is the Latin-1 character of the same number.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace velmora::qt {

inline QString fromBytes(std::string_view bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Characters beyond Latin-1 have no byte; they become '?'.
inline std::string toBytes(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace velmora::qt
