#pragma once
// The files a qalto-batch run writes may be neither the files it reads nor one another: a
// record written over the manifest destroys the input of every later task, curves written over
// the script destroy the script. Found before anything runs.

#include <string>

#include "app/batch_options.h"

namespace qalto {

// The first clash of an output (--out, --json) with the script, the manifest, a record to
// merge or the other output, as an error text; empty when there is none.
std::string OutputClash(const BatchOptions& options);

}  // namespace qalto
