// How Open treats a chosen path: a receiver database, a SatcoDX listing, or
// a file it does not support. The extension is the text after the last
// point of the full path, compared case-sensitively.
#pragma once

#include <string_view>

namespace velmora {

enum class OpenKind { Wdb, Sdx, Unsupported };

// "wdb" -> Wdb; "sdx" or "txt" with ".sdx" somewhere in the path -> Sdx;
// everything else -> Unsupported.
OpenKind classifyOpenPath(std::string_view path);

}  // namespace velmora
