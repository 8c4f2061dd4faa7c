#include "files/cycle_overlay.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qalto {
namespace {

// A run of points between two turns of the potential.
struct Sweep {
  size_t first = 0;
  size_t last = 0;  // inclusive
  int direction = 0;
  size_t cursor = 0;  // where the last potential was found, to start the next search
};

// A turn counts when the potential has come back by a tenth of its whole range from the
// extreme of the sweep: measured potentials wobble by their noise and may jump at the start
// (an EC-Lab sweep's second point lies 0.18 V off its first), a potential program turns over
// the whole range.
std::vector<Sweep> SweepsOf(const std::vector<double>& e) {
  std::vector<Sweep> sweeps;
  if (e.empty()) return sweeps;
  auto [low, high] = std::minmax_element(e.begin(), e.end());
  double turn = 0.1 * (*high - *low);  // V
  Sweep sweep;
  size_t extreme = 0;
  for (size_t i = 1; i < e.size(); ++i) {
    if (sweep.direction == 0) {
      if (std::fabs(e[i] - e[0]) > turn) sweep.direction = e[i] > e[0] ? 1 : -1;
      extreme = i;
      continue;
    }
    if ((e[i] - e[extreme]) * sweep.direction >= 0) {
      extreme = i;
    } else if (std::fabs(e[i] - e[extreme]) > turn) {
      sweep.last = extreme;
      sweeps.push_back(sweep);
      sweep = Sweep{extreme, extreme, -sweep.direction, extreme};
      extreme = i;
    }
  }
  sweep.last = e.size() - 1;
  sweeps.push_back(sweep);
  return sweeps;
}

// The direction of the axis at each of its points: that of the sweep the point belongs to.
std::vector<int> AxisDirections(const std::vector<double>& axis) {
  std::vector<int> directions(axis.size(), 0);
  for (const Sweep& s : SweepsOf(axis)) {
    std::fill(directions.begin() + static_cast<std::ptrdiff_t>(s.first),
              directions.begin() + static_cast<std::ptrdiff_t>(s.last) + 1, s.direction);
  }
  return directions;
}

// The current at potential v between points i and i + 1 when v lies between them.
bool Interpolate(const ImportedCurve& c, size_t i, double v, double& current) {
  double a = c.potential[i];
  double b = c.potential[i + 1];
  if ((v - a) * (v - b) > 0) return false;
  double w = a == b ? 0 : (v - a) / (b - a);
  current = c.current[i] + w * (c.current[i + 1] - c.current[i]);
  return true;
}

// Searches the sweep from its cursor on, then from its start.
bool FindOnSweep(const ImportedCurve& c, Sweep& s, double v, double& current) {
  for (size_t pass = 0; pass < 2; ++pass) {
    size_t from = pass == 0 ? s.cursor : s.first;
    size_t to = pass == 0 ? s.last : s.cursor;
    for (size_t i = from; i < to; ++i) {
      if (Interpolate(c, i, v, current)) {
        s.cursor = i;
        return true;
      }
    }
  }
  return false;
}

double NearestCurrent(const ImportedCurve& c, const std::vector<Sweep>& sweeps, int direction,
                      double v) {
  double best = std::numeric_limits<double>::infinity();
  double current = c.current.front();
  for (int pass = 0; pass < 2; ++pass) {
    for (const Sweep& s : sweeps) {
      if (pass == 0 && s.direction != direction) continue;
      for (size_t i = s.first; i <= s.last; ++i) {
        double distance = std::fabs(c.potential[i] - v);
        if (distance < best) {
          best = distance;
          current = c.current[i];
        }
      }
    }
    if (std::isfinite(best)) break;
  }
  return current;
}

}  // namespace

int PotentialTurns(const std::vector<double>& potential) {
  return potential.empty() ? 0 : static_cast<int>(SweepsOf(potential).size()) - 1;
}

std::vector<double> CurrentsAtPotentials(const ImportedCurve& cycle,
                                         const std::vector<double>& axis) {
  std::vector<double> currents(axis.size(), 0.0);
  if (cycle.potential.empty()) return currents;
  std::vector<Sweep> sweeps = SweepsOf(cycle.potential);
  std::vector<int> directions = AxisDirections(axis);
  for (size_t j = 0; j < axis.size(); ++j) {
    int direction = directions[j];
    bool found = false;
    for (Sweep& s : sweeps) {
      if ((s.direction == direction || s.direction == 0) &&
          FindOnSweep(cycle, s, axis[j], currents[j])) {
        found = true;
        break;
      }
    }
    if (!found) currents[j] = NearestCurrent(cycle, sweeps, direction, axis[j]);
  }
  return currents;
}

}  // namespace qalto
