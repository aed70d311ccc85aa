// Scene set-up of the demo.
#include "scene.h"

void OpenGL_CreateList() {}
