#include "wdb/open_path.h"

#include <algorithm>

namespace velmora {

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameText(std::string_view a, std::string_view lowerCase) {
  return a.size() == lowerCase.size() && std::equal(a.begin(), a.end(), lowerCase.begin(),
                                                    [](char x, char y) { return lower(x) == y; });
}

bool containsText(std::string_view text, std::string_view lowerCase) {
  for (std::size_t i = 0; i + lowerCase.size() <= text.size(); ++i)
    if (sameText(text.substr(i, lowerCase.size()), lowerCase)) return true;
  return false;
}

}  // namespace

bool hasExtension(std::string_view path, std::string_view extension) {
  return path.size() > extension.size() && path[path.size() - extension.size() - 1] == '.' &&
         sameText(path.substr(path.size() - extension.size()), extension);
}

OpenKind classifyOpenPath(std::string_view path) {
  if (hasExtension(path, "wdb")) return OpenKind::Wdb;
  if ((hasExtension(path, "sdx") || hasExtension(path, "txt")) && containsText(path, ".sdx"))
    return OpenKind::Sdx;
  return OpenKind::Unsupported;
}

}  // namespace velmora
