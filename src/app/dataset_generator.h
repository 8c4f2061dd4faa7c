#pragma once
// The labelled data-set generator: every combination of mechanism and technique of a
// description, sampled the given number of times, each curve simulated by a fresh run of the
// program and labelled by its mechanism, technique and drawn parameters. Curve k of a
// combination draws its values from a generator seeded by the set's seed and k alone, so a set
// is the same bit for bit whatever the threads and however often it was interrupted. Finished
// chunks are kept in a folder beside the output until the set is written, so that a run
// stopped half way resumes where it was.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "app/dataset_description.h"

namespace qalto {

struct DatasetProgress {
  long long done = 0;   // curves simulated, this run and before
  long long total = 0;  // curves of the whole set
};

struct DatasetOptions {
  std::string output;  // the .npz file
  int threads = 1;
  int chunkSize = 100;                      // curves per resumable piece
  const std::atomic<bool>* stop = nullptr;  // set: finish the chunks under way and return
  std::function<void(const DatasetProgress&)> progress;
};

// Writes the set; returns the number of curves whose run failed (their current is NaN and their
// status the exit status of the run). Raises a RuntimeError when the set cannot be written, with
// the system's reason, or when a folder of chunks beside the output holds another set's.
long long GenerateDataset(const DatasetDescription& description, const std::string& descriptionText,
                          const DatasetOptions& options);

}  // namespace qalto
