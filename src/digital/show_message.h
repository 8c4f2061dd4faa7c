#pragma once
// A message box with only an OK button, as the caller provides it: the digital simulation
// reports a singular block this way and carries on.

#include <functional>
#include <string>

namespace qalto {

using ShowMessage = std::function<void(const std::string&)>;

}  // namespace qalto
