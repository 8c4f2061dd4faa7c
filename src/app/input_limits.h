#pragma once
// The physically possible values of the boxes a simulation or fit reads, checked before the run:
// a box that does not hold a number, or holds one that no experiment can have (a negative
// radius, alpha outside 0..1, a pulse as long as its drop), is refused with one message naming
// the box, what it holds and what it may hold.

#include <optional>
#include <string>

#include "forms/chemicals_form.h"
#include "forms/instrument_form.h"
#include "forms/program_form.h"

namespace qalto {

// The first refusal among the boxes the user can reach in the Instrument and Chemicals windows,
// as the message that shows it ("Input Error: Radius (cm) is -0.01; allowed: greater than 0.");
// nothing when every box holds a possible value.
std::optional<std::string> FindInputRefusal(const FormIns& ins, const FormExpr& expr,
                                            Technique technique);

// The potential program's refusal (technique 8): a box of a segment that holds no number, or a
// program that cannot be sampled every t sample from E start ("Input Error: Potential program
// segment 2 (sweep): v (V/s) is 0; allowed: greater than 0."); nothing for a possible one.
std::optional<std::string> FindProgramRefusal(const FormProgram& program, const FormIns& ins);

// A mechanism with adsorbed species that the layer cannot simulate ("Input Error: charge
// reaction 1 joins the dissolved A and the adsorbed B(ads); ..."); nothing for a possible one.
std::optional<std::string> FindLayerRefusal(const Model& model);

}  // namespace qalto
