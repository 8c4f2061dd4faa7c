#include "digital/simulate_digital.h"

namespace qalto {

// The finite-difference solver is not part of the program yet: the digital path leaves the
// reaction currents cleared.
void SimulateDigital(Model&, const DigitalFormInputs&) {}

}  // namespace qalto
