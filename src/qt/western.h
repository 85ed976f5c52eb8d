// The editor's texts are byte strings, one byte per character; on screen
// each byte is its character of the Western code page (db/western_text.h).
// Paths and what the program says about itself and its files are UTF-8
// (editor/port.h).
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "db/western_text.h"

namespace velmora::qt {

inline QString fromBytes(std::string_view bytes) {
  const std::string utf8 = westernToUtf8(bytes);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Characters the code page lacks become '?'; foreignChar names the first.
inline std::string toBytes(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return westernFromUtf8({utf8.constData(), static_cast<std::size_t>(utf8.size())}).bytes;
}

inline QString fromUtf8Text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string toUtf8Text(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return {utf8.constData(), static_cast<std::size_t>(utf8.size())};
}

inline std::optional<char32_t> foreignChar(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return westernFromUtf8({utf8.constData(), static_cast<std::size_t>(utf8.size())}).refused;
}

}  // namespace velmora::qt
