// Fatal set-up failures of the window layer.
#include <cstdlib>

#include "zelvo/window.h"

void ThrowError(const char* pcErrorMessage) {
  MessageBoxA(0, pcErrorMessage, "Error", MB_OK);
  // A failed set-up must not look like a successful run to whoever started the program; exit()
  // (not _exit) so that the library's shutdown still runs.
  std::exit(1);
}
