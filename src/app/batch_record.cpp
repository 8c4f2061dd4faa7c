#include "app/batch_record.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "app/batch_stop.h"
#include "files/text_decoding.h"
#include "fit/fit_parameters.h"

namespace qalto {
namespace {

// A JSON string, valid UTF-8 whatever the text holds: a byte that is no part of a UTF-8
// character (a Latin-1 "é" in a manifest) is written as the Latin-1 character it would be.
std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (size_t pos = 0; pos < text.size(); ++pos) {
    auto c = static_cast<unsigned char>(text[pos]);
    if (c >= 0x80) {
      size_t length = Utf8Length(text, pos);
      if (length == 0) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04x", c);
        quoted += escape;
      } else {
        quoted.append(text, pos, length);
        pos += length - 1;
      }
    } else if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += static_cast<char>(c);
    } else if (c == '\n') {
      quoted += "\\n";
    } else if (c == '\t') {
      quoted += "\\t";
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      quoted += escape;
    } else {
      quoted += static_cast<char>(c);
    }
  }
  return quoted + "\"";
}

// Seventeen significant digits read back to the same double; JSON has no infinity or NaN.
std::string Number(double value) {
  if (!std::isfinite(value)) return "null";
  char text[32];
  return std::string(
      text, std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17).ptr);
}

std::string Parameters(const ScriptParameters& parameters) {
  std::string json = "{";
  for (const auto& [name, value] : parameters) {
    json += (json.size() > 1 ? ", " : "") + Quoted(name) + ": " + Quoted(value);
  }
  return json + "}";
}

std::string Settings(const std::vector<std::pair<std::string, std::string>>& settings) {
  std::string json = "{";
  for (const auto& [control, value] : settings) {
    json += (json.size() > 1 ? ", " : "") + Quoted(control) + ": " + Quoted(value);
  }
  return json + "}";
}

std::string Messages(const std::vector<std::string>& messages) {
  std::string json = "[";
  for (const std::string& text : messages)
    json += (json.size() > 1 ? ", " : "") + Quoted(text);
  return json + "]";
}

// What the last fit found for parameter p (0-based), when it ran to its end and has it.
const FittedParameter* FoundOf(const Model& model, int p, int code) {
  const FitResult& fit = model.LastFit;
  if (!fit.valid || p >= static_cast<int>(fit.parameters.size())) return nullptr;
  const FittedParameter& found = fit.parameters[static_cast<size_t>(p)];
  return found.code == code ? &found : nullptr;
}

// The flags of a fitted value: "at bound", "undetermined".
std::string Flags(const FittedParameter* found) {
  std::string json = "[";
  if (found && found->atBound) json += "\"at bound\"";
  if (found && found->Undetermined())
    json += std::string(json.size() > 1 ? ", " : "") + "\"undetermined\"";
  return json + "]";
}

// The profile-likelihood interval where Profile Intervals found it: its ends, an open end (the
// bound, which the data did not limit) as null.
std::string Profile(const FittedParameter* found) {
  if (!found || !found->profiled) return "null";
  std::string json = "[";
  json += found->profileLowerOpen ? "null" : Number(found->profileLower);
  json += ", ";
  json += found->profileUpperOpen ? "null" : Number(found->profileUpper);
  json += "]";
  return json;
}

// The parameters of the last fit with the values the fit left in the model, their standard
// errors and 95 % intervals (null where the data do not determine them or no fit ended) and
// their flags.
std::string Fitted(Model& model) {
  std::string json = "[";
  for (int p = 1; p <= model.FitParameterCount; ++p) {
    int code = model.FitParameterCode(p);
    const FittedParameter* found = FoundOf(model, p - 1, code);
    bool known = found && found->determined;
    json += (p > 1 ? ", " : "") + std::string("{\"code\": ") + std::to_string(code) +
            ", \"name\": " + Quoted(FitParameterName(code)) +
            ", \"value\": " + Number(FittedField(model, code)) +
            ", \"standard_error\": " + (known ? Number(found->standardError) : "null") +
            ", \"lower_95\": " + (known ? Number(found->lower95) : "null") +
            ", \"upper_95\": " + (known ? Number(found->upper95) : "null") +
            ", \"profile_95\": " + Profile(found) + ", \"flags\": " + Flags(found) + "}";
  }
  return json + "]";
}

// How the last fit ended; null when none ran to its end.
std::string FitSummary(const Model& model) {
  const FitResult& fit = model.LastFit;
  if (!fit.valid) return "null";
  return std::string("{\"least_square\": ") + Number(fit.sumOfSquares) +
         ", \"points\": " + std::to_string(fit.points) +
         ", \"converged\": " + (fit.flag < 0 ? "true" : "false") +
         ", \"convergence_flag\": " + std::to_string(fit.flag) +
         ", \"iterations\": " + std::to_string(fit.iterations) +
         ", \"residual_variance\": " + Number(fit.residualVariance) +
         ", \"degrees_of_freedom\": " + std::to_string(fit.degreesOfFreedom) +
         ", \"runs_z\": " + Number(fit.runsZ) +
         ", \"systematic_residuals\": " + (fit.systematicResiduals ? "true" : "false") + "}";
}

