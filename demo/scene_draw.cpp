// The demo's per-frame scene.
#include "scene.h"

void OpenGL_Draw() {}
