#pragma once
// What a call that should fail says: the description of the RuntimeError it raises.

#include <string>

#include "common/runtime_error.h"

namespace qalto {

// The description of the RuntimeError the call raises; empty when it raises none.
template <class Call>
std::string ErrorDescription(Call call) {
  try {
    call();
  } catch (const RuntimeError& error) {
    return error.Description();
  }
  return "";
}

}  // namespace qalto
