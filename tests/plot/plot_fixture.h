#pragma once
// A model, display settings, a recording plot window, and readers of the drawing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "drawing/recording_surface.h"
#include "model/model.h"
#include "plot/plotter.h"

namespace qalto {

class PlotFixture : public ::testing::Test {
 protected:
  // As at start-up: "current I", x decreasing to the right, curves 1..5 in dots.
  PlotFixture() {
    for (int k = 1; k <= 5; ++k)
      model.LineStyles(k) = 1;
  }

  // Points 1..n from x0 to x1 (V), curve k = yOf(k, x).
  void FillCurves(int n, double x0, double x1, int curves,
                  const std::function<double(int, double)>& yOf) {
    model.FirstPoint = 1;
    model.LastPoint = n;
    model.NumberOfPoints = n;
    model.CurveCount = curves;
    for (int j = 1; j <= n; ++j) {
      double x = n == 1 ? x0 : x0 + (x1 - x0) * (j - 1) / (n - 1);
      model.PotentialX(j) = x;
      for (int k = 1; k <= curves; ++k)
        model.CurrentY(j, k) = yOf(k, x);
    }
  }

  Outcome Plot() {
    return PlotCurves(context, model.FirstPoint, model.LastPoint, model.PotentialX, model.CurrentY,
                      model.LineStyles);
  }

  std::vector<const DisplayItem*> ItemsOf(ItemKind kind) const {
    std::vector<const DisplayItem*> found;
    for (const DisplayItem& item : surface.Items()) {
      if (item.kind == kind) found.push_back(&item);
    }
    return found;
  }

  std::vector<std::string> TextsWhere(const std::function<bool(const DisplayItem&)>& keep) const {
    std::vector<std::string> texts;
    for (const DisplayItem* item : ItemsOf(ItemKind::kText)) {
      if (keep(*item)) texts.push_back(item->text);
    }
    return texts;
  }
  std::vector<std::string> Texts() const {
    return TextsWhere([](const DisplayItem&) { return true; });
  }
  bool HasText(const std::string& text) const { return std::ranges::count(Texts(), text) > 0; }
  double XRange() const { return model.PlotXMax - model.PlotXMin; }
  // Texts printed with their corner at x (the labels of one y axis side), or at the frame's
  // bottom edge inside the x range (the x labels), in drawing order.
  std::vector<std::string> TextsAtX(double x) const {
    return TextsWhere([x](const DisplayItem& item) {
      return std::abs(item.x1 - x) <= 1e-9 * std::max(1.0, std::abs(x));
    });
  }
  std::vector<std::string> XLabels() const {
    return TextsWhere([this](const DisplayItem& item) {
      return item.y1 == model.PlotYMin && item.x1 >= model.PlotXMin - 1e-12 &&
             item.x1 <= model.PlotXMax + 1e-12;
    });
  }

  // Typed limits instead of the automatic ones.
  void TypeYRange(double low, double high) {
    context.options.autoY = false;
    model.PlotYMin = low;
    model.PlotYMax = high;
  }

  Model model;
  RecordingSurface surface;
  PlotContext context{model, PlotOptions{"current I", true}, surface};
};

}  // namespace qalto
