#include "app/dataset_generator.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "app/experiment_run.h"
#include "app/replace_file.h"
#include "common/file_replacement.h"
#include "common/runtime_error.h"
#include "files/npz_writer.h"

namespace qalto {
namespace {

namespace fs = std::filesystem;

// One labelled curve.
struct Sample {
  std::int64_t status = 0;
  std::uint64_t seed = 0;
  std::vector<double> parameters;  // one per column, NaN where the combination has none
  std::vector<double> potential, current;
};

// SplitMix64: a well-mixed 64-bit value from any other; seeds of neighbouring curves are
// independent.
std::uint64_t Mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

// A uniform number in [0, 1) from 53 random bits; fixed across platforms, unlike the
// standard distributions.
double Uniform(std::uint64_t& state) {
  state = Mix(state);
  return static_cast<double>(state >> 11) * 0x1.0p-53;
}

double Draw(const Distribution& d, std::uint64_t& state) {
  switch (d.kind) {
    case Distribution::Kind::kUniform:
      return d.a + (d.b - d.a) * Uniform(state);
    case Distribution::Kind::kLogUniform:
      return d.a * std::pow(d.b / d.a, Uniform(state));
    case Distribution::Kind::kNormal: {  // Box-Muller
      const double u = 1.0 - Uniform(state), v = Uniform(state);
      return d.a + d.b * std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * M_PI * v);
    }
    default:
      return d.values.front();
  }
}

// The shortest text that reads back as the same number, as a box takes it.
std::string ExactText(double value) {
  char buffer[32];
  auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

class Generator {
 public:
  explicit Generator(const DatasetDescription& description) : spec_(description) {
    for (const auto* list : AllParameterLists())
      for (const DatasetParameter& p : *list)
        ColumnOf(p.name);
    // Without a number of samples, each combination runs through the largest grid once.
    perCombination_ = description.samples.value_or(1);
    if (!description.samples)
      for (size_t c = 0; c < Combinations(); ++c)
        perCombination_ = std::max(perCombination_, GridSize(c));
    total_ = perCombination_ * static_cast<long long>(Combinations());
  }

  long long Total() const { return total_; }
  const std::vector<std::string>& Columns() const { return columns_; }

  Sample Simulate(long long index) const {
    const size_t combination = static_cast<size_t>(index / perCombination_);
    const long long k = index % perCombination_;
    const DatasetGroup& mechanism = spec_.mechanisms[combination / spec_.techniques.size()];
    const DatasetGroup& technique = spec_.techniques[combination % spec_.techniques.size()];
    Sample sample;
    sample.seed = Mix(Mix(spec_.seed) ^ Mix(combination * 0x100000000ull + k));
    sample.parameters.assign(columns_.size(), std::numeric_limits<double>::quiet_NaN());
    RunRequest request;
    request.settings = spec_.settings;
    request.settings.insert(request.settings.end(), technique.settings.begin(),
                            technique.settings.end());
    request.settings.insert(request.settings.end(), mechanism.settings.begin(),
                            mechanism.settings.end());
    std::uint64_t state = sample.seed;
    long long gridIndex = k;
    for (const std::vector<DatasetParameter>* list : ListsOf(combination)) {
      for (const DatasetParameter& p : *list) {
        double value = p.distribution.values.empty() ? 0 : p.distribution.values.front();
        if (p.distribution.kind == Distribution::Kind::kGrid) {
          const auto size = static_cast<long long>(p.distribution.values.size());
          value = p.distribution.values[static_cast<size_t>(gridIndex % size)];
          gridIndex /= size;
        } else {
          value = Draw(p.distribution, state);
        }
        const std::string text = ExactText(value);
        request.settings.emplace_back(p.control, text);
        sample.parameters[columnIndex_.at(p.name)] = std::stod(text);
      }
    }
    if (spec_.noise) {
      request.settings.emplace_back("FormIns.Noise", ExactText(*spec_.noise));
      request.seed = sample.seed;
    }
    request.script = "menu mnuSimulate\n";
    RunOutput output = RunExperiment(request);
    sample.status = output.status;
    if (output.status == 0 && output.curves > 0) {
      sample.potential = std::move(output.potential);
      for (int i = 0; i < output.points; ++i)
        sample.current.push_back(output.current[static_cast<size_t>(i * output.curves)]);
    }
    return sample;
  }

 private:
  size_t Combinations() const { return spec_.mechanisms.size() * spec_.techniques.size(); }

  std::vector<const std::vector<DatasetParameter>*> AllParameterLists() const {
    std::vector<const std::vector<DatasetParameter>*> lists{&spec_.parameters};
    for (const DatasetGroup& g : spec_.techniques)
      lists.push_back(&g.parameters);
    for (const DatasetGroup& g : spec_.mechanisms)
      lists.push_back(&g.parameters);
    return lists;
  }

  std::vector<const std::vector<DatasetParameter>*> ListsOf(size_t combination) const {
    return {&spec_.parameters, &spec_.techniques[combination % spec_.techniques.size()].parameters,
            &spec_.mechanisms[combination / spec_.techniques.size()].parameters};
  }

  long long GridSize(size_t combination) const {
    long long size = 1;
    for (const auto* list : ListsOf(combination))
      for (const DatasetParameter& p : *list)
        if (p.distribution.kind == Distribution::Kind::kGrid)
          size *= static_cast<long long>(p.distribution.values.size());
    return size;
  }

  void ColumnOf(const std::string& name) {
    if (columnIndex_.count(name)) return;
    columnIndex_[name] = columns_.size();
    columns_.push_back(name);
  }

  const DatasetDescription& spec_;
  std::vector<std::string> columns_;
  std::map<std::string, size_t> columnIndex_;
  long long perCombination_ = 0;
  long long total_ = 0;
};

template <typename T>
void Put(std::ofstream& out, const T& value) {
  out.write(reinterpret_cast<const char*>(&value), sizeof value);
}
template <typename T>
void PutAll(std::ofstream& out, const std::vector<T>& values) {
  Put(out, static_cast<std::int64_t>(values.size()));
  out.write(reinterpret_cast<const char*>(values.data()),
            static_cast<std::streamsize>(values.size() * sizeof(T)));
}
template <typename T>
T Get(std::ifstream& in) {
  T value{};
  in.read(reinterpret_cast<char*>(&value), sizeof value);
  return value;
}
template <typename T>
std::vector<T> GetAll(std::ifstream& in) {
  const auto count = Get<std::int64_t>(in);
  if (!in || count < 0 || count > (1 << 26)) throw RuntimeError("damaged chunk");
  std::vector<T> values(static_cast<size_t>(count));
  in.read(reinterpret_cast<char*>(values.data()), static_cast<std::streamsize>(count * sizeof(T)));
  return values;
}

fs::path ChunkPath(const fs::path& folder, long long chunk) {
  std::string name = std::to_string(chunk);
  return folder / ("chunk-" + std::string(8 - std::min<size_t>(8, name.size()), '0') + name);
}

void WriteChunk(const fs::path& path, const std::vector<Sample>& samples) {
  const fs::path partial = path.string() + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    Put(out, static_cast<std::int64_t>(samples.size()));
    for (const Sample& s : samples) {
      Put(out, s.status);
      Put(out, s.seed);
      PutAll(out, s.parameters);
      PutAll(out, s.potential);
      PutAll(out, s.current);
    }
    if (!out) throw RuntimeError("cannot write " + partial.string() + ": " + std::strerror(errno));
  }
  fs::rename(partial, path);  // a chunk exists only whole
}

std::vector<Sample> ReadChunk(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  const auto count = Get<std::int64_t>(in);
  if (!in || count < 0 || count > (1 << 24)) throw RuntimeError("damaged chunk " + path.string());
  std::vector<Sample> samples(static_cast<size_t>(count));
  for (Sample& s : samples) {
    s.status = Get<std::int64_t>(in);
    s.seed = Get<std::uint64_t>(in);
    s.parameters = GetAll<double>(in);
    s.potential = GetAll<double>(in);
    s.current = GetAll<double>(in);
  }
  if (!in) throw RuntimeError("damaged chunk " + path.string());
  return samples;
}

// The folder of chunks, made or taken over when it holds chunks of the same description.
fs::path PrepareChunkFolder(const std::string& output, const std::string& descriptionText) {
  const fs::path folder = output + ".chunks";
  const fs::path description = folder / "description.json";
  std::error_code error;
  if (fs::exists(folder, error)) {
    std::ifstream in(description, std::ios::binary);
    std::string held((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (held != descriptionText)
      throw RuntimeError("dataset: " + folder.string() +
                         " holds chunks of another description; remove it to start afresh");
    return folder;
  }
  if (!fs::create_directories(folder, error))
    throw RuntimeError("cannot create " + folder.string() + ": " + error.message());
  // Whole or not at all: a run stopped while writing it must not leave a description that a
  // resumed run takes for another one.
  if (std::string reason = WriteWholeFile(description.string(), descriptionText); !reason.empty())
    throw RuntimeError("cannot write " + description.string() + ": " + reason);
  return folder;
}

// Writes the set from its chunks; returns the number of curves whose run failed.
long long WriteSet(const Generator& generator, const DatasetDescription& description,
                   const fs::path& folder, long long chunks, const std::string& output) {
  const long long total = generator.Total();
  size_t width = 0;
  std::vector<Sample> all;
  all.reserve(static_cast<size_t>(total));
  for (long long c = 0; c < chunks; ++c) {
    for (Sample& s : ReadChunk(ChunkPath(folder, c))) {
      width = std::max(width, s.potential.size());
      all.push_back(std::move(s));
    }
  }
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<double> potential(all.size() * width, nan), current(all.size() * width, nan);
  std::vector<double> parameters;
  std::vector<std::int64_t> status, points, mechanism, technique;
  std::vector<std::uint64_t> seeds;
  const auto perCombination =
      total / static_cast<long long>(description.mechanisms.size() * description.techniques.size());
  for (size_t i = 0; i < all.size(); ++i) {
    const Sample& s = all[i];
    std::copy(s.potential.begin(), s.potential.end(), potential.begin() + i * width);
    std::copy(s.current.begin(), s.current.end(), current.begin() + i * width);
    parameters.insert(parameters.end(), s.parameters.begin(), s.parameters.end());
    status.push_back(s.status);
    points.push_back(static_cast<std::int64_t>(s.potential.size()));
    seeds.push_back(s.seed);
    const long long combination = static_cast<long long>(i) / perCombination;
    mechanism.push_back(combination / static_cast<long long>(description.techniques.size()));
    technique.push_back(combination % static_cast<long long>(description.techniques.size()));
  }
  std::vector<std::string> mechanismNames, techniqueNames;
  for (const DatasetGroup& g : description.mechanisms)
    mechanismNames.push_back(g.label);
  for (const DatasetGroup& g : description.techniques)
    techniqueNames.push_back(g.label);
  const auto rows = static_cast<std::int64_t>(all.size());
  const std::string archive = NpzArchive({
      DoubleArray("current", {rows, static_cast<std::int64_t>(width)}, current),
      DoubleArray("potential", {rows, static_cast<std::int64_t>(width)}, potential),
      IntegerArray("points", points),
      IntegerArray("mechanism", mechanism),
      StringArray("mechanism_names", mechanismNames),
      IntegerArray("technique", technique),
      StringArray("technique_names", techniqueNames),
      DoubleArray("parameters", {rows, static_cast<std::int64_t>(generator.Columns().size())},
                  parameters),
      StringArray("parameter_names", generator.Columns()),
      IntegerArray("status", status),
      UnsignedArray("seed", seeds),
  });
  if (std::string reason = WriteWholeFile(output, archive); !reason.empty())
    throw RuntimeError("cannot write " + output + ": " + reason);
  return std::count_if(status.begin(), status.end(), [](std::int64_t s) { return s != 0; });
}

}  // namespace

long long GenerateDataset(const DatasetDescription& description, const std::string& descriptionText,
                          const DatasetOptions& options) {
  Generator generator(description);
  const long long total = generator.Total();
  const long long chunkSize = std::max(1, options.chunkSize);
  const long long chunks = (total + chunkSize - 1) / chunkSize;
  const fs::path folder = PrepareChunkFolder(options.output, descriptionText);
  std::atomic<long long> nextChunk{0}, done{0};
  std::mutex reporting;
  std::exception_ptr failure;
  auto work = [&] {
    try {
      for (long long c = nextChunk++; c < chunks; c = nextChunk++) {
        if (options.stop && options.stop->load()) return;
        const long long first = c * chunkSize, last = std::min(total, first + chunkSize);
        if (!fs::exists(ChunkPath(folder, c))) {
          std::vector<Sample> samples;
          for (long long i = first; i < last; ++i)
            samples.push_back(generator.Simulate(i));
          WriteChunk(ChunkPath(folder, c), samples);
        }
        done += last - first;
        std::lock_guard<std::mutex> lock(reporting);
        if (options.progress) options.progress({done.load(), total});
      }
    } catch (...) {
      std::lock_guard<std::mutex> lock(reporting);
      if (!failure) failure = std::current_exception();
      nextChunk = chunks;
    }
  };
  std::vector<std::thread> threads;
  for (int t = 1; t < std::max(1, options.threads); ++t)
    threads.emplace_back(work);
  work();
  for (std::thread& t : threads)
    t.join();
  if (failure) std::rethrow_exception(failure);
  if (done.load() < total) return -1;  // stopped: the chunks stay for the next run
  const long long failed = WriteSet(generator, description, folder, chunks, options.output);
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return failed;
}

}  // namespace qalto
