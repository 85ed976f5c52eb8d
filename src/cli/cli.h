// velmora-cli: the channel database from the command line, for dealers who
// prepare many receivers' lists and for scripts. It shares the editor's core,
// so it loads, imports and saves exactly as the editor does, and it reports a
// refusal with the editor's own message text on stderr.
//
// Exit codes: 0 success, 1 the operation was refused or failed, 2 wrong usage.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace velmora::cli {

struct Env {
  // The folder of the running program; the favourite folder "favor" lies in it,
  // or in share/velmora of its prefix when installed.
  std::filesystem::path programDir;
};

// Runs one command line (`args` without the program name), writing results
// to `out` and messages and usage texts to `err`. Returns the exit code.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Env& env);

// run() for the real process: the program's folder, std::cout, std::cerr.
int runMain(int argc, char** argv);
// The same with the arguments as UTF-8 text and the program's folder known
// (on Windows, where both come from the system as UTF-16).
int runMain(const std::vector<std::string>& args, const std::filesystem::path& programDir);

}  // namespace velmora::cli
