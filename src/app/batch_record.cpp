#include "app/batch_record.h"

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
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
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

// The parameters of the last fit with the values the fit left in the model; "standard_error"
// stays null until the fit reports uncertainties.
std::string Fitted(Model& model) {
  std::string json = "[";
  for (int p = 1; p <= model.FitParameterCount; ++p) {
    int code = model.FitParameterCode(p);
    json += (p > 1 ? ", " : "") + std::string("{\"code\": ") + std::to_string(code) +
            ", \"name\": " + Quoted(FitParameterName(code)) +
            ", \"value\": " + Number(FittedField(model, code)) + ", \"standard_error\": null}";
  }
  return json + "]";
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
    json += "}";
  }
  return json + "]";
}

}  // namespace

std::string FitParameterName(int code) {
  static const char* const kFamilies[] = {"C", "ks", "alpha", "E0", "kf", "kb", "", "D"};
  int family = code / 10;
  if (code < 1 || family > 7 || kFamilies[family][0] == '\0') return std::to_string(code);
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
  field("seed", record.seed ? std::to_string(*record.seed) : "null");
  field("exit_status", std::to_string(record.exitStatus));
  field("status", Quoted(StatusWord(record.exitStatus)));
  field("error", record.error.empty() ? "null" : Quoted(record.error));
  field("messages", Messages(record.messages));
  field("fitted", Fitted(model));
  field("curves", Curves(model));
  field("timing", "{\"seconds\": " + Number(record.seconds) + "}", true);
  return json + "}\n";
}

}  // namespace qalto