// The spectrum of curve k, when the store holds impedance spectra: its frequencies (Hz), Z'
// and Z'' (ohm).
std::string Spectrum(const Model& model, int k) {
  const int n = model.SpectrumFrequencies;
  std::string f = "[", re = "[", im = "[";
  for (int i = 1; i <= n; ++i) {
    const std::string comma = i > 1 ? ", " : "";
    f += comma + Number(model.PotentialX(i));
    re += comma + Number(model.CurrentY(i, k));
    im += comma + Number(model.CurrentY(n + i, k));
  }
  return "{\"frequency\": " + f + "], \"z_real\": " + re + "], \"z_imag\": " + im + "]}";
}

// The peaks that Find Peak stored for each curve; a stored peak has a non-zero current, as
// only currents above the detection threshold are kept. Two peaks give their separation.
std::string Curves(const Model& model) {
  std::string json = "[";
  for (int k = 1; k <= model.CurveCount && k <= kMaxCurves; ++k) {
    std::string peaks = "[";
    int count = 0;
    for (int j = 1; j <= kMaxPeaks && model.PeakCurrent(j, k) != 0; ++j, ++count) {
      peaks += (j > 1 ? ", " : "") + std::string("{\"potential\": ") +
               Number(model.PeakPotential(j, k)) +
               ", \"current\": " + Number(model.PeakCurrent(j, k)) + "}";
    }
    json += (k > 1 ? ", " : "") + std::string("{\"curve\": ") + std::to_string(k) +
            ", \"peaks\": " + peaks + "]";
    if (count == 2) {
      json += ", \"separation\": " + Number(model.PeakPotential(2, k) - model.PeakPotential(1, k));
    }
    if (model.SpectrumFrequencies > 0) json += ", \"spectrum\": " + Spectrum(model, k);
    json += "}";
  }
  return json + "]";
}

// The potential steps of a chronoamperogram as the run applied them; null for the other
// techniques, whose program the settings and the script state.
std::string Steps(const Model& model) {
  if (model.Technique != Technique::kChronoamperometry) return "null";
  return "{\"E_start\": " + Number(model.StartPotential) +
         ", \"E1\": " + Number(model.StepPotential1) + ", \"t1\": " + Number(model.StepTime1) +
         ", \"E2\": " + Number(model.StepPotential2) + ", \"t2\": " + Number(model.StepTime2) +
         ", \"t_sample\": " + Number(model.SampleTime) + "}";
}

// The sine and its base of an AC voltammogram and the largest envelope of each harmonic with the
// base's potential there; null for the other techniques.
std::string AcProgramRecord(const Model& model) {
  if (model.Technique != Technique::kAcVoltammetry) return "null";
  std::string json =
      std::string("{\"on\": ") + (model.AcOnProgram ? "\"potential program\"" : "\"sweep\"") +
      ", \"E_start\": " + Number(model.StartPotential) +
      ", \"E_end\": " + Number(model.EndPotential) + ", \"v\": " + Number(model.ScanRate) +
      ", \"dE\": " + Number(model.AcAmplitude) + ", \"f\": " + Number(model.AcFrequency) +
      ", \"harmonics\": [";
  for (int k = 1; k <= kAcHarmonics && model.AcSpectrumPoints > 0; ++k) {
    int at = 1;
    for (int i = 2; i <= model.NumberOfPoints; ++i)
      if (model.AcHarmonics(i, k) > model.AcHarmonics(at, k)) at = i;
    json += (k > 1 ? ", " : "") + std::string("{\"harmonic\": ") + std::to_string(k) +
            ", \"peak\": " + Number(model.AcHarmonics(at, k)) +
            ", \"potential\": " + Number(model.PotentialX(at)) + "}";
  }
  return json + "]}";
}

