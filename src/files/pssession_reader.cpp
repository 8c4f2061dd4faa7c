#include "files/pssession_reader.h"

#include <map>
#include <optional>

#include "files/file_format_error.h"
#include "files/json_value.h"
#include "files/table_cells.h"
#include "files/text_decoding.h"

namespace qalto {
namespace {

// Amperes per unit of the current axis, from its .NET unit type name; the symbol "A" the unit
// carries is the same for all of them.
double CurrentScale(const JsonValue& axis) {
  const JsonValue* unit = axis.Member("unit");
  const JsonValue* type = unit ? unit->Member("type") : nullptr;
  std::string name = type ? type->text : "";
  if (name.ends_with("MicroAmpere")) return 1e-6;
  if (name.ends_with("NanoAmpere")) return 1e-9;
  if (name.ends_with("MilliAmpere")) return 1e-3;
  if (name.ends_with("PicoAmpere")) return 1e-12;
  return 1;
}

std::vector<double> AxisValues(const JsonValue& curve, const char* axisKey, const char* what) {
  const JsonValue* axis = curve.Member(axisKey);
  const JsonValue* values = axis ? axis->Member("datavalues") : nullptr;
  if (!values || values->kind != JsonValue::Kind::kArray) {
    throw FileFormatError("Type mismatch", 1, std::string("a curve with ") + what, "none");
  }
  std::vector<double> numbers;
  numbers.reserve(values->items.size());
  for (const JsonValue& point : values->items) {
    const JsonValue* v = point.Member("v");
    if (!v || v->kind != JsonValue::Kind::kNumber) {
      throw FileFormatError("Type mismatch", 1, std::string("a number \"v\" in ") + what,
                            v ? v->text : "none");
    }
    numbers.push_back(v->number);
  }
  return numbers;
}

std::map<std::string, double> MethodValues(const JsonValue& measurement) {
  std::map<std::string, double> values;
  const JsonValue* method = measurement.Member("method");
  if (!method || method->kind != JsonValue::Kind::kString) return values;
  for (std::string_view line : SplitLines(method->text)) {
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    if (std::optional<double> value = CellNumber(TrimmedCell(line.substr(equals + 1)), '.')) {
      values[std::string(line.substr(0, equals))] = *value;
    }
  }
  return values;
}

InstrumentSettings SettingsOf(const std::map<std::string, double>& method) {
  auto find = [&](const char* key) -> std::optional<double> {
    auto found = method.find(key);
    if (found == method.end()) return std::nullopt;
    return found->second;
  };
  InstrumentSettings settings;
  settings.scanRate = find("SCAN_RATE");
  settings.potentialStep = find("E_STEP");
  settings.startPotential = find("E_BEGIN");
  settings.quietTime = find("T_EQUIL");  // the equilibration at E begin before the scan
  std::optional<double> first = find("E_VTX1");
  std::optional<double> second = find("E_VTX2");
  if (first && second) {
    settings.switchingPotentials = {*first, *second};
  } else if (std::optional<double> end = find("E_END")) {
    settings.switchingPotentials = {*end};
  }
  return settings;
}

}  // namespace

bool LooksLikePsSession(const std::string& text) {
  size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string::npos || text[start] != '{') return false;
  std::string head = text.substr(start, 4096);
  for (char& c : head)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return head.find("\"measurements\"") != std::string::npos ||
         head.find("palmsens") != std::string::npos;
}

ImportedFile ReadPsSession(const std::string& text, const std::string& source) {
  JsonValue document = ParseJson(text);
  const JsonValue* measurements = document.Member("measurements");
  if (!measurements || measurements->kind != JsonValue::Kind::kArray) {
    throw FileFormatError("Type mismatch", 1, "a list \"measurements\"", "none");
  }
  ImportedFile file;
  file.format = "PalmSens session";
  for (const JsonValue& measurement : measurements->items) {
    const JsonValue* title = measurement.Member("title");
    if (file.technique.empty() && title) file.technique = title->text;
    InstrumentSettings settings = SettingsOf(MethodValues(measurement));
    const JsonValue* curves = measurement.Member("curves");
    if (!curves) continue;
    for (const JsonValue& curve : curves->items) {
      ImportedCurve imported;
      imported.source = source;
      const JsonValue* curveTitle = curve.Member("title");
      if (curveTitle) imported.label = curveTitle->text;
      imported.potential = AxisValues(curve, "xaxisdataarray", "potentials");
      imported.current = AxisValues(curve, "yaxisdataarray", "currents");
      if (imported.potential.size() != imported.current.size()) {
        throw FileFormatError("Bad record length", 1, "as many currents as potentials",
                              std::to_string(imported.current.size()) + " currents, " +
                                  std::to_string(imported.potential.size()) + " potentials");
      }
      double scale = CurrentScale(*curve.Member("yaxisdataarray"));
      for (double& i : imported.current)
        i *= scale;
      imported.settings = settings;
      if (!imported.potential.empty()) file.curves.push_back(std::move(imported));
    }
  }
  if (file.curves.empty()) {
    throw FileFormatError("Input past end of file", 1, "a measurement with a curve", "none");
  }
  if (file.curves.size() == 1) file.curves[0].label.clear();
  return file;
}

}  // namespace qalto
