#include "app/dataset_description.h"

#include <cmath>
#include <map>

#include "common/plain_number.h"
#include "common/runtime_error.h"
#include "files/json_value.h"

namespace qalto {
namespace {

[[noreturn]] void Refuse(const std::string& where, const std::string& what) {
  throw RuntimeError("dataset: " + where + ": " + what);
}

std::string SettingText(const JsonValue& value, const std::string& where) {
  if (value.kind == JsonValue::Kind::kString) return value.text;
  if (value.kind == JsonValue::Kind::kNumber) return NumberText(value.number);
  Refuse(where, "a setting is a number or a text");
}

Settings ReadSettings(const JsonValue* object, const std::string& where) {
  Settings settings;
  if (!object) return settings;
  if (object->kind != JsonValue::Kind::kObject) Refuse(where, "expected an object");
  for (const auto& [control, value] : object->members)
    settings.emplace_back(control, SettingText(value, where + "." + control));
  return settings;
}

std::vector<double> Numbers(const JsonValue& value, const std::string& where) {
  std::vector<double> numbers;
  if (value.kind == JsonValue::Kind::kNumber) return {value.number};
  if (value.kind != JsonValue::Kind::kArray) Refuse(where, "expected a number or a list");
  for (const JsonValue& item : value.items) {
    if (item.kind != JsonValue::Kind::kNumber || !std::isfinite(item.number))
      Refuse(where, "expected finite numbers");
    numbers.push_back(item.number);
  }
  return numbers;
}

Distribution ReadDistribution(const JsonValue& value, const std::string& where) {
  if (value.kind == JsonValue::Kind::kNumber) return {Distribution::Kind::kFixed, {value.number}};
  if (value.kind != JsonValue::Kind::kObject || value.members.size() != 1)
    Refuse(where, "expected a number or one of grid, uniform, log_uniform, normal");
  const auto& [kind, argument] = value.members.front();
  std::vector<double> numbers = Numbers(argument, where + "." + kind);
  if (kind == "grid") {
    if (numbers.empty()) Refuse(where, "an empty grid");
    return {Distribution::Kind::kGrid, numbers};
  }
  if (numbers.size() != 2) Refuse(where + "." + kind, "expected two numbers");
  const double a = numbers[0], b = numbers[1];
  if (kind == "uniform" && a < b) return {Distribution::Kind::kUniform, {}, a, b};
  if (kind == "log_uniform" && a > 0 && a < b) return {Distribution::Kind::kLogUniform, {}, a, b};
  if (kind == "normal" && b >= 0) return {Distribution::Kind::kNormal, {}, a, b};
  Refuse(where + "." + kind, kind == "normal"
                                 ? "expected a mean and a deviation >= 0"
                                 : "expected low < high (and low > 0 for log_uniform)");
}

std::vector<DatasetParameter> ReadParameters(const JsonValue* object, const std::string& where) {
  std::vector<DatasetParameter> parameters;
  if (!object) return parameters;
  if (object->kind != JsonValue::Kind::kObject) Refuse(where, "expected an object");
  for (const auto& [name, value] : object->members) {
    std::string control = ParameterControl(name);
    if (control.empty()) Refuse(where + "." + name, "not a parameter or control name");
    parameters.push_back({name, control, ReadDistribution(value, where + "." + name)});
  }
  return parameters;
}

std::vector<DatasetGroup> ReadGroups(const JsonValue* object, const std::string& where) {
  if (!object || object->kind != JsonValue::Kind::kObject || object->members.empty())
    Refuse(where, "expected an object with at least one entry");
  std::vector<DatasetGroup> groups;
  for (const auto& [label, value] : object->members) {
    const std::string place = where + "." + label;
    if (value.kind != JsonValue::Kind::kObject) Refuse(place, "expected an object");
    // A technique is its settings; a mechanism may have "settings" and "parameters".
    const JsonValue* settings = value.Member("settings");
    const bool nested = settings || value.Member("parameters");
    groups.push_back({label, ReadSettings(nested ? settings : &value, place),
                      ReadParameters(value.Member("parameters"), place + ".parameters")});
  }
  return groups;
}

}  // namespace

std::string ParameterControl(const std::string& name) {
  static const std::map<std::string, std::string> families = {
      {"E0", "Eze"}, {"ks", "ks"}, {"alpha", "alph"}, {"lambda", "lambda"},
      {"D", "D"},    {"C", "C"},   {"kf", "kf"},      {"kb", "kb"}};
  static const std::map<std::string, std::string> instrument = {
      {"scan_rate", "FormIns.V"},        {"E_start", "FormIns.Estart"},
      {"E_end", "FormIns.Eend"},         {"E_step", "FormIns.Estep"},
      {"Ru", "FormIns.txtRu"},           {"Cd", "FormIns.Cdl"},
      {"area", "FormIns.ARE"},           {"radius", "FormIns.radius"},
      {"temperature", "FormIns.txttemp"}};
  if (name.find('.') != std::string::npos) return name;
  if (auto found = instrument.find(name); found != instrument.end()) return found->second;
  const size_t open = name.find('(');
  if (open == std::string::npos || name.back() != ')') return "";
  auto family = families.find(name.substr(0, open));
  if (family == families.end()) return "";
  return "FormExpr." + family->second + name.substr(open);
}

DatasetDescription ParseDatasetDescription(const std::string& json) {
  JsonValue root;
  try {
    root = ParseJson(json);
  } catch (const RuntimeError& error) {
    throw RuntimeError("dataset: " + error.Description());
  }
  if (root.kind != JsonValue::Kind::kObject) Refuse("the file", "expected a JSON object");
  DatasetDescription description;
  if (const JsonValue* seed = root.Member("seed")) {
    if (seed->kind != JsonValue::Kind::kNumber || seed->number < 0 || seed->number > 9e15 ||
        seed->number != std::floor(seed->number))
      Refuse("seed", "expected a whole number from 0 to 9e15");
    description.seed = static_cast<std::uint64_t>(seed->number);
  }
  if (const JsonValue* samples = root.Member("samples")) {
    if (samples->kind != JsonValue::Kind::kNumber || samples->number < 1 || samples->number > 1e7 ||
        samples->number != std::floor(samples->number))
      Refuse("samples", "expected a whole number from 1 to 10000000");
    description.samples = static_cast<long long>(samples->number);
  }
  if (const JsonValue* noise = root.Member("noise")) {
    if (noise->kind != JsonValue::Kind::kNumber || !(noise->number >= 0))
      Refuse("noise", "expected a current >= 0 (A)");
    description.noise = noise->number;
  }
  if (const JsonValue* mode = root.Member("mode")) {
    if (mode->kind != JsonValue::Kind::kString ||
        (mode->text != "analytical" && mode->text != "digital"))
      Refuse("mode", "expected \"analytical\" or \"digital\"");
    description.settings.emplace_back("FormMech.CheckDigital",
                                      mode->text == "digital" ? "on" : "off");
  }
  Settings settings = ReadSettings(root.Member("settings"), "settings");
  description.settings.insert(description.settings.end(), settings.begin(), settings.end());
  description.parameters = ReadParameters(root.Member("parameters"), "parameters");
  description.mechanisms = ReadGroups(root.Member("mechanisms"), "mechanisms");
  description.techniques = ReadGroups(root.Member("techniques"), "techniques");
  return description;
}

}  // namespace qalto
