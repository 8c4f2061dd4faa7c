#pragma once
// The initial concentrations at the electrode surface ("C init"), computed from the analytical
// concentrations ("C anal"): optionally all reactions of the mechanism are brought to
// equilibrium together at the start potential (every equilibrium and the mass balances at once),
// and optionally a preconcentration step adds to species 2 what it deposits of species 1. The
// column is computed in full precision from numbers the forms read; the Chemicals window shows
// it in kConcentrationFormat.

#include <optional>

#include "common/table.h"
#include "common/typed_number.h"
#include "model/model.h"

namespace qalto {

// What the preconcentration step takes from the Instrument and Chemicals windows.
struct PreconcentrationInputs {
  TypedNumber volume;        // solution volume, ml
  TypedNumber stirring;      // stirring rate, rpm
  TypedNumber time;          // preconcentration time, s
  TypedNumber rateConstant;  // preconcentration time constant, 1/s
  TypedNumber potential;     // preconcentration potential, V
};

// What the computation takes from the forms, read from their boxes and labels. An index that
// the forms have no box for raises "Subscript out of range" where it is used.
struct PreEquilibrationInputs {
  Table1<TypedNumber> analytical{kMaxSpecies + 1};  // "C anal" of species 1..8, M
  Table1<TypedNumber> shown{kMaxSpecies + 1};       // "C init" as it stands, M
  Table1<TypedNumber> e0{4};                        // E0 of charge reactions 1..3, V
  Table1<TypedNumber> keq{5};                       // Keq of homogeneous reactions 1..4
  Table1<int> secondOrderBoxFilled{17};  // 1 where a box of the second-order editor is filled
  TypedNumber startPotential;            // V
  bool preEquilibrate = false;
  bool preconcentrate = false;
  PreconcentrationInputs preconcentration;
};

// The format of the "C init" column.
inline constexpr const char* kConcentrationFormat = "0.###e-#";

// The new "C init" column: species s has the concentration computed for it (M), or nothing
// where its computation failed and the column keeps what it showed.
using InitialConcentrations = Table1<std::optional<double>>;

// The whole "C init" column; also sets FOverRT. Failing statements are abandoned one by one
// and the computation goes on.
InitialConcentrations ComputeInitialConcentrations(Model& model,
                                                   const PreEquilibrationInputs& inputs);

// The fraction of species 1 in the solution that the preconcentration step brings into the
// electrode phase, per unit of its analytical concentration.
double PreconcentrationFactor(const Model& model, const PreconcentrationInputs& inputs);

}  // namespace qalto
