// Preloaded into the demo by scripts/profile-frames: perf samples only from the start of frame
// $PROFILE_FROM to the end of frame $PROFILE_TO (frames counted by the demo's glXSwapBuffers calls;
// perf is told through its control FIFO $PERF_CTL), then the demo ends, so start-up never weighs
// in the steady-state profile.
#define _GNU_SOURCE
#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

typedef void (*SwapFunction)(Display*, GLXDrawable);

static unsigned long setting(const char* name, unsigned long fallback) {
  const char* value = getenv(name);
  return value && *value ? strtoul(value, NULL, 10) : fallback;
}

static void tell_perf(const char* command) {
  const char* path = getenv("PERF_CTL");
  const int fd = path ? open(path, O_WRONLY) : -1;
  if (fd < 0) return;
  if (write(fd, command, strlen(command)) < 0) _exit(3);
  close(fd);
}

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  static SwapFunction next;
  static unsigned long frames;
  const unsigned long from = setting("PROFILE_FROM", 50), to = setting("PROFILE_TO", 150);
  if (!next) next = (SwapFunction)dlsym(RTLD_NEXT, "glXSwapBuffers");
  if (next) next(display, drawable);
  ++frames;  // frames 1..frames are complete
  if (frames + 1 == from) tell_perf("enable\n");
  if (frames == to) {
    tell_perf("disable\n");
    _exit(0);
  }
}
