#pragma once
// Physical and numerical constants, with exactly the values every computation of the program
// uses, so that its numbers can be compared with hand calculations to the last digit.

namespace qalto {

inline constexpr double kFaraday = 96484.6;             // Faraday constant, C/mol
inline constexpr double kFaradayPerMilliMol = 96.4846;  // F x 0.001: mol/L to mol/cm3, C/mol
inline constexpr double kGasConstant = 8.31441;         // gas constant, J/(mol K)
inline constexpr double kKelvinOffset = 273.14;         // kelvin = degrees Celsius + 273.14
inline constexpr double kPi = 3.141592654;
inline constexpr double kTwoPi = 6.283185308;
inline constexpr double kSqrtPi = 1.77245385;
// sqrt(pi) to the last digit, for the special functions (erfc, the disc's transient), whose
// accuracy would otherwise stop at the 8 digits above.
inline constexpr double kSqrtPiExact = 1.7724538509055160;
inline constexpr double kLn10 = 2.302585092994046;  // ln 10: RT/F ln 10 is 59.16 mV per pH at 25 C
// Levich's constant of the rotating disk, i_L = 0.62045 nFAD^(2/3) omega^(1/2) nu^(-1/6) C: the
// integral of the convective-diffusion profile with v_x = -0.51023 omega^(3/2) nu^(-1/2) x^2
// (0.620 to three digits; the shorter 0.62 leaves the plateau 0.07 % low).
inline constexpr double kLevichConstant = 0.62045;

}  // namespace qalto
