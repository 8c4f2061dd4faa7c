#include "app/replace_file.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>

namespace qalto {

bool ReplaceFile(const std::string& path, const std::string& contents) {
  // The process id keeps the temporaries of tasks writing beside each other apart.
  std::string temporary = path + "." + std::to_string(getpid()) + ".tmp";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file << contents;
    file.close();
    if (!file) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace qalto
