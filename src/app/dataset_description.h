#pragma once
// What a labelled data set holds, read from its JSON description: the classes (mechanisms) and
// techniques whose every combination is sampled, the settings they share, and the parameters
// drawn for each curve (fixed, on a grid, uniform, log-uniform or normal).
//
//   {"seed": 42, "samples": 1000, "noise": 1e-7, "mode": "analytical",
//    "settings": {"FormIns.Estep": 0.002},
//    "techniques": {"cv": {"FormTech.optTech(1)": "on", "FormIns.ComboScan": "cycle"}},
//    "mechanisms": {"E": {"settings": {"FormMech.mech(1)": "on"}},
//                   "EC": {"settings": {"FormMech.mech(7)": "on"},
//                          "parameters": {"kf(1)": {"log_uniform": [0.01, 100]}}}},
//    "parameters": {"ks(1)": {"log_uniform": [1e-4, 1]}, "alpha(1)": {"uniform": [0.3, 0.7]},
//                   "E0(1)": {"normal": [0, 0.05]}, "scan_rate": {"grid": [0.01, 0.1, 1]}}}

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qalto {

using Settings = std::vector<std::pair<std::string, std::string>>;

struct Distribution {
  enum class Kind { kFixed, kGrid, kUniform, kLogUniform, kNormal };
  Kind kind = Kind::kFixed;
  std::vector<double> values;  // fixed: one; grid: every value
  double a = 0, b = 0;         // uniform and log-uniform: low, high; normal: mean, deviation
};

struct DatasetParameter {
  std::string name;     // as written ("ks(1)", "scan_rate", "FormIns.V")
  std::string control;  // the control it sets ("FormExpr.ks(1)")
  Distribution distribution;
};

struct DatasetGroup {  // a mechanism or a technique
  std::string label;
  Settings settings;
  std::vector<DatasetParameter> parameters;
};

struct DatasetDescription {
  std::uint64_t seed = 0;
  std::optional<long long> samples;  // per mechanism and technique; default: the grid's size
  std::optional<double> noise;       // A; each curve gets noise of its own seed
  Settings settings;                 // "mode" first, as the Mechanism window's digital box
  std::vector<DatasetParameter> parameters;
  std::vector<DatasetGroup> mechanisms;
  std::vector<DatasetGroup> techniques;
};

// The control a parameter name sets: "ks(1)" -> "FormExpr.ks(1)", "scan_rate" -> "FormIns.V";
// a name with a point is a control already. Empty for a name that is neither.
std::string ParameterControl(const std::string& name);

// Raises a RuntimeError naming what is wrong ("dataset: mechanisms.EC.parameters.kf(1): ...").
DatasetDescription ParseDatasetDescription(const std::string& json);

}  // namespace qalto
