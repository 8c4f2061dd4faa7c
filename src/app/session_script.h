#pragma once
// A session: the whole experiment written as a script of user actions. Running it (File > Open
// Session..., or qalto-batch) opens the forms, gives every box, check box, option and list the
// value it holds now, then imports the data file again or simulates again, so that the curve
// comes back point for point.

#include <string>

#include "app/app.h"

namespace qalto {

// Writing opens each form by its menu, as a user would, and closes again those that were closed.
std::string SessionScript(App& app);

}  // namespace qalto
