// Load check of the demo under an input flood (not a timed test): the built TornadoDemo, answered
// "No", is stopped as soon as its window is on the screen; 1,000 left clicks and 100,000 pointer
// motions are queued for it through XTest, then Escape; then it runs again. Reported: the time from
// resuming it until Escape has ended it, and its peak resident memory. The floor is the same run
// with Escape alone, measured in the same program.
//
//   bench_input_flood [--demo=PATH] [--clicks=N] [--motions=N] [--deadline=SECONDS]  (needs
//   DISPLAY)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "bench_flags.h"

namespace {

std::string g_demo = ZELVO_BINARY_DIR "/demo/TornadoDemo";
long g_clicks = 1000, g_motions = 100000;
long g_deadline_s = 900;  // the demo works off a backlog one message per frame: this can take long

using Clock = std::chrono::steady_clock;

// The top-level window whose name is exactly `name` (or any of its descendants'), or 0.
Window FindNamed(Display* d, Window w, const char* name, int depth) {
  // WM_NAME of any type: the message box sets it as UTF8_STRING.
  Atom type = 0;
  int format = 0;
  unsigned long length = 0, after = 0;
  unsigned char* title = nullptr;
  if (XGetWindowProperty(d, w, XA_WM_NAME, 0, 256, False, AnyPropertyType, &type, &format, &length,
                         &after, &title) == Success &&
      title) {
    const bool same = format == 8 && std::string(reinterpret_cast<char*>(title), length) == name;
    XFree(title);
    XWindowAttributes a;
    if (same && XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable) return w;
  }
  if (depth == 0) return 0;
  Window root, parent, *children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (XQueryTree(d, w, &root, &parent, &children, &count)) {
    for (unsigned i = 0; i < count && !found; ++i)
      found = FindNamed(d, children[i], name, depth - 1);
    if (children) XFree(children);
  }
  return found;
}

// Windows come and go while the tree is searched; a request on one just destroyed is no error here.
int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

// The window named `name` once searches over a second agree: a window may get a new X window once,
// when its GL pixel format is set, and input sent to the first one would be lost.
Window WaitFor(Display* d, const char* name) {
  const auto end = Clock::now() + std::chrono::seconds(30);
  Window last = 0;
  int agreeing = 0;
  while (Clock::now() < end) {
    const Window w = FindNamed(d, DefaultRootWindow(d), name, 2);
    agreeing = w && w == last ? agreeing + 1 : 0;
    if (agreeing == 20) return w;
    last = w;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return 0;
}

void Key(Display* d, KeySym sym) {
  XTestFakeKeyEvent(d, XKeysymToKeycode(d, sym), True, CurrentTime);
  XTestFakeKeyEvent(d, XKeysymToKeycode(d, sym), False, CurrentTime);
  XSync(d, False);
}

struct Outcome {
  bool ok = false;
  double seconds = 0;    // from resuming the stopped demo to its exit after Escape
  long peak_rss_kb = 0;  // the demo's peak resident set
};

Outcome RunDemo(Display* d, long clicks, long motions) {
  Outcome out;
  if (motions < clicks) motions = clicks;
  const std::string dir = g_demo.substr(0, g_demo.rfind('/'));
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(127);
    execl(g_demo.c_str(), g_demo.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  const Window box = WaitFor(d, "Video!");
  if (box) Key(d, XK_n);
  const Window window = box ? WaitFor(d, "Tornado") : 0;
  if (!window) {
    std::fprintf(stderr, "the demo's %s did not appear\n", box ? "window" : "question box");
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return out;
  }
  // Let start-up finish (texture loading, the first frames), as a user would see it, then stop it:
  // everything below waits in the demo's connection until it runs again.
  std::this_thread::sleep_for(std::chrono::seconds(3));
  kill(pid, SIGSTOP);
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(d, window, DefaultRootWindow(d), 200, 200, &x, &y, &child);
  const int screen = DefaultScreen(d);
  // The demo may not have taken the focus yet; the user's Escape goes to its window regardless.
  XTestFakeMotionEvent(d, screen, x, y, CurrentTime);
  XSetInputFocus(d, window, RevertToParent, CurrentTime);
  for (long i = 0; i < motions; ++i) {
    XTestFakeMotionEvent(d, screen, x + static_cast<int>(i % 200), y + static_cast<int>(i % 97),
                         CurrentTime);
    if ((i + 1) * clicks / motions != i * clicks / motions) {  // `clicks` clicks spread evenly
      XTestFakeButtonEvent(d, 1, True, CurrentTime);
      XTestFakeButtonEvent(d, 1, False, CurrentTime);
    }
    if (i % 4096 == 0) XFlush(d);
  }
  Key(d, XK_Escape);
  const auto start = Clock::now();
  kill(pid, SIGCONT);
  int status = 0;
  rusage usage{};
  const auto deadline = start + std::chrono::seconds(g_deadline_s);
  pid_t done = 0;
  while ((done = wait4(pid, &status, WNOHANG, &usage)) == 0 && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  if (done != pid) {
    std::fprintf(stderr, "the demo did not end within %ld s of Escape\n", g_deadline_s);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return out;
  }
  out.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  out.peak_rss_kb = usage.ru_maxrss;
  out.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (!out.ok)
    std::fprintf(stderr, "the demo ended with %s %d\n", WIFEXITED(status) ? "status" : "signal",
                 WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status));
  return out;
}

void BM_EscapeAfterInputFlood(benchmark::State& state) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    state.SkipWithError("no X display");
    return;
  }
  XSetErrorHandler(IgnoreXErrors);
  Outcome floor, flood;
  for (auto _ : state) {
    floor = RunDemo(d, 0, 0);
    flood = RunDemo(d, g_clicks, g_motions);
  }
  XCloseDisplay(d);
  if (!floor.ok || !flood.ok) {
    state.SkipWithError("the demo did not end with status 0 after Escape");
    return;
  }
  state.counters["escape_s"] = flood.seconds;
  state.counters["floor_escape_s"] = floor.seconds;
  state.counters["ratio"] = flood.seconds / floor.seconds;
  state.counters["peak_rss_kB"] = static_cast<double>(flood.peak_rss_kb);
  state.counters["floor_peak_rss_kB"] = static_cast<double>(floor.peak_rss_kb);
  state.counters["rss_ratio"] =
      static_cast<double>(flood.peak_rss_kb) / static_cast<double>(floor.peak_rss_kb);
}

}  // namespace

int main(int argc, char** argv) {
  std::string v;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (Flag(argv[i], "--demo", v)) {
      // Started from the demo's own folder, where its textures are: the name must not be relative.
      char* full = realpath(v.c_str(), nullptr);
      g_demo = full ? full : v;
      std::free(full);
    } else if (Flag(argv[i], "--clicks", v)) {
      g_clicks = std::max(0L, std::atol(v.c_str()));
    } else if (Flag(argv[i], "--deadline", v)) {
      g_deadline_s = std::max(1L, std::atol(v.c_str()));
    } else if (Flag(argv[i], "--motions", v)) {
      g_motions = std::max(0L, std::atol(v.c_str()));
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  benchmark::RegisterBenchmark("BM_EscapeAfterInputFlood", BM_EscapeAfterInputFlood)
      ->Iterations(1)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
