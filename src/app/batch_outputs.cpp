#include "app/batch_outputs.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <system_error>
#include <utility>
#include <vector>

namespace qalto {
namespace {

namespace fs = std::filesystem;

// A file as the checks compare two: the same file when both exist and are one (links
// included), else when their keys agree: the absolute path with its links and `.` and `..`
// resolved as far as it exists.
struct FileIdentity {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  std::string key;
};

bool SameFile(const FileIdentity& a, const FileIdentity& b) {
  if (a.exists && b.exists) return a.device == b.device && a.inode == b.inode;
  return a.key == b.key;
}

// The identities of the files named, each looked up once: the tasks of one process name the
// same inputs and write into the same folders, which are resolved once.
class FileIdentities {
 public:
  const FileIdentity& Of(const std::string& path) {
    auto [at, added] = files_.try_emplace(path);
    if (!added) return at->second;
    // The name's own status is its file's unless it is a link (or cannot be looked at).
    struct stat status {};
    const bool named = ::lstat(path.c_str(), &status) == 0;
    const bool link = named ? S_ISLNK(status.st_mode) : errno != ENOENT;
    FileIdentity& file = at->second;
    file.exists = link ? ::stat(path.c_str(), &status) == 0 : named;
    file.device = file.exists ? status.st_dev : 0;
    file.inode = file.exists ? status.st_ino : 0;
    file.key = Key(path, link);
    return file;
  }

 private:
  // A name that is no link (or not there at all) resolves as its folder does, followed by it.
  std::string Key(const std::string& path, bool link) {
    const fs::path name(path);
    const fs::path leaf = name.filename();
    if (leaf.empty() || leaf == "." || leaf == ".." || link) return Resolved(name);
    const fs::path folder = name.parent_path();
    auto [at, added] = folders_.try_emplace(folder.string());
    if (added) at->second = Resolved(folder.empty() ? fs::path(".") : folder);
    return (fs::path(at->second) / leaf).string();
  }

  static std::string Resolved(const fs::path& path) {
    std::error_code error;
    return fs::weakly_canonical(fs::absolute(path, error), error).string();
  }

  std::map<std::string, FileIdentity> files_;
  std::map<std::string, std::string> folders_;  // a folder as named: resolved
};

std::string OutputClashOf(const BatchOptions& options, FileIdentities& files) {
  std::vector<std::pair<std::string, std::string>> inputs;  // description, path
  if (!options.script.empty() && options.script != "-") {
    inputs.emplace_back("the script", options.script);
  }
  if (!options.manifest.empty()) inputs.emplace_back("the manifest", options.manifest);
  if (!options.dataset.empty()) inputs.emplace_back("the data-set description", options.dataset);
  for (const std::string& record : options.records) {
    if (record != "-") inputs.emplace_back("the record", record);
  }
  std::vector<std::pair<std::string, std::string>> outputs;
  if (!options.out.empty()) outputs.emplace_back("--out", options.out);
  if (!options.json.empty()) outputs.emplace_back("--json", options.json);
  for (const auto& [option, output] : outputs) {
    for (const auto& [what, input] : inputs) {
      if (SameFile(files.Of(output), files.Of(input)))
        return option + " " + output + " would overwrite " + what + " " + input;
    }
  }
  if (outputs.size() == 2 && SameFile(files.Of(outputs[0].second), files.Of(outputs[1].second))) {
    return "--out and --json name the same file: " + options.out;
  }
  return "";
}

}  // namespace

std::string OutputClash(const BatchOptions& options) {
  FileIdentities files;
  return OutputClashOf(options, files);
}

std::string TaskOutputClash(const std::vector<long>& tasks,
                            const std::function<BatchOptions(long)>& optionsOf) {
  FileIdentities files;
  std::map<std::string, std::string> written;  // file: the option and task that write it
  for (long number : tasks) {
    const BatchOptions task = optionsOf(number);
    if (std::string clash = OutputClashOf(task, files); !clash.empty()) return clash;
    for (const auto& [option, name] : {std::pair{"--out", &task.out}, {"--json", &task.json}}) {
      if (name->empty()) continue;
      const std::string writer = std::string(option) + " of task " + std::to_string(number);
      auto [at, added] = written.emplace(files.Of(*name).key, writer);
      if (!added && at->second != writer)
        return writer + " and " + at->second + " name the same file: " + *name;
    }
  }
  return "";
}

}  // namespace qalto
