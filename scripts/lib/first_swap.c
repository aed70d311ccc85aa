// Preloaded into the demo by scripts/startup-time: writes the wall-clock time (nanoseconds since
// the epoch) at which the first glXSwapBuffers returns into the file named by $FIRST_SWAP_FILE.
#define _GNU_SOURCE
#include <GL/glx.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

typedef void (*SwapFunction)(Display*, GLXDrawable);

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  static SwapFunction next;
  static int done;
  if (!next) next = (SwapFunction)dlsym(RTLD_NEXT, "glXSwapBuffers");
  if (next) next(display, drawable);
  if (done++) return;
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  const char* path = getenv("FIRST_SWAP_FILE");
  FILE* f = path ? fopen(path, "w") : NULL;
  if (!f) return;
  fprintf(f, "%lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
  fclose(f);
}
