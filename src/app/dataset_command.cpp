#include "app/dataset_command.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <thread>

#include "app/dataset_generator.h"
#include "app/script_runner.h"
#include "common/runtime_error.h"

namespace qalto {

int RunDatasetCommand(const BatchOptions& options, std::ostream& err) {
  // A description is a small regular file: a folder, a device or a pipe is refused unread.
  std::error_code unknown;
  if (!std::filesystem::is_regular_file(options.dataset, unknown)) {
    err << "qalto-batch: cannot read " << options.dataset << ": "
        << (std::filesystem::exists(options.dataset, unknown) ? "not a regular file"
                                                              : std::strerror(ENOENT))
        << "\n";
    return kExitCommandLine;
  }
  errno = 0;
  std::ifstream file(options.dataset, std::ios::binary);
  if (!file) {
    err << "qalto-batch: cannot open " << options.dataset << ": " << std::strerror(errno) << "\n";
    return kExitCommandLine;
  }
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const bool npz = options.out.size() > 4 && options.out.substr(options.out.size() - 4) == ".npz";
  if (!npz) {
    err << "qalto-batch: --dataset writes numpy's .npz (HDF5 is not built in): " << options.out
        << "\n";
    return kExitCommandLine;
  }
  DatasetOptions run;
  run.output = options.out;
  run.threads = options.threads > 0
                    ? options.threads
                    : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  long long lastShown = -1;
  run.progress = [&err, &lastShown](const DatasetProgress& progress) {
    if (progress.done * 10 / progress.total == lastShown && progress.done != progress.total) return;
    lastShown = progress.done * 10 / progress.total;
    err << "qalto-batch: " << progress.done << " of " << progress.total << " curves\n";
  };
  try {
    const DatasetDescription description = ParseDatasetDescription(text);
    const long long failed = GenerateDataset(description, text, run);
    if (failed > 0) {
      err << "qalto-batch: " << failed << " curves failed; their rows have status > 0\n";
      return kExitComputation;
    }
  } catch (const RuntimeError& error) {
    err << "qalto-batch: " << error.Description() << "\n";
    return kExitCommandLine;
  } catch (const std::exception& error) {
    err << "qalto-batch: " << options.out << ": " << error.what() << "\n";
    return kExitCommandLine;
  }
  return kExitRan;
}

}  // namespace qalto
