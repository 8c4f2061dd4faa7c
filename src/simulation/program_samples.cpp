#include "simulation/program_samples.h"

#include <algorithm>
#include <cmath>

#include "common/plain_number.h"
#include "common/runtime_error.h"
#include "model/model_limits.h"

namespace qalto {
namespace {

const char* KindName(SegmentKind kind) {
  switch (kind) {
    case SegmentKind::kHold:
      return "hold";
    case SegmentKind::kSweep:
      return "sweep";
    case SegmentKind::kStep:
      return "step";
  }
  return "";
}

std::string Refused(const std::string& what, double value, const std::string& allowed) {
  return what + " is " + PlainNumber(value) + "; allowed: " + allowed;
}

std::optional<std::string> PotentialProblem(const std::string& what, double E) {
  if (std::fabs(E) <= kProgramPotentialLimit) return std::nullopt;
  return Refused(what, E,
                 "between " + PlainNumber(-kProgramPotentialLimit) + " and " +
                     PlainNumber(kProgramPotentialLimit));
}

std::optional<std::string> SegmentProblem(const ProgramSegment& s) {
  const bool sweep = s.kind == SegmentKind::kSweep;
  if (auto p = PotentialProblem(sweep ? "E from (V)" : "E (V)", s.potential)) return p;
  if (sweep) {
    if (auto p = PotentialProblem("E to (V)", s.end)) return p;
    if (!(s.rate > 0)) return Refused("v (V/s)", s.rate, "greater than 0");
    if (!std::isfinite(s.rate)) return Refused("v (V/s)", s.rate, "a finite number");
    return std::nullopt;
  }
  if (!(s.duration >= 0)) return Refused("t (s)", s.duration, "0 or more");
  if (!std::isfinite(s.duration)) return Refused("t (s)", s.duration, "a finite number");
  return std::nullopt;
}

// Samples of a hold, and of a sweep from its first potential to its last inclusive.
double SegmentPoints(const ProgramSegment& s, double interval) {
  if (s.kind == SegmentKind::kSweep)
    return std::round(std::fabs(s.end - s.potential) / (s.rate * interval)) + 1.0;
  return s.duration > 0 ? std::ceil(s.duration / interval - 1e-9) : 0.0;
}

double FilePoints(const PotentialProgram& p, double interval) {
  return std::floor((p.fileTimes.back() - p.fileTimes.front()) / interval + 1e-9) + 1.0;
}

std::optional<std::string> FileProblem(const PotentialProgram& p) {
  if (p.fileTimes.size() < 2 || p.fileTimes.size() != p.filePotentials.size())
    return "the file " + p.fileName + " holds fewer than two rows";
  for (std::size_t k = 0; k < p.fileTimes.size(); ++k) {
    if (k > 0 && !(p.fileTimes[k] > p.fileTimes[k - 1]))
      return "the times of the file " + p.fileName + " do not increase";
    if (auto problem = PotentialProblem("E (V)", p.filePotentials[k]))
      return "row " + std::to_string(k + 1) + " of the file " + p.fileName + ": " + *problem;
  }
  return std::nullopt;
}

double MeanStep(const PotentialProgram& p) {
  return (p.fileTimes.back() - p.fileTimes.front()) / (p.fileTimes.size() - 1.0);  // s
}

void AddSample(ProgramSamples& s, double begin, double potential) {
  s.begin.push_back(begin);
  s.potential.push_back(potential);
}

void SampleSweep(const ProgramSegment& g, ProgramSamples& s) {
  const double step = g.rate * s.interval;  // V
  const double direction = g.end > g.potential ? 1.0 : (g.end < g.potential ? -1.0 : 0.0);
  const int n = static_cast<int>(std::round(std::fabs(g.end - g.potential) / step));
  // A first sweep from the rest potential arrives at E from at its rate, as technique 1 does.
  if (s.potential.empty() && g.potential == s.rest) s.rest = g.potential - direction * step;
  for (int j = 0; j <= n; ++j) {
    const double E = g.potential + direction * j * step;
    AddSample(s, j == 0 ? (s.potential.empty() ? s.rest : g.potential) : s.potential.back(), E);
  }
}

}  // namespace

bool ProgramSamples::JumpsAt(int k) const {
  return std::fabs(begin[static_cast<std::size_t>(k)] - Before(k)) > kJumpThreshold;
}

bool ProgramSamples::HasJump() const {
  for (int k = 0; k < Count(); ++k)
    if (JumpsAt(k)) return true;
  return false;
}

bool SampledAtRows(const PotentialProgram& program) {
  return program.fromFile && program.atRows;
}

RowGrid RowGridOf(const PotentialProgram& program) {
  const std::vector<double>& T = program.fileTimes;
  const double mean = MeanStep(program);
  RowGrid g;
  g.start = T.front() - mean;
  g.onRows = true;
  for (std::size_t k = 0; k < T.size() && g.onRows; ++k)
    g.onRows = std::fabs(T[k] - (T.front() + k * mean)) <= kEvenRows * mean;
  if (g.onRows) {
    g.interval = mean;
    g.count = static_cast<int>(T.size());
    return g;
  }
  const double span = T.back() - g.start;  // s
  g.interval = std::max(mean / kRowSubsteps, span / kMaxPoints);
  g.count = std::min(static_cast<int>(std::ceil(span / g.interval - 1e-9)), kMaxPoints);
  return g;
}

std::optional<std::string> ProgramProblem(const PotentialProgram& program, double interval,
                                          double restPotential, const char* intervalCaption) {
  if (SampledAtRows(program)) return FileProblem(program);
  if (!(interval > 0) || !std::isfinite(interval))
    return Refused(intervalCaption, interval, "greater than 0");
  double points = 0;
  if (program.fromFile) {
    if (auto problem = FileProblem(program)) return problem;
    points = FilePoints(program, interval);
  } else {
    if (program.segments.empty()) return "no segment (choose a kind in a row)";
    if (auto problem = PotentialProblem("E start (V)", restPotential)) return problem;
    for (std::size_t i = 0; i < program.segments.size(); ++i) {
      const ProgramSegment& s = program.segments[i];
      if (auto problem = SegmentProblem(s)) {
        return "segment " + std::to_string(i + 1) + " (" + KindName(s.kind) + "): " + *problem;
      }
      points += SegmentPoints(s, interval);
    }
  }
  if (points < 1) return "no sample: its segments take no time";
  if (points > kMaxPoints) {
    const std::string count =
        std::isfinite(points) ? PlainNumber(points) : "more than " + std::to_string(kMaxPoints);
    return count + " points at " + intervalCaption + " " + PlainNumber(interval) +
           ", a curve holds at most " + std::to_string(kMaxPoints);
  }
  return std::nullopt;
}

ProgramSamples SampleProgram(const PotentialProgram& program, double interval, double restPotential,
                             const char* intervalCaption) {
  if (auto problem = ProgramProblem(program, interval, restPotential, intervalCaption))
    throw RuntimeError("Invalid procedure call or argument: " + *problem);
  ProgramSamples s;
  s.interval = interval;
  if (SampledAtRows(program)) {
    const RowGrid g = RowGridOf(program);
    s.interval = g.interval;
    s.firstTime = g.start + g.interval;
    s.rest = program.filePotentials.front();
    for (int k = 0; k < g.count; ++k) {
      const double E = g.onRows ? program.filePotentials[static_cast<std::size_t>(k)]
                                : FilePotentialAt(program, s.TimeOf(k));
      AddSample(s, k == 0 ? s.rest : s.potential.back(), E);
    }
    return s;
  }
  if (program.fromFile) {
    s.firstTime = program.fileTimes.front();
    s.rest = program.filePotentials.front();
    const int n = static_cast<int>(FilePoints(program, interval));
    for (int k = 0; k < n; ++k) {
      const double E = FilePotentialAt(program, s.TimeOf(k));
      AddSample(s, k == 0 ? s.rest : s.potential.back(), E);
    }
    return s;
  }
  s.firstTime = interval;
  s.rest = restPotential;
  for (const ProgramSegment& g : program.segments) {
    if (g.kind == SegmentKind::kSweep) {
      SampleSweep(g, s);
      continue;
    }
    const int n = static_cast<int>(SegmentPoints(g, interval));
    for (int j = 0; j < n; ++j)
      AddSample(s, g.potential, g.potential);
  }
  return s;
}

double FilePotentialAt(const PotentialProgram& program, double t) {
  const std::vector<double>& T = program.fileTimes;
  const std::vector<double>& E = program.filePotentials;
  if (T.empty()) return 0.0;
  if (t <= T.front()) return E.front();
  if (t >= T.back()) return E.back();
  const std::size_t k = static_cast<std::size_t>(std::upper_bound(T.begin(), T.end(), t) -
                                                 T.begin());  // T[k-1] <= t < T[k]
  const double share = (t - T[k - 1]) / (T[k] - T[k - 1]);
  return E[k - 1] + share * (E[k] - E[k - 1]);
}

}  // namespace qalto
