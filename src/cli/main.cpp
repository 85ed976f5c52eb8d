#include "cli/cli.h"

#ifdef _WIN32
// On Windows the arguments come as UTF-16, whatever the ANSI code page
// can spell; they go on as UTF-8 text, and what the program writes to a
// console is shown as UTF-8.
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "db/path_text.h"

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i)
    args.push_back(velmora::utf8FromPath(std::filesystem::path(argv[i])));
  std::wstring exe(32768, L'\0');
  exe.resize(GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size())));
  const UINT consolePage = GetConsoleOutputCP();
  if (consolePage != 0) SetConsoleOutputCP(CP_UTF8);
  const int rc = velmora::cli::runMain(args, std::filesystem::path(exe).parent_path());
  if (consolePage != 0) SetConsoleOutputCP(consolePage);
  return rc;
}
#else
int main(int argc, char** argv) { return velmora::cli::runMain(argc, argv); }
#endif
