#pragma once
// The ten mechanisms of the analytical models: their captions, and the species and reactions
// each one stands for. Species are numbered A = 1, B = 2, C = 3, ... (for the complexes M = 1,
// B = 2, MX = 3, X = 4).

#include <array>

namespace qalto {

struct FixedMechanism {
  const char* caption;
  const char* toolTip;
  int species;
  int chargeReactions;
  std::array<std::array<int, 2>, 3> charge;  // (oxidized, reduced) of each charge reaction
  std::array<int, 2> firstOrder;             // (reactant, product), {0, 0} when none
  bool complexDissociation;                  // second order MX = M + pX: species 3 -> 1 + 4
};

inline constexpr std::array<FixedMechanism, 10> kFixedMechanisms{{
    {"1)  A + ne = B", "simple charge reaction", 2, 1, {{{1, 2}}}, {0, 0}, false},
    {"2)  A + ne = B, B + ne = C",
     "2-step charge reaction",
     3,
     2,
     {{{1, 2}, {2, 3}}},
     {0, 0},
     false},
    {"3)  A + ne = B, B + ne = C, C + ne = D",
     "3-step charge reaction",
     4,
     3,
     {{{1, 2}, {2, 3}, {3, 4}}},
     {0, 0},
     false},
    {"4)  A + ne = B, C + ne = D",
     "multicompoment charge reaction",
     4,
     2,
     {{{1, 2}, {3, 4}}},
     {0, 0},
     false},
    {"5)  A + ne = B, C + ne = D, E + ne = F",
     "multicompoment charge reaction",
     6,
     3,
     {{{1, 2}, {3, 4}, {5, 6}}},
     {0, 0},
     false},
    {"6)  C = A, A + ne = B", "preceding (CE) reaction", 3, 1, {{{1, 2}}}, {3, 1}, false},
    {"7)  A + ne = B, B = C", "following (EC) reaction", 3, 1, {{{1, 2}}}, {2, 3}, false},
    {"8)  A + ne = B, B + C* = A  (kf C*> a)",
     "catalytic (EC') reaction",
     3,
     1,
     {{{1, 2}}},
     {2, 1},
     false},
    {"9)  MX4 = M + 4X, M + ne = B", "complex reaction", 4, 1, {{{1, 2}}}, {0, 0}, true},
    {"10)  MX2 = M + 2X, M + ne = B", "complex reaction", 4, 1, {{{1, 2}}}, {0, 0}, true},
}};

}  // namespace qalto
