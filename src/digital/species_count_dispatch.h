#pragma once
// Runs Body<S>::Run(args...) with the species count S (1..8) as a compile-time constant, so that
// the short loops over the species of the hot paths unroll and keep their values in registers.

#include "common/runtime_error.h"

namespace qalto {

template <template <int> class Body, typename... Args>
void ForSpeciesCount(int S, Args&&... args) {
  switch (S) {
    case 1:
      return Body<1>::Run(args...);
    case 2:
      return Body<2>::Run(args...);
    case 3:
      return Body<3>::Run(args...);
    case 4:
      return Body<4>::Run(args...);
    case 5:
      return Body<5>::Run(args...);
    case 6:
      return Body<6>::Run(args...);
    case 7:
      return Body<7>::Run(args...);
    case 8:
      return Body<8>::Run(args...);
    default:
      throw RuntimeError::SubscriptOutOfRange();
  }
}

}  // namespace qalto
