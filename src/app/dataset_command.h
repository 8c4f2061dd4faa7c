#pragma once
// qalto-batch --dataset DESCRIPTION.json --out SET.npz [--threads N]: the labelled data set of the
// description, with progress and failures written to err. Returns the exit status: 0 when every
// curve was simulated, 3 when some failed (the set is written, their rows marked), 1 for a
// description or output that cannot be used.

#include <iosfwd>

#include "app/batch_options.h"

namespace qalto {

int RunDatasetCommand(const BatchOptions& options, std::ostream& err);

}  // namespace qalto
