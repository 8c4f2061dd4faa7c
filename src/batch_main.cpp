// qalto-batch: runs a script of user actions against the program, without any window.

#include <fstream>
#include <iostream>
#include <string>

#include "app/app.h"
#include "app/script_runner.h"
#include "ui/recording_platform.h"
#include "ui/svg_writer.h"
#ifdef QALTO_PNG
#include "ui/qt/png_writer.h"
#endif

namespace {

constexpr int kPictureWidth = 800;   // pixels
constexpr int kPictureHeight = 600;  // pixels

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Writes the plot window as last drawn; an error text, empty on success.
std::string WritePicture(qalto::App& app, const std::string& path) {
  const qalto::PlotWindow& plot = app.Plot();
  if (!plot.HasDrawing()) return "nothing has been drawn";
  bool written = false;
  std::string reason;
  if (EndsWith(path, ".svg")) {
    written = qalto::WriteSvg(plot.surface, path, kPictureWidth, kPictureHeight, &reason);
  } else if (EndsWith(path, ".png")) {
#ifdef QALTO_PNG
    written = qalto::WritePng(plot.surface, path, kPictureWidth, kPictureHeight, &reason);
#else
    return "PNG pictures need the Qt libraries, which this build lacks";
#endif
  } else {
    return "a picture is written as .svg or .png: " + path;
  }
  if (written) return "";
  return "cannot write " + path + (reason.empty() ? "" : ": " + reason);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: qalto-batch SCRIPT   (or - to read standard input)\n";
    return 2;
  }
  std::string path = argv[1];
  std::ifstream file;
  if (path != "-") {
    file.open(path);
    if (!file) {
      std::cerr << "qalto-batch: cannot open " << path << "\n";
      return 2;
    }
  }
  std::istream& script = path == "-" ? std::cin : file;
  qalto::RecordingPlatform platform;
  qalto::App app(platform);
  qalto::ScriptRunner runner(app, platform, std::cout);
  runner.plotWriter = [&app](const std::string& picture) { return WritePicture(app, picture); };
  int status = runner.Run(script, std::cerr);
  std::cout.flush();
  return status;
}
