#pragma once
// The cause of a failed run, for its message: a computation deep in a solver knows only that it
// divided by zero or overflowed, while the user needs the box whose value did it.

#include <string>

#include "model/model.h"

namespace qalto {

// The box at fault, named by its caption with its value ("t drop  (s) is 0", "D (cm ²/s) of
// species 2 is 0"), for a run that failed with a bare description ("Division by zero",
// "Overflow"); empty when no box explains it.
std::string FailureCause(const Model& model);

// The description with its cause appended ("Division by zero: t pulse (s) is 0"); a
// description that names its cause already is kept as it is.
std::string DescriptionWithCause(const Model& model, const std::string& description);

// "Analytical simulation Error: <description>! Please try again by other initial values.", with
// "Digital" in place of "Analytical" when the model simulates digitally, and the description
// with its cause.
std::string SimulationErrorMessage(const Model& model, const std::string& description);

}  // namespace qalto
