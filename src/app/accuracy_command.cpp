// The Run menu's accuracy check of the digital simulation.

#include "app/app.h"
#include "common/number_format.h"
#include "simulation/digital_accuracy.h"
#include "simulation/simulation_driver.h"

namespace qalto {

void App::mnuAccuracy_Click() {
  if (!model_->DigitalSimulation) {
    result_.Print(
        {PrintItem::Text("Check Accuracy: the analytical simulation has no grid to "
                         "refine; choose Digital simulation in the Mechanism form.",
                         Separator::kLineEnd)});
    return;
  }
  platform_.SetBusy(true);
  std::optional<double> change;
  try {
    expr_->OK();
    RefinementChange refined = DigitalRefinementChange(*model_, ReadSimulationInputs());
    for (const std::string& message : refined.messages)
      platform_.MessageBox(message);
    change = refined.change;
  } catch (const RuntimeError& error) {
    platform_.MessageBox(SimulationErrorMessage(*model_, error.Description()));
  }
  platform_.SetBusy(false);
  if (!change) return;
  result_.Print({PrintItem::Text("Digital simulation on a grid and time steps twice as fine:",
                                 Separator::kLineEnd)});
  result_.Print({PrintItem::Text(
      "largest change = " + FormatNumber(100.0 * *change, "0.000") + " % of the peak current",
      Separator::kLineEnd)});
}

}  // namespace qalto
