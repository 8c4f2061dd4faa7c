#pragma once
// The quantities a fit can adjust, named by the index of their "fitted" check box on the
// Chemicals window: 1..8 concentration C of species s, 11..13 ks, 21..23 alpha and 31..33 E0 of
// charge reaction r, 41..44 kf and 51..54 kb of homogeneous reaction i, 71..78 diffusion
// coefficient D of species s, 80 the adsorbed layer's interaction parameter g, 81..88 surface
// concentration Gamma of adsorbed species s. The Instrument window adds the cell's own: 91 Ru, 92
// Cd0, 93 Cd1, 94 Cd2 (Cd = Cd0 + Cd1 E + Cd2 E^2) and the baseline's 95 offset and 96 slope.

#include <optional>
#include <string>
#include <vector>

#include "model/model.h"

namespace qalto {

// Every parameter code of the Chemicals window, in the order a fit lists them.
const std::vector<int>& FitParameterCodes();

inline constexpr int kFittedInteraction = 80;

// The codes of the Instrument window's cell parameters, 91..96, listed after the chemical ones.
inline constexpr int kFittedRu = 91;
inline constexpr int kFittedCd0 = 92;
inline constexpr int kFittedCd1 = 93;
inline constexpr int kFittedCd2 = 94;
inline constexpr int kFittedOffset = 95;
inline constexpr int kFittedSlope = 96;
const std::vector<int>& CellParameterCodes();

// The model field that a parameter code writes; "Subscript out of range" for any other code.
double& FittedField(Model& model, int code);

// A parameter chosen for the fit, with the numbers in its min and max boxes.
struct FitChoice {
  int code = 0;
  double minimum = 0;
  double maximum = 0;
};

// The parameters whose fitted box is checked and visible (a hidden box belongs to a species or
// reaction that the mechanism does not have), in the order of FitParameterCodes.
using FitChoices = std::vector<FitChoice>;

// The part of a measured curve a fit compares: points whose potential lies within [eLow, eHigh]
// and whose number lies within [first, last]; an empty bound does not limit.
struct FitWindow {
  std::optional<double> eLow, eHigh;  // V
  std::optional<int> first, last;     // point numbers, from 1
  bool Limits() const { return eLow || eHigh || first || last; }
};

// The parameter's name in reports: "C(1)", "ks(1)", "alpha(1)", "E0(1)", "kf(1)", "kb(1)", "D(1)",
// "g", "Gamma(1)", "Ru", "Cd0", "Cd1", "Cd2", "I offset", "I slope".
std::string ParameterName(int code);

// Concentrations, rate constants, diffusion coefficients, Ru and Cd0 are positive quantities.
bool IsPositiveQuantity(int code);

// E°, the capacitance's slope and curvature and the baseline are counted from a zero that is a
// convention, so that a value near zero is no sign of a quantity the data do not fix.
bool HasArbitraryZero(int code);

// Value and bounds of one parameter as a fit starts.
struct ParameterStart {
  double value = 0;    // model value
  double minimum = 0;  // of the choice
  double maximum = 0;
};

// The start of the parameter with that code: the codes of the mechanism's charge reactions,
// homogeneous reactions (first- and second-order) and species take the model value and the
// choice's bounds; any other code starts at 0 with bounds 0 and 0.
ParameterStart StartOfParameter(Model& model, const FitChoice& choice);

}  // namespace qalto
