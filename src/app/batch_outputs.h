#pragma once
// The files a qalto-batch run writes may be neither the files it reads nor one another: a
// record written over the manifest destroys the input of every later task, curves written over
// the script destroy the script. Found before anything runs.

#include <functional>
#include <string>
#include <vector>

#include "app/batch_options.h"

namespace qalto {

// The first clash of an output (--out, --json) with the script, the manifest, a record to
// merge or the other output, as an error text; empty when there is none.
std::string OutputClash(const BatchOptions& options);

// The first clash among the tasks of one process (--tasks), each with the options `optionsOf`
// gives it: one task's output with an input, as OutputClash, or two tasks' outputs on one file
// (`{}.csv` and `{}1.csv` meet at 11.csv for the tasks 11 and 1); empty when there is none.
std::string TaskOutputClash(const std::vector<long>& tasks,
                            const std::function<BatchOptions(long)>& optionsOf);

}  // namespace qalto
