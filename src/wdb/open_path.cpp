#include "wdb/open_path.h"

namespace velmora {

OpenKind classifyOpenPath(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  const std::string_view ext =
      dot == std::string_view::npos ? std::string_view{} : path.substr(dot + 1);
  if (ext == "wdb") return OpenKind::Wdb;
  if ((ext == "sdx" || ext == "txt") && path.find(".sdx") != std::string_view::npos)
    return OpenKind::Sdx;
  return OpenKind::Unsupported;
}

}  // namespace velmora
