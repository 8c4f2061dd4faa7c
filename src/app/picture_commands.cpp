// The main window's commands that hand the plot picture to the machine: the clipboard and the
// printer. The picture is the plot window's drawing as it stands.

#include "app/app.h"

namespace qalto {

void App::mnuCopyto_Click() {
  platform_.CopyPicture(plot_.surface);
}

void App::mnuPrint_Click() {
  platform_.PrintPicture(plot_.surface);
}

}  // namespace qalto
