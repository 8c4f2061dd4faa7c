#include "files/program_file.h"

#include <cctype>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

#include "common/plain_number.h"
#include "files/read_failure.h"
#include "files/table_cells.h"
#include "files/text_decoding.h"
#include "files/text_file.h"
#include "model/model_limits.h"
#include "simulation/program_samples.h"

namespace qalto {
namespace {

constexpr std::size_t kLargestFile = std::size_t{64} << 20;  // bytes, as an import takes

Failure ProgramFailure(const std::string& text) {
  return Failure{"Potential program Error: " + text};
}

char DelimiterOf(std::string_view line) {
  for (char c : {'\t', ';', ','})
    if (line.find(c) != std::string_view::npos) return c;
  return kBlanks;
}

std::optional<double> Number(std::string_view cell, char delimiter) {
  if (auto value = CellNumber(cell, '.')) return value;
  if (delimiter != ',') return CellNumber(cell, ',');  // a decimal comma
  return std::nullopt;
}

bool NamesPotential(std::string_view heading) {
  const std::string_view cell = TrimmedCell(heading);
  return !cell.empty() && (std::toupper(static_cast<unsigned char>(cell.front())) == 'E' ||
                           cell.substr(0, 3) == "pot" || cell.substr(0, 3) == "Pot");
}

}  // namespace

Expected<PotentialProgram> ReadProgramText(const std::string& text, const std::string& name) {
  const std::vector<std::string_view> lines = SplitLines(text);
  PotentialProgram program;
  program.fromFile = true;
  program.fileName = name;
  bool potentialFirst = false;
  bool headingSeen = false;
  int previousLine = 0;
  for (std::size_t l = 0; l < lines.size(); ++l) {
    const int line = static_cast<int>(l) + 1;
    const std::string_view row = lines[l];
    if (TrimmedCell(row).empty()) continue;
    const char delimiter = DelimiterOf(row);
    const std::vector<std::string_view> cells = SplitCells(row, delimiter);
    if (cells.size() < 2) {
      return ProgramFailure(
          FailureInLine(name + ": one column where t (s) and E (V) stand", line, std::string(row)));
    }
    const std::optional<double> first = Number(cells[0], delimiter);
    const std::optional<double> second = Number(cells[1], delimiter);
    if (!first || !second) {
      if (!headingSeen && program.fileTimes.empty() && !first) {
        headingSeen = true;  // the heading line
        potentialFirst = NamesPotential(cells[0]);
        continue;
      }
      const std::string_view bad = first ? cells[1] : cells[0];
      return ProgramFailure(
          FailureInLine(name + ": no number where t (s) and E (V) stand", line, std::string(bad)));
    }
    const double t = potentialFirst ? *second : *first;  // s
    const double E = potentialFirst ? *first : *second;  // V
    if (!program.fileTimes.empty() && !(t > program.fileTimes.back())) {
      return ProgramFailure(name + ", line " + std::to_string(line) + ": t (s) " + PlainNumber(t) +
                            " does not follow " + PlainNumber(program.fileTimes.back()) +
                            " of line " + std::to_string(previousLine) +
                            ": the times must increase");
    }
    if (!(std::fabs(E) <= kProgramPotentialLimit) || !std::isfinite(t)) {
      return ProgramFailure(name + ", line " + std::to_string(line) + ": E (V) is " +
                            PlainNumber(E) + ", t (s) " + PlainNumber(t) +
                            "; allowed: potentials between -10 and 10, finite times");
    }
    if (program.fileTimes.size() == static_cast<std::size_t>(kMaxPoints)) {
      return ProgramFailure(name + " holds more than " + std::to_string(kMaxPoints) +
                            " rows, the most a curve holds points");
    }
    program.fileTimes.push_back(t);
    program.filePotentials.push_back(E);
    previousLine = line;
  }
  if (program.fileTimes.size() < 2) {
    return ProgramFailure(name + " holds " + std::to_string(program.fileTimes.size()) +
                          " rows of t (s) and E (V); a program needs at least two");
  }
  return program;
}

Expected<PotentialProgram> ReadProgramFile(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  std::string bytes;
  try {
    std::ifstream file = OpenForInput(path);
    std::error_code unknown;
    const std::uintmax_t size = std::filesystem::file_size(path, unknown);
    if (!unknown && size > kLargestFile) {
      return ProgramFailure(name + " is larger than " + std::to_string(kLargestFile >> 20) +
                            " MB: no potential program");
    }
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  } catch (const RuntimeError& error) {
    return ProgramFailure(FailureOfFile(error.Description(), path));
  } catch (const std::ios_base::failure&) {
    return ProgramFailure(FailureOfFile("Device I/O error", path));
  }
  return ReadProgramText(DecodeText(std::move(bytes)).text, name);
}

}  // namespace qalto
