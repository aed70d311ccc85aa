// Zelvo: a small framework for fixed-function OpenGL programs.
//
// The one header an application includes. It brings in the Windows-style services the library is
// written against (<windows.h>, provided on Linux by the platform layer), OpenGL and GLU, and the
// library's own declarations, grouped by subsystem:
//   window   - window globals, the main window and its GL context, the input state, the message
//   pump render   - projection and render-state presets, lights, primitives, billboards,
//   sprite-sheet cells textures - BMP and TGA files into numbered texture slots controls - skinned
//   window controls: bitmaps with palettes, regions, the image button
#pragma once

#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include "zelvo/checked.h"
#include "zelvo/window.h"
#include "zelvo/render.h"
#include "zelvo/textures.h"
#include "zelvo/controls.h"
