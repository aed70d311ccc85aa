// Preloaded into the demo by demo_run: once frame $STOP_AT_FRAME is on the screen (counted by
// glXSwapBuffers calls), writes the process id into the file $STOP_AT_FRAME_FILE and stops the
// process (SIGSTOP) until it is sent SIGCONT. The demo's tornado turns by frames, so a picture
// taken meanwhile is the same in every run, however busy the machine.
//
// Wine does not call glXSwapBuffers by name: its display driver looks up glXGetProcAddressARB with
// dlsym on libGL's handle and asks that for glXSwapBuffers. So dlsym and glXGetProcAddress(ARB) are
// wrapped too, and hand out the wrapper below for those names. Every other lookup goes to the real
// dlsym, though as if made from this library (dlsym with RTLD_NEXT then searches the libraries
// after this one, which are all the others, as this one is loaded first).
#define _GNU_SOURCE
#include <GL/glx.h>
#include <dlfcn.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

typedef void* (*LookupFunction)(void*, const char*);
typedef void (*SwapFunction)(Display*, GLXDrawable);
typedef __GLXextFuncPtr (*ProcAddressFunction)(const GLubyte*);
typedef int (*SyncFunction)(Display*, Bool);

static void* real_dlsym(void* handle, const char* name) {
  static LookupFunction real;
  // In libc as version GLIBC_2.34 since glibc 2.34; in libdl as GLIBC_2.2.5 before.
  if (!real) real = (LookupFunction)dlvsym(RTLD_NEXT, "dlsym", "GLIBC_2.34");
  if (!real) real = (LookupFunction)dlvsym(RTLD_NEXT, "dlsym", "GLIBC_2.2.5");
  return real ? real(handle, name) : NULL;
}

static void stop_here(Display* display) {
  // The picture must reach the X server before the process stops: nothing would send it later.
  SyncFunction sync = (SyncFunction)real_dlsym(RTLD_DEFAULT, "XSync");
  if (sync) sync(display, False);
  const char* path = getenv("STOP_AT_FRAME_FILE");
  if (!path) return;
  // Written beside the file and renamed, so a reader never sees half a number.
  char temporary[4096];
  if (snprintf(temporary, sizeof temporary, "%s.part", path) >= (int)sizeof temporary) return;
  FILE* f = fopen(temporary, "w");
  if (!f) return;
  fprintf(f, "%ld\n", (long)getpid());
  if (fclose(f) != 0 || rename(temporary, path) != 0) return;
  raise(SIGSTOP);
}

// The functions the wrappers hand on to: what the caller's own lookup found, or the next definition
// after this library when the program calls them by name.
static SwapFunction next_swap;
static ProcAddressFunction next_proc_address_arb, next_proc_address;

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  static unsigned long frames;
  if (!next_swap) next_swap = (SwapFunction)real_dlsym(RTLD_NEXT, "glXSwapBuffers");
  if (next_swap) next_swap(display, drawable);
  const char* at = getenv("STOP_AT_FRAME");
  if (++frames == (at ? strtoul(at, NULL, 10) : 0)) stop_here(display);
}

static __GLXextFuncPtr proc_address(ProcAddressFunction next, const GLubyte* name) {
  const __GLXextFuncPtr found = next ? next(name) : NULL;
  if (!found || strcmp((const char*)name, "glXSwapBuffers") != 0) return found;
  if (!next_swap) next_swap = (SwapFunction)found;
  return (__GLXextFuncPtr)glXSwapBuffers;
}

__GLXextFuncPtr glXGetProcAddressARB(const GLubyte* name) {
  if (!next_proc_address_arb)
    next_proc_address_arb = (ProcAddressFunction)real_dlsym(RTLD_NEXT, "glXGetProcAddressARB");
  return proc_address(next_proc_address_arb, name);
}

__GLXextFuncPtr glXGetProcAddress(const GLubyte* name) {
  if (!next_proc_address)
    next_proc_address = (ProcAddressFunction)real_dlsym(RTLD_NEXT, "glXGetProcAddress");
  return proc_address(next_proc_address, name);
}

void* dlsym(void* handle, const char* name) {
  void* found = real_dlsym(handle, name);
  if (!found) return NULL;
  if (strcmp(name, "glXSwapBuffers") == 0) {
    if (!next_swap) next_swap = (SwapFunction)found;
    return (void*)glXSwapBuffers;
  }
  if (strcmp(name, "glXGetProcAddressARB") == 0) {
    if (!next_proc_address_arb) next_proc_address_arb = (ProcAddressFunction)found;
    return (void*)glXGetProcAddressARB;
  }
  if (strcmp(name, "glXGetProcAddress") == 0) {
    if (!next_proc_address) next_proc_address = (ProcAddressFunction)found;
    return (void*)glXGetProcAddress;
  }
  return found;
}
