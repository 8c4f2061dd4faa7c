#pragma once
// Where the digital simulation sends the text of a trouble it meets (a singular block) before
// it carries on; the caller decides what the user sees of it.

#include <functional>
#include <string>

namespace qalto {

using ShowMessage = std::function<void(const std::string&)>;

}  // namespace qalto
