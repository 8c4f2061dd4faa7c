#pragma once
// How much the model holds at most.

namespace qalto {

inline constexpr int kMaxPoints = 100000;  // points per curve; a longer import is resampled
inline constexpr int kMaxCurves = 8;       // curves in the store
inline constexpr int kMaxSpecies = 8;      // species of a mechanism
inline constexpr int kMaxPeaks = 20;       // peaks per curve
inline constexpr int kMaxOverlaid = 5;     // curves kept side by side by the overlap option
inline constexpr int kAcHarmonics = 8;     // harmonics of an AC voltammogram kept

}  // namespace qalto
