// The PNG writer as a module that qalto-batch loads with dlopen when a script first writes a
// PNG picture, so that a run without one never loads the Qt libraries.

#include "desktop/png_writer.h"

extern "C" __attribute__((visibility("default"))) int QaltoWritePng(
    const qalto::RecordingSurface* surface, const char* path, int width, int height) {
  return qalto::WritePng(*surface, path, width, height) ? 1 : 0;
}
