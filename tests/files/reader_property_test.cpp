// Every reader, fed random sweeps written in its layout (random lengths, signs, magnitudes,
// decimal marks, line ends, byte-order marks), gives back exactly the numbers written, in V
// and A. A sample of cases runs with the tests; QALTO_FUZZ=full runs forty times as many.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "files/measurement_file.h"

namespace qalto {
namespace {

// A sweep as text with a decimal point, potentials in V, currents in the layout's unit.
struct Sweep {
  std::vector<std::string> e, i;
  std::string eol;
};

std::string WithComma(std::string text) {
  for (char& c : text) {
    if (c == '.') c = ',';
  }
  return text;
}

struct Layout {
  const char* name;
  double currentUnit;  // A per unit of the written currents
  std::function<std::string(const Sweep&)> write;
};

std::string Rows(const Sweep& s, const std::function<std::string(size_t)>& row) {
  std::string text;
  for (size_t k = 0; k < s.e.size(); ++k)
    text += row(k) + s.eol;
  return text;
}

// The header's lines (each ended by "\n", written with the sweep's line end), then a row of
// potential and current joined by the separator per point, with decimal commas if asked.
std::function<std::string(const Sweep&)> Columns(const std::string& header,
                                                 const std::string& separator, bool commas) {
  return [=](const Sweep& s) {
    std::string text;
    for (char c : header)
      text += c == '\n' ? s.eol : std::string(1, c);
    return text + Rows(s, [&](size_t k) {
             return commas ? WithComma(s.e[k]) + separator + WithComma(s.i[k])
                           : s.e[k] + separator + s.i[k];
           });
  };
}

const char kChiHeader[] =
    "July 27, 2020   17:10:46\nCyclic Voltammetry\nInit E (V) = 0.5\nScan Rate (V/s) = 0.02\n\n"
    "Potential/V, Current/A\n\n";

const std::vector<Layout>& Layouts() {
  static const std::vector<Layout> layouts = {
      {"two-column CSV", 1, Columns("", ",", false)},
      {"semicolons and decimal commas", 1, Columns("E (V);I (A)\n", ";", true)},
      {"tabs with a byte-order mark", 1,
       Columns(std::string("\xEF\xBB\xBF") + "E/V\tI/A\n", "\t", false)},
      {"comma pairs of fixed decimals", 1, Columns("E,I\n", ",", true)},
      {"CH Instruments", 1, Columns(kChiHeader, ", ", false)},
      {"CH Instruments with decimal commas", 1, Columns(kChiHeader, ", ", true)},
      {"EC-Lab text", 1e-3,
       [](const Sweep& s) {
         return "EC-Lab ASCII FILE" + s.eol + "Nb header lines : 4" + s.eol + "Cyclic Voltammetry" +
                s.eol + "mode\ttime/s\tEwe/V\t<I>/mA\tcycle number\t" + s.eol +
                Rows(s, [&](size_t k) {
                  return "2\t" + std::to_string(k) + ".5\t" + s.e[k] + "\t" + s.i[k] +
                         "\t1.000000000000000E+000";
                });
       }},
      {"Gamry DTA", 1,
       [](const Sweep& s) {
         return "EXPLAIN" + s.eol + "TAG\tCV" + s.eol + "CURVE\tTABLE" + s.eol +
                "\tPt\tT\tVf\tIm\tOver" + s.eol + "\t#\ts\tV vs. Ref.\tA\tbits" + s.eol +
                Rows(s, [&](size_t k) {
                  std::string row = "\t";  // not "\t" + to_string(k): GCC 12 warns falsely
                  row += std::to_string(k);
                  return row + "\t0.1\t" + s.e[k] + "\t" + s.i[k] + "\t.....";
                });
       }},
      {"PalmSens CSV", 1e-6,
       Columns("Date and time:,2024-10-29 08:21:43\nNotes:\n,\nLinear Sweep Voltammetry: LSV i "
               "vs E,\nDate and time measurement:,2024-10-29 08:19:10,\nV,\xC2\xB5"
               "A\n",
               ",", false)}};
  return layouts;
}

// A sweep of 2 to 60 points one way, |E| < 10 V in fixed decimals, currents of any sign from
// 1e-12 to 1e2 in the unit in three decimals, LF or CR LF line ends.
Sweep RandomSweep(std::mt19937& random) {
  auto uniform = [&](double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
  };
  Sweep sweep;
  int points = std::uniform_int_distribution<int>(2, 60)(random);
  double e = uniform(-1, 1);
  double step = uniform(0.001, 0.01) * (random() % 2 == 0 ? 1 : -1);
  sweep.eol = random() % 2 == 0 ? "\n" : "\r\n";
  char text[40];
  for (int k = 0; k < points; ++k, e += step) {
    std::snprintf(text, sizeof text, "%.3f", e);
    sweep.e.push_back(text);
    double current = (random() % 2 == 0 ? 1 : -1) * std::pow(10.0, uniform(-12, 2));
    std::snprintf(text, sizeof text, "%.3e", current);
    sweep.i.push_back(text);
  }
  return sweep;
}

int Cases() {
  const char* fuzz = std::getenv("QALTO_FUZZ");
  return fuzz != nullptr && std::string(fuzz) == "full" ? 2000 : 50;
}

TEST(ReaderPropertyTest, EveryLayoutGivesBackTheNumbersWritten) {
  std::mt19937 random(20261207);
  for (const Layout& layout : Layouts()) {
    SCOPED_TRACE(layout.name);
    for (int c = 0; c < Cases() && !HasFailure(); ++c) {
      Sweep sweep = RandomSweep(random);
      std::string text = layout.write(sweep);
      // The last line without its end, as EC-Lab and PalmSens write it, every other case.
      if (c % 2 == 1) text.resize(text.size() - sweep.eol.size());
      SCOPED_TRACE(text);
      ImportedFile file;
      ASSERT_NO_THROW(file = ReadMeasurementText(text, "p.txt"));
      ASSERT_EQ(file.curves.size(), 1u);
      const ImportedCurve& curve = file.curves[0];
      ASSERT_EQ(curve.potential.size(), sweep.e.size());
      ASSERT_EQ(curve.current.size(), sweep.i.size());
      for (size_t k = 0; k < sweep.e.size(); ++k) {
        ASSERT_EQ(curve.potential[k], std::strtod(sweep.e[k].c_str(), nullptr)) << k;
        ASSERT_EQ(curve.current[k], std::strtod(sweep.i[k].c_str(), nullptr) * layout.currentUnit)
            << k;
      }
    }
  }
}

}  // namespace
}  // namespace qalto
