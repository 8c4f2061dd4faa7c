#pragma once
// The ohmic drop of one point solved implicitly: the drop d (V) with d = Ru x I(d), where I(d) is
// the point's current (A, cathodic positive) with every interfacial potential moved by d.

#include <functional>

namespace qalto {

// Secant iteration from `guess`, kept inside the bracket the signs of the residual d - Ru I(d)
// establish (it grows with d, since the cathodic current falls as the potential rises) and
// bisected when a step leaves it; to 1e-9 V or 1e-9 of the drop. Returns the drop, V, after a
// last evaluation of `current` at it, so that whatever `current` stores belongs to the answer.
double ImplicitDrop(const std::function<double(double)>& current, double resistance, double guess);

}  // namespace qalto
