#include "app/file_dialog.h"

namespace qalto {

std::string FileDialog::ShowOpen(Platform& platform, const std::string& filter) {
  if (std::optional<std::string> chosen = platform.OpenFileDialog(filter)) fileName_ = *chosen;
  return fileName_;
}

std::optional<std::string> FileDialog::ShowSave(Platform& platform, const std::string& filter) {
  std::optional<std::string> chosen = platform.SaveFileDialog(filter);
  if (chosen) fileName_ = *chosen;
  return chosen;
}

}  // namespace qalto
