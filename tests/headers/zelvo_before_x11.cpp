// Compiled, not run: Zelvo.h before Xlib and GLX in one file. The framework's global Depth would
// collide with Xlib's type, so this order asks for the variable under zelvo:: only.
#define ZELVO_NO_GLOBAL_DEPTH
#include <Zelvo.h>
#include <Zelv_Games.h>

#include <X11/Xlib.h>
#include <GL/glx.h>
#include <win/native_x11.h>

float ViewDepthOf(const ::Depth& screen_depth) { return zelvo::Depth + float(screen_depth.depth); }

GLXContext ContextOfTheMainWindow() { return ZelvoGLXContext(RCWindow); }
