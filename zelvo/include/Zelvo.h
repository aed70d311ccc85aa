/// @file
/// Zelvo: a small framework for fixed-function OpenGL programs.
///
/// The one header an application includes. It brings in the Windows-style services the library is
/// written against (`<windows.h>`, provided on Linux by the platform layer), OpenGL and GLU, and
/// the library's own declarations, grouped by subsystem:
/// - window (zelvo/window.h): window globals, the main window and its GL context, the input state,
///   the message pump;
/// - render (zelvo/render.h): projection and render-state presets, lights, primitives,
///   billboards, sprite-sheet cells;
/// - textures (zelvo/textures.h): BMP and TGA files into numbered texture slots;
/// - controls (zelvo/controls.h): skinned window controls: bitmaps with palettes, regions, the
///   image button;
/// - checked (zelvo/checked.h): the checked tables and arithmetic the others are built with.
#pragma once

#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include "zelvo/checked.h"
#include "zelvo/window.h"
#include "zelvo/render.h"
#include "zelvo/textures.h"
#include "zelvo/controls.h"
