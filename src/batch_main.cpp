// qalto-batch: runs a script of user actions against the program, without any window.

#include <fstream>
#include <iostream>
#include <string>

#include "app/app.h"
#include "app/script_runner.h"
#include "ui/recording_platform.h"

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
  int status = runner.Run(script, std::cerr);
  std::cout.flush();
  return status;
}
