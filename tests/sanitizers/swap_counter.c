// Preloaded into the demo by scripts/leakcheck: counts the frames the demo presents (its
// glXSwapBuffers calls) and keeps the count in the file named by $SWAP_COUNT_FILE, so that the
// check can end a run after a set number of frames while the demo itself stays as users run it.
#define _GNU_SOURCE
#include <GL/glx.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>

typedef void (*SwapFunction)(Display*, GLXDrawable);

static void write_count(unsigned long frames) {
  const char* path = getenv("SWAP_COUNT_FILE");
  if (!path) return;
  // Written beside and renamed, so that a reader never sees a half-written number.
  char temporary[4096];
  if (snprintf(temporary, sizeof temporary, "%s.new", path) >= (int)sizeof temporary) return;
  FILE* f = fopen(temporary, "w");
  if (!f) return;
  fprintf(f, "%lu\n", frames);
  fclose(f);
  rename(temporary, path);
}

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  static SwapFunction next;
  static unsigned long frames;
  if (!next) next = (SwapFunction)dlsym(RTLD_NEXT, "glXSwapBuffers");
  if (next) next(display, drawable);
  ++frames;
  if (frames <= 10 || frames % 10 == 0) write_count(frames);
}
