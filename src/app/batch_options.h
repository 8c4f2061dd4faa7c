#pragma once
// The command line of qalto-batch:
//   qalto-batch [options] SCRIPT        (SCRIPT "-" reads standard input)
//   qalto-batch --merge [--out TABLE] RECORD.json...   (RECORD "-" reads file names from stdin)
//   qalto-batch --dataset DESCRIPTION.json --out SET.npz [--threads N]
// Options take their value as the next word or after "=" (--seed=7).

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/task_list.h"

namespace qalto {

struct BatchOptions {
  std::string script;
  std::vector<std::pair<std::string, std::string>> parameters;  // --param name=value
  std::vector<std::pair<std::string, std::string>> settings;    // --set Form.Control=value
  std::string manifest;                                         // --manifest jobs.tsv
  std::optional<long> task;                                     // --task N, counted from 1
  TaskList tasks;                                               // --tasks 1-5,9: in one process
  std::optional<std::uint64_t> seed;                            // --seed N
  std::string out;                                              // --out curves.csv or table
  std::string json;                                             // --json record.json
  std::optional<double> timeLimit;                              // --time-limit SECONDS
  bool merge = false;                                           // --merge
  std::vector<std::string> records;                             // the records to merge
  std::string dataset;                                          // --dataset description.json
  int threads = 0;                                              // --threads N; 0: every core
  bool help = false;                                            // --help
  bool version = false;                                         // --version
};

// Reads the words after the program name; an error text, empty when they make a run.
std::string ParseBatchOptions(const std::vector<std::string>& words, BatchOptions& options);

// A noise seed: a whole decimal number from 0 to 2^64 - 1; nothing for any other text.
std::optional<std::uint64_t> ReadSeed(const std::string& text);

// The usage text printed by --help and after a command-line error.
const char* BatchUsage();

}  // namespace qalto
