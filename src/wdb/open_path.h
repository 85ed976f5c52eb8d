// How Open treats a chosen path: a receiver database, a SatcoDX listing, or
// a file it does not support. The extension is the text after the last
// point of the full path, compared without regard to case (files copied
// from Windows are often upper case).
#pragma once

#include <string_view>

namespace velmora {

enum class OpenKind { Wdb, Sdx, Unsupported };

// "wdb" -> Wdb; "sdx" or "txt" with ".sdx" somewhere in the path -> Sdx;
// everything else -> Unsupported.
OpenKind classifyOpenPath(std::string_view path);

// Whether `path` ends with a point and `extension` (given in lower case),
// in any case.
bool hasExtension(std::string_view path, std::string_view extension);

}  // namespace velmora
