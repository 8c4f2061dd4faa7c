#include "fit/fit_parameters.h"

#include "common/runtime_error.h"

namespace qalto {

const std::vector<int>& FitParameterCodes() {
  static const std::vector<int> codes = [] {
    std::vector<int> list;
    for (int s = 1; s <= 8; ++s)
      list.push_back(s);
    for (int family : {10, 20, 30, 60}) {
      for (int r = 1; r <= 3; ++r)
        list.push_back(family + r);
    }
    for (int family : {40, 50}) {
      for (int i = 1; i <= 4; ++i)
        list.push_back(family + i);
    }
    for (int s = 1; s <= 8; ++s)
      list.push_back(70 + s);
    list.push_back(kFittedInteraction);
    for (int s = 1; s <= 8; ++s)
      list.push_back(80 + s);
    return list;
  }();
  return codes;
}

const std::vector<int>& CellParameterCodes() {
  static const std::vector<int> codes = {kFittedRu,  kFittedCd0,    kFittedCd1,
                                         kFittedCd2, kFittedOffset, kFittedSlope};
  return codes;
}

double& FittedField(Model& model, int code) {
  if (code >= 1 && code <= 8) return model.SpeciesC(code);
  if (code >= 11 && code <= 13) return model.ChargeKs(code - 10);
  if (code >= 21 && code <= 23) return model.ChargeAlpha(code - 20);
  if (code >= 31 && code <= 33) return model.ChargeE0(code - 30);
  if (code >= 61 && code <= 63) return model.ChargeLambda(code - 60);
  if (code >= 41 && code <= 44) return model.ForwardRateConstant(code - 40);
  if (code >= 51 && code <= 54) return model.BackwardRateConstant(code - 50);
  if (code >= 71 && code <= 78) return model.SpeciesD(code - 70);
  if (code == kFittedInteraction) return model.LayerInteraction;
  if (code >= 81 && code <= 88) return model.SpeciesGamma(code - 80);
  switch (code) {
    case kFittedRu:
      return model.UncompensatedResistance;
    case kFittedCd0:
      return model.DoubleLayerCapacitance;
    case kFittedCd1:
      return model.CapacitanceSlope;
    case kFittedCd2:
      return model.CapacitanceCurvature;
    case kFittedOffset:
      return model.BaselineOffset;
    case kFittedSlope:
      return model.BaselineSlope;
    default:
      break;
  }
  throw RuntimeError::SubscriptOutOfRange();
}

std::string ParameterName(int code) {
  static const char* const cell[] = {"Ru", "Cd0", "Cd1", "Cd2", "I offset", "I slope"};
  if (code >= kFittedRu && code <= kFittedSlope) return cell[code - kFittedRu];
  if (code == kFittedInteraction) return "g";
  static const char* const names[] = {"C", "ks", "alpha", "E0", "kf", "kb", "lambda", "D", "Gamma"};
  int family = code / 10;
  if (code < 1 || family > 8 || (family == 6 && code > 63) || code == 89)
    throw RuntimeError::SubscriptOutOfRange();
  return std::string(names[family]) + "(" + std::to_string(code % 10) + ")";
}

bool IsPositiveQuantity(int code) {
  if (code == kFittedRu || code == kFittedCd0) return true;
  int family = code / 10;
  return family == 0 || family == 1 || family == 4 || family == 5 || family == 6 || family == 7 ||
         (family == 8 && code != kFittedInteraction);
}

bool HasArbitraryZero(int code) {
  return code / 10 == 3 || code == kFittedCd1 || code == kFittedCd2 || code == kFittedOffset ||
         code == kFittedSlope;
}

namespace {

// Whether the mechanism has the species or reaction the code belongs to. The homogeneous rows
// hold the first-order reactions, then the second-order ones.
bool InMechanism(const Model& model, int code) {
  int family = code / 10;
  int index = code % 10;
  switch (family) {
    case 0:
    case 7:
      return index >= 1 && index <= model.SpeciesCount;
    case 1:
    case 2:
    case 3:
      return index >= 1 && index <= model.ChargeReactionCount;
    case 6:  // lambda only where the reaction has Marcus-Hush kinetics
      return index >= 1 && index <= model.ChargeReactionCount && model.ChargeLambda(index) > 0;
    case 4:
    case 5:
      return index >= 1 && index <= model.FirstOrderReactionCount + model.SecondOrderReactionCount;
    case 8:  // the layer's g and each adsorbed species' Gamma
      if (code == kFittedInteraction) {
        for (int s = 1; s <= model.SpeciesCount; ++s) {
          if (model.SpeciesAdsorbed(s) != 0) return true;
        }
        return false;
      }
      return index >= 1 && index <= model.SpeciesCount && model.SpeciesAdsorbed(index) != 0;
    case 9:
      return code >= kFittedRu && code <= kFittedSlope;
    default:
      return false;
  }
}

}  // namespace

ParameterStart StartOfParameter(Model& model, const FitChoice& choice) {
  if (!InMechanism(model, choice.code)) return {};
  return {FittedField(model, choice.code), choice.minimum, choice.maximum};
}

}  // namespace qalto
