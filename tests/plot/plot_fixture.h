#pragma once
// A model, the display options form, a recording plot window and platform wired together, with
// helpers that read the drawing back.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "forms/option_form.h"
#include "model/model.h"
#include "plot/plotter.h"
#include "ui/recording_platform.h"
#include "ui/recording_surface.h"

namespace qalto {

class PlotFixture : public ::testing::Test {
 protected:
  PlotFixture() { options.ComboY.SetListIndex(0); }  // start-up chooses "current I"

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

  void Plot() {
    PlotCurves(context, model.FirstPoint, model.LastPoint, model.PotentialX, model.CurrentY,
               model.LineStyles);
  }

  std::vector<const DisplayItem*> ItemsOf(ItemKind kind) const {
    std::vector<const DisplayItem*> found;
    for (const DisplayItem& item : surface.Items()) {
      if (item.kind == kind) found.push_back(&item);
    }
    return found;
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const DisplayItem* item : ItemsOf(ItemKind::kText))
      texts.push_back(item->text);
    return texts;
  }

  const DisplayItem* FindText(const std::string& text) const {
    for (const DisplayItem* item : ItemsOf(ItemKind::kText)) {
      if (item->text == text) return item;
    }
    return nullptr;
  }

  // Texts printed with their corner at x, in drawing order: the labels of one axis side.
  std::vector<std::string> TextsAtX(double x) const {
    std::vector<std::string> texts;
    for (const DisplayItem* item : ItemsOf(ItemKind::kText)) {
      if (std::abs(item->x1 - x) <= 1e-9 * std::max(1.0, std::abs(x))) {
        texts.push_back(item->text);
      }
    }
    return texts;
  }

  // Texts printed with their corner at height y: the x labels.
  std::vector<std::string> TextsAtY(double y) const {
    std::vector<std::string> texts;
    for (const DisplayItem* item : ItemsOf(ItemKind::kText)) {
      if (item->y1 == y) texts.push_back(item->text);
    }
    return texts;
  }

  Model model;
  FormOption options{model};
  RecordingSurface surface;
  RecordingPlatform platform;
  PlotContext context{model, options, surface, platform};
};

}  // namespace qalto
