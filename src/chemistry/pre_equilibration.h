#pragma once
// The initial concentrations at the electrode surface ("C init"), computed from the analytical
// concentrations ("C anal"): optionally all reactions of the mechanism are brought to
// equilibrium together at the start potential (every equilibrium and the mass balances at once),
// and optionally a preconcentration step adds to species 2 what it deposits of species 1. The
// column is computed in full precision and written to the captions of the Chemicals window.

#include "model/model.h"
#include "ui/controls.h"

namespace qalto {

// The controls the computation reads and writes, from the Chemicals, Instrument and Mechanism
// windows.
struct PreEquilibrationControls {
  ControlArray<TextBox>* C = nullptr;            // analytical concentrations, M
  ControlArray<Label>* Cinit = nullptr;          // initial concentrations, M (written)
  ControlArray<TextBox>* Eze = nullptr;          // standard potentials, V
  ControlArray<Label>* LabelKeq = nullptr;       // equilibrium constants of the homogeneous rows
  const CheckBox* CheckPreEqu = nullptr;         // pre-equilibration on
  const TextBox* txtPconst = nullptr;            // solution volume, ml
  const TextBox* Estart = nullptr;               // start potential, V
  const CheckBox* CheckPreCon = nullptr;         // preconcentration on
  const TextBox* txtEPre = nullptr;              // preconcentration potential, V
  const TextBox* txtTPre = nullptr;              // preconcentration time, s
  const TextBox* txtRStir = nullptr;             // stirring rate, rpm
  const TextBox* txtTpreconst = nullptr;         // preconcentration time constant, 1/s
  const ControlArray<TextBox>* chem2 = nullptr;  // second-order reaction editor boxes
};

// Recomputes the whole "C init" column; also sets FOverRT. Failing statements are abandoned
// one by one and the computation goes on.
void ComputeInitialConcentrations(Model& model, const PreEquilibrationControls& controls);

// The fraction of species 1 in the solution that the preconcentration step brings into the
// electrode phase, per unit of its analytical concentration.
double PreconcentrationFactor(const Model& model, const PreEquilibrationControls& controls);

}  // namespace qalto
