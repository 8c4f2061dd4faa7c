#pragma once
// A scratch folder for the file tests, removed with everything in it at the end of the test.

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace qalto {

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("qalto_files_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The full path of a file in the folder.
  std::string Path(const std::string& name) const { return (path_ / name).string(); }

  // Writes the bytes as they are; returns the full path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream file(Path(name), std::ios::binary);
    file << bytes;
    return Path(name);
  }

  // The number of files in the folder.
  int FileCount() const {
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(path_))
      ++files;
    return files;
  }

  static std::string Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
  }

 private:
  std::filesystem::path path_;
};

}  // namespace qalto
