// Preloaded into the demo by scripts/profile-frames: callgrind collects only from the start of
// frame $PROFILE_FROM to the end of frame $PROFILE_TO (frames counted by the demo's glXSwapBuffers
// calls), then the demo ends, so start-up never weighs in the steady-state profile.
#define _GNU_SOURCE
#include <GL/glx.h>
#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>
#include <valgrind/callgrind.h>

typedef void (*SwapFunction)(Display*, GLXDrawable);

static unsigned long setting(const char* name, unsigned long fallback) {
  const char* value = getenv(name);
  return value && *value ? strtoul(value, NULL, 10) : fallback;
}

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  static SwapFunction next;
  static unsigned long frames;
  const unsigned long from = setting("PROFILE_FROM", 50), to = setting("PROFILE_TO", 150);
  if (!next) next = (SwapFunction)dlsym(RTLD_NEXT, "glXSwapBuffers");
  if (next) next(display, drawable);
  ++frames;  // frames 1..frames are complete
  if (frames + 1 == from) CALLGRIND_START_INSTRUMENTATION;
  if (frames == to) {
    CALLGRIND_STOP_INSTRUMENTATION;
    _exit(0);
  }
}
