// Drawing five overlaid curves of 5000 points into the display list, and writing that list as
// an SVG picture.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>

#include "drawing/recording_surface.h"
#include "drawing/svg_writer.h"
#include "model/model.h"
#include "plot/plotter.h"

namespace qalto {
namespace {

constexpr int kPoints = 5000;
constexpr int kCurves = 5;

// Five cyclic-voltammogram-like curves, all curves drawn in the given style.
struct PlotBench {
  explicit PlotBench(int style) {
    model.ShowGrid = true;
    for (int k = 1; k <= kCurves; ++k)
      model.LineStyles(k) = style;
    model.FirstPoint = 1;
    model.LastPoint = kPoints;
    model.CurveCount = kCurves;
    for (int j = 1; j <= kPoints; ++j) {
      double x = 0.3 - 0.6 * (j - 1) / (kPoints - 1);  // V
      model.PotentialX(j) = x;
      for (int k = 1; k <= kCurves; ++k) {
        double z = (x - 0.02 * k) / 0.0257;
        model.CurrentY(j, k) = -4e-6 * k * std::exp(-z * z / 4) + 1e-7 * std::sin(j);  // A
      }
    }
  }

  void Plot() {
    PlotCurves(context, model.FirstPoint, model.LastPoint, model.PotentialX, model.CurrentY,
               model.LineStyles);
  }

  Model model;
  RecordingSurface surface;
  PlotContext context{model, PlotOptions{"current I", true}, surface};
};

void BM_PlotCurves(benchmark::State& state) {
  PlotBench bench(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    bench.Plot();
    benchmark::DoNotOptimize(bench.surface.Items().data());
  }
  state.counters["items"] = static_cast<double>(bench.surface.Items().size());
}
BENCHMARK(BM_PlotCurves)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_SvgText(benchmark::State& state) {
  PlotBench bench(static_cast<int>(state.range(0)));
  bench.Plot();
  size_t bytes = 0;
  for (auto _ : state) {
    std::string svg = SvgText(bench.surface, 800, 600);
    bytes = svg.size();
    benchmark::DoNotOptimize(svg.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SvgText)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

// The whole road of a "plot file.svg": draw, then write the file.
void BM_PlotAndWriteSvgFile(benchmark::State& state) {
  PlotBench bench(static_cast<int>(state.range(0)));
  std::string path = (std::filesystem::temp_directory_path() / "qalto_plot_bench.svg").string();
  for (auto _ : state) {
    bench.Plot();
    benchmark::DoNotOptimize(WriteSvg(bench.surface, path, 800, 600));
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_PlotAndWriteSvgFile)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qalto
