#pragma once
// Runs one statement of a computation whose failures are not reported: a run-time error
// abandons the statement, and the computation goes on with the values held at that moment.

#include "common/runtime_error.h"

namespace qalto {

template <typename Statement>
void IgnoringErrors(Statement&& statement) {
  try {
    statement();
  } catch (const RuntimeError&) {
  }
}

}  // namespace qalto