// The potential program as the run applied it: its segments or its file, sampled every t sample
// (every 1/(64 f) under an AC sine) from rest at E start; null for the other techniques.
std::string ProgramRecord(const Model& model) {
  const bool sine = model.Technique == Technique::kAcVoltammetry && model.AcOnProgram;
  if (model.Technique != Technique::kPotentialProgram && !sine) return "null";
  const PotentialProgram& p = model.Program;
  std::string json = "{\"E_start\": " + Number(model.StartPotential) +
                     ", \"t_sample\": " + Number(model.SampleTime);
  if (p.fromFile) {
    json +=
        ", \"file\": " + Quoted(p.fileName) + ", \"rows\": " + std::to_string(p.fileTimes.size());
    if (!p.fileTimes.empty()) {
      json += ", \"t_first\": " + Number(p.fileTimes.front()) +
              ", \"t_last\": " + Number(p.fileTimes.back());
    }
    return json + "}";
  }
  json += ", \"segments\": [";
  for (std::size_t i = 0; i < p.segments.size(); ++i) {
    const ProgramSegment& s = p.segments[i];
    json += i > 0 ? ", " : "";
    if (s.kind == SegmentKind::kSweep) {
      json += "{\"kind\": \"sweep\", \"E_from\": " + Number(s.potential) +
              ", \"E_to\": " + Number(s.end) + ", \"v\": " + Number(s.rate) + "}";
    } else {
      json += std::string("{\"kind\": \"") + (s.kind == SegmentKind::kHold ? "hold" : "step") +
              "\", \"E\": " + Number(s.potential) + ", \"t\": " + Number(s.duration) + "}";
    }
  }
  return json + "]}";
}

// The kinetics of each charge reaction as the run took them: Butler-Volmer with its alpha, or
// Marcus-Hush-Chidsey with its reorganisation energy (eV).
std::string Kinetics(const Model& model) {
  std::string json = "[";
  for (int r = 1; r <= model.ChargeReactionCount; ++r) {
    json += (r > 1 ? ", " : "") + std::string("{\"reaction\": ") + std::to_string(r);
    if (model.ChargeLambda(r) != 0) {
      json +=
          ", \"law\": \"Marcus-Hush-Chidsey\", \"lambda_eV\": " + Number(model.ChargeLambda(r)) +
          "}";
    } else {
      json += ", \"law\": \"Butler-Volmer\", \"alpha\": " + Number(model.ChargeAlpha(r)) + "}";
    }
  }
  return json + "]";
}

// The adsorbed layer as the run took it: each adsorbed species with its surface concentration
// (mol/cm2), the layer's saturation (mol/cm2) and Frumkin g; null without adsorbed species.
std::string LayerRecord(const Model& model) {
  std::string species;
  for (int s = 1; s <= model.SpeciesCount && s <= kMaxSpecies; ++s) {
    if (model.SpeciesAdsorbed(s) == 0) continue;
    species += (species.empty() ? "" : ", ") + std::string("{\"species\": ") +
               Quoted(model.SpeciesName(s)) +
               ", \"gamma_mol_cm2\": " + Number(model.SpeciesGamma(s)) + "}";
  }
  if (species.empty()) return "null";
  return "{\"species\": [" + species +
         "], \"gamma_max_mol_cm2\": " + Number(model.LayerSaturation) +
         ", \"g\": " + Number(model.LayerInteraction) + "}";
}

}  // namespace

std::string FitParameterName(int code) {
  if (code >= kFittedRu && code <= kFittedSlope) return ParameterName(code);
  if (code == kFittedInteraction) return ParameterName(code);
  static const char* const kFamilies[] = {"C",  "ks",     "alpha", "E0",   "kf",
                                          "kb", "lambda", "D",     "Gamma"};
  int family = code / 10;
  if (code < 1 || family > 8 || kFamilies[family][0] == '\0') return std::to_string(code);
  return std::string(kFamilies[family]) + "(" + std::to_string(code % 10) + ")";
}

std::string RunRecordJson(const RunRecord& record, Model& model) {
  std::string version = std::to_string(QALTO_VERSION_MAJOR) + "." +
                        std::to_string(QALTO_VERSION_MINOR) + "." +
                        std::to_string(QALTO_VERSION_PATCH);
  std::string json = "{\n";
  auto field = [&json](const char* name, const std::string& value, bool last = false) {
    json += std::string("  \"") + name + "\": " + value + (last ? "\n" : ",\n");
  };
  field("program", Quoted("qalto-batch"));
  field("version", Quoted(version));
  field("script", Quoted(record.script));
  field("manifest", record.manifest.empty() ? "null" : Quoted(record.manifest));
  field("task", record.task ? std::to_string(*record.task) : "null");
  field("parameters", Parameters(record.parameters));
  field("settings", Settings(record.settings));
  field("steps", Steps(model));
  field("potential_program", ProgramRecord(model));
  field("ac", AcProgramRecord(model));
  field("kinetics", Kinetics(model));
  field("adsorbed_layer", LayerRecord(model));
  field("seed", record.seed ? std::to_string(*record.seed) : "null");
  field("exit_status", std::to_string(record.exitStatus));
  field("status", Quoted(StatusWord(record.exitStatus)));
  field("error", record.error.empty() ? "null" : Quoted(record.error));
  field("messages", Messages(record.messages));
  field("fitted", Fitted(model));
  field("fit", FitSummary(model));
  field("curves", Curves(model));
  field("timing", "{\"seconds\": " + Number(record.seconds) + "}", true);
  return json + "}\n";
}

}  // namespace qalto
