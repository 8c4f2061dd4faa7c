#pragma once
// Marquardt's least-squares method in his scaled form, one iteration per call: derivatives by
// central differences, the normal equations scaled to a unit diagonal, a damping term lambda on
// the diagonal, a Gauss-Jordan solve and a trial step that keeps every parameter within its
// bounds: a step that would leave [min, max] is shortened to end on the bound, and a parameter
// on a bound whose step points outward is held there while the step of the others is solved
// again without it. The fit driver calls MarquardtStep repeatedly and stops when the flag is no
// longer positive.
//
// Vectors are indexed like the parameters and points they hold: parameter p = 1..NP, point
// i = 1..M; element 0 is unused.

#include <functional>
#include <span>
#include <vector>

#include "fit/fit_threads.h"

namespace qalto {

inline constexpr int kMaxFitParameters = 99;

// Convergence flags returned by MarquardtStep.
inline constexpr int kFlagStepDone = 1;    // call again
inline constexpr int kFlagExactFit = -1;   // sum of squares below 1e-10 x variance of the data
inline constexpr int kFlagConverged = -2;  // relative decrease of the sum below 0.0002

// Fills f(1..M) with the model's values at the parameter vector t(1..NP).
using ModelEvaluation = std::function<void(const std::vector<double>& t, std::vector<double>& f)>;
// Fills the points of one part of the model (part 0, 1, ..: a curve of a global fit), and no
// other points of f(0..M), with its values at t. The parts together give what a ModelEvaluation
// gives.
using PartEvaluation =
    std::function<void(int part, const std::vector<double>& t, std::span<double> f)>;

// What the engine keeps for the whole run of the program: a new fit starts from the damping
// and the step the previous fit left behind.
struct MarquardtState {
  double lambda = 0;  // damping added to the unit diagonal of the scaled normal equations
  std::vector<double> trial = std::vector<double>(kMaxFitParameters + 1, 0.0);
  std::vector<double> step = std::vector<double>(kMaxFitParameters + 1, 0.0);
};

// The data of one fit, fixed from call to call, and the work arrays sized once per fit.
class MarquardtFit {
 public:
  // y(1..m): observed values; active, minimum, maximum (1..np): per parameter; variance: of
  // the observed values; defaultStep: derivative step of a parameter whose value is 0.
  MarquardtFit(MarquardtState& state, int np, const std::vector<double>& y, int m,
               std::vector<bool> active, std::vector<double> minimum, std::vector<double> maximum,
               double variance, double defaultStep, ModelEvaluation evaluate, int& objectiveCount);

  int Parameters() const { return np_; }
  int Points() const { return m_; }
  MarquardtState& State() { return state_; }

  // Fixed central-difference steps h(1..NP); 0 keeps the step of one percent of the value. A
  // parameter moved on a logarithmic scale takes a fixed step there.
  void SetDerivativeSteps(std::vector<double> steps) { fixedStep_ = std::move(steps); }
  // The derivatives of an iteration on threads: every part of every raised and lowered side of
  // the central differences is a task of its own; part p holds points partEnds[p] + 1 ..
  // partEnds[p + 1] (partEnds[0] = 0, the last is M); evaluations[w] is thread w's, on models of
  // its own, and must give exactly what the serial evaluation gives. Without threads, or with fewer
  // than two, the columns run one by one.
  void SetThreads(FitThreads* threads, std::vector<int> partEnds,
                  std::vector<PartEvaluation> evaluations) {
    threads_ = threads;
    partEnds_ = std::move(partEnds);
    parallel_ = std::move(evaluations);
  }
  // The derivative table D(i, j) at the parameter vector b(1..NP), as an iteration forms it.
  void DerivativesAt(const std::vector<double>& b);
  double Derivative(int i, int j) const { return derivative_[At(j - 1) * (At(m_) + 1) + At(i)]; }
  // Whether the last run of the fit's own evaluation was at the parameter vector b(1..NP), so
  // that its models hold those runs and TrialValues their values.
  bool ModelsHoldTheValuesAt(const std::vector<double>& b) const;
  const std::vector<double>& TrialValues() const { return f_; }

