#include "app/batch_options.h"

#include <cerrno>
#include <cstdlib>

#include "app/invisible_characters.h"
#include "app/script_parameters.h"

namespace qalto {
namespace {

// "name=value" split at the first "="; false without a "=" or with an empty name.
bool SplitAssignment(const std::string& text, std::pair<std::string, std::string>& assignment) {
  size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0) return false;
  assignment = {text.substr(0, equals), text.substr(equals + 1)};
  return true;
}

// A whole decimal number of digits only, within the range of the type.
bool ReadUnsigned(const std::string& text, std::uint64_t& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  errno = 0;
  unsigned long long number = std::strtoull(text.c_str(), nullptr, 10);
  if (errno == ERANGE) return false;
  value = number;
  return true;
}

// A time in seconds: a positive decimal number, at most a year.
bool ReadSeconds(const std::string& text, double& seconds) {
  if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) return false;
  char* end = nullptr;
  seconds = std::strtod(text.c_str(), &end);
  return *end == '\0' && seconds > 0 && seconds <= 366.0 * 24 * 3600;
}

std::string ApplyOption(const std::string& name, const std::string& value, BatchOptions& options) {
  std::pair<std::string, std::string> assignment;
  std::uint64_t number = 0;
  bool names = name == "--manifest" || name == "--out" || name == "--json" || name == "--dataset";
  if (names && value.empty()) return name + " needs a file name";
  if (name == "--param") {
    if (!SplitAssignment(value, assignment) || !IsParameterName(assignment.first)) {
      return "--param takes name=value with a name of letters, digits and _: " + value +
             InvisibleCharactersNote(assignment.first);
    }
    options.parameters.push_back(assignment);
  } else if (name == "--set") {
    if (!SplitAssignment(value, assignment) || assignment.first.find('.') == std::string::npos) {
      return "--set takes Form.Control=value: " + value;
    }
    options.settings.push_back(assignment);
  } else if (name == "--manifest") {
    options.manifest = value;
  } else if (name == "--task") {
    if (!ReadUnsigned(value, number) || number < 1 || number > 2147483647) {
      return "--task takes a row number from 1: " + value;
    }
    options.task = static_cast<long>(number);
  } else if (name == "--tasks") {
    return ReadTaskList(value, options.tasks);
  } else if (name == "--seed") {
    if (!ReadUnsigned(value, number)) return "--seed takes a whole number from 0: " + value;
    options.seed = number;
  } else if (name == "--out") {
    options.out = value;
  } else if (name == "--json") {
    options.json = value;
  } else if (name == "--time-limit") {
    double seconds = 0;
    if (!ReadSeconds(value, seconds)) {
      return "--time-limit takes a number of seconds above 0: " + value;
    }
    options.timeLimit = seconds;
  } else if (name == "--dataset") {
    options.dataset = value;
  } else if (name == "--threads") {
    if (!ReadUnsigned(value, number) || number < 1 || number > 1024) {
      return "--threads takes a number from 1 to 1024: " + value;
    }
    options.threads = static_cast<int>(number);
  } else {
    return "unknown option " + name;
  }
  return "";
}

}  // namespace

std::optional<std::uint64_t> ReadSeed(const std::string& text) {
  std::uint64_t seed = 0;
  if (!ReadUnsigned(text, seed)) return std::nullopt;
  return seed;
}

std::string ParseBatchOptions(const std::vector<std::string>& words, BatchOptions& options) {
  std::vector<std::string> plain;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "--merge") {
      options.merge = true;
    } else if (word == "--help" || word == "-h") {
      options.help = true;
    } else if (word == "--version") {
      options.version = true;
    } else if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
      size_t equals = word.find('=');
      std::string name = word.substr(0, equals);
      std::string value;
      if (equals != std::string::npos) {
        value = word.substr(equals + 1);
      } else if (i + 1 < words.size()) {
        value = words[++i];
      } else {
        return name + " needs a value";
      }
      std::string error = ApplyOption(name, value, options);
      if (!error.empty()) return error;
    } else {
      plain.push_back(word);
    }
  }
  if (options.help || options.version) return "";
  if (options.merge) {
    if (plain.empty()) return "--merge needs the records to gather";
    options.records = plain;
    return "";
  }
  if (!options.dataset.empty()) {
    if (!plain.empty()) return "--dataset takes no script";
    if (options.out.empty()) return "--dataset needs --out SET.npz";
    return "";
  }
  if (plain.size() != 1) return plain.empty() ? "no script given" : "more than one script given";
  options.script = plain[0];
  if (options.task && options.manifest.empty()) return "--task needs a --manifest";
  if (!options.tasks.empty()) {
    if (options.manifest.empty()) return "--tasks needs a --manifest";
    if (options.task) return "--task and --tasks cannot go together";
    // Several tasks writing one file would leave only the last task's.
    auto oneForAll = [](const std::string& name) {
      return !name.empty() && name.find("{}") == std::string::npos;
    };
    if (TaskCount(options.tasks) > 1 && (oneForAll(options.json) || oneForAll(options.out)))
      return "--tasks with several tasks needs {} (the task) in the names of --json and --out";
  }
  return "";
}

const char* BatchUsage() {
  return "usage: qalto-batch [options] SCRIPT   (SCRIPT - reads standard input)\n"
         "  --param NAME=VALUE     value of $NAME in the script (repeatable)\n"
         "  --set FORM.CONTROL=VALUE  a control's value before the script runs (repeatable)\n"
         "  --manifest FILE.tsv    parameters from one row of a tab-separated table\n"
         "  --task N               that row, counted from 1 (default: SLURM_ARRAY_TASK_ID)\n"
         "  --tasks 1-5,9          those rows one after another in this process; {} in the\n"
         "                         names of --json and --out stands for the row\n"
         "  --seed N               seed of the noise generator\n"
         "  --out FILE.csv         the curves as comma-separated text\n"
         "  --json FILE.json       a record of the run\n"
         "  --time-limit SECONDS   stop the run after that long (status 5, recorded)\n"
         "       qalto-batch --merge [--out TABLE.tsv] RECORD.json...   (- reads names from "
         "standard input)\n"
         "       qalto-batch --dataset DESCRIPTION.json --out SET.npz [--threads N]   labelled "
         "curves\n"
         "exit status: 0 ran, 1 command line, manifest or output file, 2 script line,\n"
         "  3 simulation or fit failed, 4 import failed, 5 time limit reached,\n"
         "  128 + N stopped by signal N (TERM 143, INT 130); the record says \"stopped\"\n";
}

}  // namespace qalto
