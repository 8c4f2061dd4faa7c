#pragma once
// The quantities a fit can adjust, named by the index of their "fitted" check box on the
// Chemicals window: 1..8 concentration C of species s, 11..13 ks, 21..23 alpha and 31..33 E0 of
// charge reaction r, 41..44 kf and 51..54 kb of homogeneous reaction i, 71..78 diffusion
// coefficient D of species s.

#include <string>
#include <vector>

#include "forms/chemicals_form.h"
#include "model/model.h"

namespace qalto {

// Every parameter code, in the order a fit lists them.
const std::vector<int>& FitParameterCodes();

// The model field that a parameter code writes; "Subscript out of range" for any other code.
double& FittedField(Model& model, int code);

// The codes whose fitted box is checked and visible (a hidden box belongs to a species or
// reaction that the mechanism does not have), in the order of FitParameterCodes.
std::vector<int> SelectFittedCodes(const FormExpr& form);

// The parameter's name in reports: "C(1)", "ks(1)", "alpha(1)", "E0(1)", "kf(1)", "kb(1)", "D(1)".
std::string ParameterName(int code);

// Concentrations, rate constants and diffusion coefficients are positive quantities.
bool IsPositiveQuantity(int code);

// Value and bounds of one parameter as a fit starts.
struct ParameterStart {
  double value = 0;    // model value
  double minimum = 0;  // number in its min box
  double maximum = 0;  // number in its max box
};

// The start of the parameter with that code: the codes of the mechanism's charge reactions,
// homogeneous reactions (first- and second-order) and species take the model value and the numbers
// in the min and max boxes; any other code starts at 0 with bounds 0 and 0.
ParameterStart StartOfParameter(Model& model, const FormExpr& form, int code);

}  // namespace qalto