 private:
  friend void MarquardtStep(MarquardtFit& fit, std::vector<double>& b, double& S, int& callState,
                            int& flag, int& marquardCount);
  friend double EvaluateTrial(MarquardtFit& fit, const std::vector<double>& b);

  static size_t At(int i) { return static_cast<size_t>(i); }
  void PlaceTrial(const std::vector<double>& b);
  double TrialSum();
  double EvaluateTrialAhead(const std::vector<double>& b,
                            const std::function<bool(double)>& wanted);
  bool OnThreads() const;
  bool HoldsDerivativesAtTrial() const;
  void Derivatives();
  void ComputeSides(const std::function<bool()>& first);
  double DerivativeStep(int j, double value) const;
  void DerivativeColumn(int j, const ModelEvaluation& evaluate, std::vector<double>& t,
                        std::vector<double>& plus, std::vector<double>& minus);
  void KeepSide(int task, const std::vector<double>& f);
  void NormalEquations();
  void FreezeParameter(int j);
  void ScaleNormalEquations();
  void FillSolveMatrix(double lambda);
  void SolveStep();
  void SolveWithinBounds(const std::vector<double>& b, double lambda);
  bool PointsOutward(int j, const std::vector<double>& b) const;
  double& A(int j, int k) { return normal_[Cell(j, k)]; }
  double& Solve(int j, int k) { return solve_[Cell(j, k)]; }
  size_t Cell(int j, int k) const {
    return static_cast<size_t>(j) * static_cast<size_t>(np_ + 2) + static_cast<size_t>(k);
  }

  MarquardtState& state_;
  int np_;  // number of parameters
  int m_;   // number of points
  const std::vector<double>& y_;
  std::vector<bool> active_;
  std::vector<double> minimum_;
  std::vector<double> maximum_;
  double variance_;
  double defaultStep_;
  ModelEvaluation evaluate_;
  int& objectiveCount_;
  std::vector<double> fixedStep_;  // 1..NP, empty: one percent of the value
  FitThreads* threads_ = nullptr;
  std::vector<int> partEnds_;
  std::vector<PartEvaluation> parallel_;  // one per thread

  std::vector<double> f_;              // model values at the trial vector, 1..M
  std::vector<double> fPlus_;          // model values with one parameter raised by its step
  std::vector<double> fMinus_;         // ... and lowered by it
  std::vector<double> derivative_;     // D(i, j) at (j - 1) x (M + 1) + i
  std::vector<double> derivativesAt_;  // the parameters (1..NP) D is at; empty: none yet
  std::vector<double> modelsAt_;       // the parameters (1..NP) the evaluation last ran at
  std::vector<double> lowered_;        // on threads: f(t_j - h) at (j - 1) x (M + 1) + i
  std::vector<double> normal_;         // A(1..NP, 1..NP), right-hand side in column NP + 1
  std::vector<double> solve_;          // the damped copy that the elimination consumes
  std::vector<double> scale_;          // s(1..NP) = sqrt of the unscaled diagonal
  std::vector<bool> held_;             // 1..NP: on a bound with the step outward, this call
};

// One iteration of the fit. b (in/out): the parameter values; S (in/out): the sum of squares at
// b; callState: 0 on the first call of a fit (the engine sets it to 1), negative to evaluate the
// model at b only; flag (out): kFlagStepDone, kFlagExactFit or kFlagConverged; marquardCount
// (in/out): damping increases of the fit so far.
void MarquardtStep(MarquardtFit& fit, std::vector<double>& b, double& S, int& callState, int& flag,
                   int& marquardCount);

// Evaluates the model at b + step, where a step component that would leave its parameter's
// bounds is shortened to end on the bound; the point becomes the engine's trial vector. Returns the
// sum of squared deviations from the observed values and counts one objective evaluation.
double EvaluateTrial(MarquardtFit& fit, const std::vector<double>& b);

}  // namespace qalto
