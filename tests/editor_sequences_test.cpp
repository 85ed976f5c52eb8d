// Random sequences of what a user does in the main window, checked after
// every step against a plain model the test keeps of its own: the database
// as last loaded or saved, a stack of database states for undo and redo,
// and the entries the user picked last (by their content).
//
// After every step:
//  1. a command that acts on a pick (Change, Remove, Delete, Move, a drag)
//     acts on the entry picked last, or is refused and says so; every other
//     entry stays as it was;
//  2. the list of the shown tab, the SAT Name boxes, the information panel
//     and the edit panel show the database (the edit panel the picked entry
//     or nothing);
//  3. the editor says it is saved exactly when the database (content and layout) is the
//     one last loaded or saved;
//  4. Undo and Redo walk the model's stack of states, and each sequence ends
//     by undoing every step back to the state after the last load and
//     redoing them all;
//  5. a saved file reads back as the database, but for what the file format
//     cannot hold;
//  6. nothing is read or written out of bounds (the asan preset runs this).
//
// VELMORA_SEQUENCES (default 2000; 500 in the sanitizer builds, 200 in the
// Windows build), VELMORA_STEPS (default 60) and
// VELMORA_SEED (the first seed; alone it replays that one sequence) change
// the run. A failure prints its seed and the shortest failing prefix.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "sequences/model.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VELMORA_SANITIZED_BUILD 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VELMORA_SANITIZED_BUILD 1
#endif
#endif

namespace velmora::editor::sequences {
namespace {

long envNumber(const char* name, long fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::strtol(v, nullptr, 10) : fallback;
}

fs::path workDir() {
  // Saves force their file to the disk; a memory file system keeps that
  // cheap where there is one.
  const fs::path shm = "/dev/shm";
  std::error_code ec;
  const fs::path base = fs::is_directory(shm, ec) ? shm : fs::temp_directory_path();
  return base / ("velmora-sequences-" +
                 std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
}

TEST(EditorSequences, EveryRandomSequenceKeepsTheUsersWork) {
  const bool seedGiven = std::getenv("VELMORA_SEED") != nullptr;
  const auto first = static_cast<std::uint32_t>(envNumber("VELMORA_SEED", 20261208));
#if defined(_WIN32)
  // The Windows build runs its tests under an emulator, where each step
  // costs many times more.
  constexpr long kDefaultSequences = 200;
#elif defined(VELMORA_SANITIZED_BUILD)
  // Unoptimised and instrumented: a quarter of the sequences in the same
  // time as the others.
  constexpr long kDefaultSequences = 500;
#else
  constexpr long kDefaultSequences = 2000;
#endif
  const long count = envNumber("VELMORA_SEQUENCES", seedGiven ? 1 : kDefaultSequences);
  const int steps = static_cast<int>(envNumber("VELMORA_STEPS", 60));
  const fs::path dir = workDir();
  fs::create_directories(dir);

  struct Found {
    std::uint32_t seed;
    std::string what;
  };
  std::map<std::string, Found> kinds;  // first failure of each kind
  long failed = 0, stepsRun = 0;
  const auto start = std::chrono::steady_clock::now();
  const std::clock_t cpuStart = std::clock();
  for (long i = 0; i < count; ++i) {
    const std::uint32_t seed = first + static_cast<std::uint32_t>(i);
    Sequence sequence(seed, steps, dir);
    const std::optional<std::string> failure = sequence.run();
    stepsRun += sequence.stepsRun();
    if (!failure) continue;
    ++failed;
    // Failures of one kind: the same first four words, up to a name or a
    // number.
    std::string kind;
    std::istringstream words(failure->substr(0, failure->find('\n')));
    int n = 0;
    for (std::string w; n < 4 && words >> w; ++n) {
      if (w.find_first_of("\"(0123456789") != std::string::npos) break;
      kind += w + " ";
    }
    kinds.try_emplace(kind, Found{seed, *failure});
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  std::printf("%ld sequences, %ld steps in %.1f s (%.1f s of processor time); %ld failed\n", count,
              stepsRun, seconds, cpu, failed);

  for (const auto& [kind, found] : kinds) {
    // The shortest prefix of the sequence that still fails.
    int shortest = steps;
    std::optional<std::string> why;
    std::vector<std::string> described;
    for (int k = 0; k <= steps; ++k) {
      Sequence prefix(found.seed, k, dir);
      why = prefix.run();
      if (why) {
        shortest = k;
        described = prefix.described();
        break;
      }
    }
    std::string text;
    for (std::size_t n = 0; n < described.size(); ++n)
      text += "  " + std::to_string(n) + ". " + described[n] + "\n";
    ADD_FAILURE() << "seed " << found.seed << " (VELMORA_SEED=" << found.seed
                  << " VELMORA_STEPS=" << shortest << "), " << shortest << " random steps:\n"
                  << text << "  => " << (why ? *why : found.what);
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace
}  // namespace velmora::editor::sequences
