#pragma once
// A session: the whole state of the program written as data, line by line, in the script
// language's words, so that File > Open Session brings everything back exactly and qalto-batch
// can run it as a script. It holds the value of every control of every form (hidden ones too),
// the model with every curve point for point, what put each curve there, the measured data
// themselves, the result window's text, and which windows are shown where. Writing it changes
// nothing in the program.

#include <string>

#include "app/app.h"

namespace qalto {

// With layout false, which windows are shown and where is left out: what is compared to tell
// whether there is unsaved work.
std::string SessionScript(App& app, bool layout = true);

}  // namespace qalto
