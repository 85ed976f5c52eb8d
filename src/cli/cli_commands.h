// velmora-cli's commands, one function each, apart from the option table
// that chooses among them (cli.cpp). A command reads its inputs through
// the core's loading service, refuses by throwing Refusal (exit code 1) or
// Usage (exit code 2), and writes as the window's Save does.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace velmora::cli {

// A refused or failed operation: its message goes to stderr, the exit code
// is 1 and nothing is written.
struct Refusal {
  std::string message;
};

// Wrong usage found after the arguments were read: exit code 2.
struct Usage {
  std::string message;
};

struct Options {
  std::string in;
  std::string out;
  std::string layout;  // "I", "II" or empty when not given
  std::string into;
  std::string favouriteDir;
  std::vector<std::string> listings;
  bool includeFeedTest = false;
  bool json = false;                // check: findings as JSON
  std::vector<std::string> tabs;    // sort, move, export-csv: the lists to work on
  std::string satellite, from, to;  // move, export-csv: 1-based numbers as given
  bool noBackup = false;
  std::string like;          // reorder: the reference
  std::string other;         // diff: the second database
  bool keepMissing = false;  // update: keep what the listing lacks
};

void dumpCommand(const Options& opt, std::ostream& out);
void buildCommand(const Options& opt, const Env& env, std::ostream& err);
void importCommand(const Options& opt, const Env& env, std::ostream& err);
void convertCommand(const Options& opt, const Env& env, std::ostream& err);
// Exit 0 when nothing was found, 1 when something was.
int checkCommand(const Options& opt, std::ostream& out);
void exportCsvCommand(const Options& opt, std::ostream& out);
void sortCommand(const Options& opt, const Env& env, std::ostream& err);
void moveCommand(const Options& opt, const Env& env, std::ostream& err);
// IN in the order of REF; the counts on stderr, or as JSON on stdout.
void reorderCommand(const Options& opt, const Env& env, std::ostream& out, std::ostream& err);
// IN's satellites brought up to date from the listings; the report on
// stderr, or as JSON on stdout.
void updateCommand(const Options& opt, const Env& env, std::ostream& out, std::ostream& err);
// Exit 0 when A and B are equal, 1 when they differ.
int diffCommand(const Options& opt, std::ostream& out, std::ostream& err);

}  // namespace velmora::cli
