#include "digital/disc_system.h"

#include <cmath>

#include "common/checked_math.h"
#include "common/runtime_error.h"
#include "digital/invert_matrix.h"

namespace qalto {

namespace {

size_t Square(int n) {
  return static_cast<size_t>(n) * static_cast<size_t>(n);
}

// Unknown of species s (1..S) in sector k (1..K) within a box: species by species, so that
// species no reaction couples keep blocks of their own.
int Unknown(const DiscRun& run, int k, int s) {
  return (s - 1) * run.grid.sectors + (k - 1);
}

// First unknown of the diagonal block holding unknown r; the blocks have run.block unknowns.
int BlockStart(const DiscRun& run, int r) {
  return r - r % run.block;
}

// The block of box j: 1 + the exchanges with the neighbouring cells on the diagonal, the
// exchanges along eta off it, and the first-order reactions inside each cell; in_j and out_j
// are the exchanges along xi.
void BuildBox(const DiscRun& run, int j, double dt, std::vector<double>& block, double* inward,
              double* outward) {
  const DiscGrid& g = run.grid;
  const int M = run.size;
  const double scale = dt / (g.radius * g.radius);
  block.assign(Square(M), 0.0);
  for (int k = 1; k <= g.sectors; ++k) {
    const int c = g.Cell(j, k);
    const double V = g.volume[c];
    const double inner = g.innerConductance[c] / V;
    const double outer = g.innerConductance[g.Cell(j + 1, k)] / V;
    const double lower = g.lowerConductance[c] / V;
    const double upper = k < g.sectors ? g.lowerConductance[g.Cell(j, k + 1)] / V : 0.0;
    for (int s = 1; s <= run.species; ++s) {
      const double lambda = run.diffusion[s] * scale;
      const int m = Unknown(run, k, s);
      inward[m] = lambda * inner;
      outward[m] = lambda * outer;
      double& diagonal = block[m * M + m];
      diagonal = 1.0 + lambda * (inner + outer + lower + upper);
      if (k > 1) block[m * M + m - 1] = -lambda * lower;
      if (k < g.sectors) block[m * M + m + 1] = -lambda * upper;
    }
    for (const DiscReaction& q : run.reactions) {
      const int X = q.X != 0 ? Unknown(run, k, q.X) : -1;
      const int Y = q.Y != 0 ? Unknown(run, k, q.Y) : -1;
      if (X >= 0) block[X * M + X] += dt * q.forward;
      if (Y >= 0) block[Y * M + Y] += dt * q.backward;
      if (X >= 0 && Y >= 0) {
        block[X * M + Y] -= dt * q.backward;
        block[Y * M + X] -= dt * q.forward;
      }
    }
  }
}

void Invert(std::vector<double>& block, int M, DenseLu& factors, double* inverse,
            const ShowMessage& showMessage) {
  if (!FactorDense(block.data(), M, factors)) {
    showMessage(kSingularMatrixMessage);
    return;
  }
  InvertDense(factors, inverse);
}

// W_N = B_N^-1, W_j = (B_j - diag(out_j) W_(j+1) diag(in_(j+1)))^-1 for j = N-1..1, and the
// disc rows' coupling to the surface through box 1.
void BuildLevel(DiscRun& run, double dt, const ShowMessage& showMessage, DiscLevel& level) {
  const int N = run.grid.boxes;
  const int M = run.size;
  level.inverse.assign(Square(M) * (N + 1), 0.0);
  level.inward.assign(static_cast<size_t>(M) * (N + 1), 0.0);
  level.outward.assign(static_cast<size_t>(M) * (N + 1), 0.0);
  std::vector<double> block;
  for (int j = N; j >= 1; --j) {
    double* in = &level.inward[static_cast<size_t>(j) * M];
    double* out = &level.outward[static_cast<size_t>(j) * M];
    BuildBox(run, j, dt, block, in, out);
    if (j < N) {
      const double* W = &level.inverse[Square(M) * (j + 1)];
      const double* inNext = &level.inward[static_cast<size_t>(j + 1) * M];
      for (int r = 0; r < M; ++r) {
        const int first = BlockStart(run, r);
        for (int c = first; c < first + run.block; ++c)
          block[r * M + c] -= out[r] * W[r * M + c] * inNext[c];
      }
    }
    Invert(block, M, run.factors, &level.inverse[Square(M) * j], showMessage);
  }
  // coupling = source . W_1 . diag(in_1), the source block-diagonal by sectors.
  level.coupling.assign(Square(M), 0.0);
  const double* W = &level.inverse[Square(M)];
  const double* in = &level.inward[static_cast<size_t>(M)];
  const int S = run.species;
  for (int k = 1; k <= run.grid.sectors; ++k) {
    const SpeciesMatrix& source = run.sources[k];
    for (int s = 1; s <= S; ++s) {
      const int r = Unknown(run, k, s);
      for (int t = 1; t <= S; ++t) {
        const double q = source[s][t];
        if (q == 0.0) continue;
        const int row = Unknown(run, k, t);
        const int first = BlockStart(run, row);
        for (int c = first; c < first + run.block; ++c)
          level.coupling[r * M + c] += q * W[row * M + c] * in[c];
      }
    }
  }
  for (double v : level.inverse)
    Checked(v);
}

// The step's start profile: the latest, or with a second-order difference the latest and the
// one before it (digital_run.h).
void StartProfile(DiscRun& run, const DiscLevel& level) {
  const size_t first = static_cast<size_t>(run.size);
  const size_t end = first * (run.grid.boxes + 1);
  for (size_t i = first; i < end; ++i) {
    const double now = run.latest[i];
    run.start[i] = level.newer * now + level.older * run.older[i];
    if (run.keepsOlder) run.older[i] = now;
  }
}

// f_j = W_j (start_j + out_j f_(j+1)) from the bulk inward.
void SweepInward(DiscRun& run, const DiscLevel& level) {
  const int N = run.grid.boxes;
  const int M = run.size;
  std::vector<double> rhs(static_cast<size_t>(M));
  const double* outer = &run.latest[static_cast<size_t>(N + 1) * M];  // the bulk
  for (int j = N; j >= 1; --j) {
    const double* start = &run.start[static_cast<size_t>(j) * M];
    const double* out = &level.outward[static_cast<size_t>(j) * M];
    for (int m = 0; m < M; ++m)
      rhs[m] = start[m] + out[m] * outer[m];
    const double* W = &level.inverse[Square(M) * j];
    double* f = &run.offset[static_cast<size_t>(j) * M];
    for (int r = 0; r < M; ++r) {
      const int first = BlockStart(run, r);
      double sum = 0.0;
      for (int c = first; c < first + run.block; ++c)
        sum += W[r * M + c] * rhs[c];
      f[r] = sum;
    }
    outer = f;
  }
}

// (rows - coupling) C(disc) = source f_1, the rows block-diagonal by sectors.
void SolveDisc(DiscRun& run, const DiscLevel& level, const ChargeTransfer& transfer,
               const ChargeRates& rates, const ShowMessage& showMessage) {
  const int M = run.size;
  const int S = run.species;
  run.work.resize(Square(M));
  for (size_t i = 0; i < Square(M); ++i)
    run.work[i] = -level.coupling[i];
  double* surface = &run.latest[0];
  const double* f1 = &run.offset[static_cast<size_t>(M)];
  SpeciesMatrix rows;
  for (int k = 1; k <= run.grid.sectors; ++k) {
    WriteSurfaceRows(run.sectorRows[k], transfer, rates, rows);
    const SpeciesMatrix& source = run.sources[k];
    for (int s = 1; s <= S; ++s) {
      const int r = Unknown(run, k, s);
      double sum = 0.0;
      for (int t = 1; t <= S; ++t) {
        run.work[r * M + Unknown(run, k, t)] += rows[s][t];
        sum += source[s][t] * f1[Unknown(run, k, t)];
      }
      surface[r] = sum;
    }
  }
  if (!FactorDense(run.work.data(), M, run.factors)) {
    showMessage(kSingularMatrixMessage);
    return;
  }
  SolveDense(run.factors, surface);
}

// u_j = W_j (in_j u_(j-1)) + f_j from the disc outward.
void SubstituteOutward(DiscRun& run, const DiscLevel& level) {
  const int N = run.grid.boxes;
  const int M = run.size;
  std::vector<double> rhs(static_cast<size_t>(M));
  for (int j = 1; j <= N; ++j) {
    const double* inner = &run.latest[static_cast<size_t>(j - 1) * M];
    const double* in = &level.inward[static_cast<size_t>(j) * M];
    for (int m = 0; m < M; ++m)
      rhs[m] = in[m] * inner[m];
    const double* W = &level.inverse[Square(M) * j];
    const double* f = &run.offset[static_cast<size_t>(j) * M];
    double* u = &run.latest[static_cast<size_t>(j) * M];
    for (int r = 0; r < M; ++r) {
      const int first = BlockStart(run, r);
      double sum = f[r];
      for (int c = first; c < first + run.block; ++c)
        sum += W[r * M + c] * rhs[c];
      u[r] = sum;
    }
  }
  for (int m = 0; m < M; ++m) {
    if (!std::isfinite(run.latest[static_cast<size_t>(m)])) throw RuntimeError::Overflow();
  }
}

}  // namespace

void PrepareDiscRun(const DiscGrid& grid, const std::vector<double>& diffusion,
                    const std::vector<DiscReaction>& reactions, const ChargeTransfer& transfer,
                    const std::vector<double>& stepLengths, const std::vector<double>& growth,
                    const SpeciesVector& bulk, DiscRun& run) {
  run.grid = grid;
  run.species = static_cast<int>(diffusion.size()) - 1;
  run.size = grid.sectors * run.species;
  run.diffusion = diffusion;
  run.reactions = reactions;
  bool coupled = false;  // some reaction turns one species into another
  for (const DiscReaction& q : reactions)
    coupled |= q.X != 0 && q.Y != 0 && q.X != q.Y;
  run.block = coupled ? run.size : grid.sectors;
  const int K = grid.sectors;
  run.sectorRows.assign(static_cast<size_t>(K) + 1, SurfaceRows{});
  run.sources.assign(static_cast<size_t>(K) + 1, SpeciesMatrix{});
  for (int k = 1; k <= K; ++k) {
    SpeciesVector g{};  // cm/s
    for (int s = 1; s <= run.species; ++s)
      g[s] = diffusion[s] * grid.surfaceConductance[k];
    run.sectorRows[k] = PlanSurfaceRows(transfer, run.species, g);
    WriteSurfaceSource(run.sectorRows[k], transfer, run.sources[k]);
  }
  run.levels.resize(stepLengths.size());
  run.keepsOlder = false;
  for (size_t i = 0; i < stepLengths.size(); ++i) {
    const double w = growth[i];
    const double alpha = w > 0.0 ? (1.0 + 2.0 * w) / (1.0 + w) : 1.0;
    DiscLevel& level = run.levels[i];
    level.timeStep = stepLengths[i] / alpha;
    level.newer = w > 0.0 ? (1.0 + w) / alpha : 1.0;
    level.older = w > 0.0 ? -w * w / ((1.0 + w) * alpha) : 0.0;
    run.keepsOlder |= w > 0.0;
    level.ready = false;
  }
  const size_t values = static_cast<size_t>(run.size) * (grid.boxes + 2);
  run.latest.assign(values, 0.0);
  run.older.assign(values, 0.0);
  run.start.assign(values, 0.0);
  run.offset.assign(values, 0.0);
  ResetDiscProfile(run, bulk);
}

void ResetDiscProfile(DiscRun& run, const SpeciesVector& bulk) {
  const int boxes = run.grid.boxes + 2;
  for (int j = 0; j < boxes; ++j) {
    for (int k = 1; k <= run.grid.sectors; ++k) {
      for (int s = 1; s <= run.species; ++s) {
        const size_t i = static_cast<size_t>(j) * run.size + Unknown(run, k, s);
        run.latest[i] = bulk[s];
        run.older[i] = bulk[s];
      }
    }
  }
}

void StartDiscStep(DiscRun& run, int level) {
  run.level = level;
  StartProfile(run, run.levels[static_cast<size_t>(level)]);
}

void SolveDiscStep(DiscRun& run, const ChargeTransfer& transfer, const ChargeRates& rates,
                   const ShowMessage& showMessage) {
  DiscLevel& level = run.levels[static_cast<size_t>(run.level)];
  if (!level.ready) {
    BuildLevel(run, level.timeStep, showMessage, level);
    level.ready = true;
  }
  SweepInward(run, level);
  SolveDisc(run, level, transfer, rates, showMessage);
  SubstituteOutward(run, level);
}

double DiscReductionRate(const DiscRun& run, const ChargeTransfer& transfer,
                         const ChargeRates& rates, int r) {
  const ChargeReaction& q = transfer.reactions[r];
  double rate = 0.0;
  SpeciesVector surface{};
  for (int k = 1; k <= run.grid.sectors; ++k) {
    for (int s = 1; s <= run.species; ++s)
      surface[s] = run.latest[static_cast<size_t>(Unknown(run, k, s))];
    rate +=
        run.grid.areaShare[k] * NetReductionRate(q, rates.forward[r], rates.backward[r], surface);
  }
  return rate;
}

double DiscSurfaceConcentration(const DiscRun& run, int s) {
  double mean = 0.0;
  for (int k = 1; k <= run.grid.sectors; ++k)
    mean += run.grid.areaShare[k] * run.latest[static_cast<size_t>(Unknown(run, k, s))];
  return mean;
}

}  // namespace qalto
