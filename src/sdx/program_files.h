// Where the programs find their own files: the user guide and the favourite
// folder "favor". In a build tree or an unpacked Windows folder they lie
// beside the program; an installed program (/usr/bin/velmora) finds them in
// share/velmora of its prefix (/usr/share/velmora).
#pragma once

#include <filesystem>

namespace velmora {

// The folder that holds the program's own files, given the folder of the
// program's file: that folder itself when the guide or a favourite folder
// lies in it, else PREFIX/share/velmora when the program sits in PREFIX/bin
// and that folder exists, else the program's folder again (where a missing
// file is then reported as before).
std::filesystem::path programFilesFolder(const std::filesystem::path& programDir);

}  // namespace velmora
