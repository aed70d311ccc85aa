// The 3D and 2D projection presets, re-applied by the application every frame.
#include "zelvo/render.h"
#include "zelvo/window.h"

#include <GL/glu.h>

float OffX = 0.0f;
float OffY = 0.0f;

void OpenGL_Init(double Depth, double A, double R, double G, double B) {
  glClearColor(static_cast<GLfloat>(R), static_cast<GLfloat>(G), static_cast<GLfloat>(B),
               static_cast<GLfloat>(A));
  glViewport(0, 0, Width, Height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(Width) / static_cast<double>(Height), 0.1, Depth);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearDepth(Depth);  // GL clamps it into [0, 1]
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);  // blending itself is left to whoever draws
  glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
  glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
  glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glEnable(GL_AUTO_NORMAL);
  glEnable(GL_NORMALIZE);
  // No further capability is enabled: the only candidate would be an invalid enum, which GL
  // rejects with an error and no effect.
}

void OpenGL_I2D(double A, double R, double G, double B) {
  // A zero width is a caller error; stop with a clear run-time error rather than trap.
  if (Width == 0) zelvo::OverflowError("OpenGL_I2D: Height div Width with Width = 0");
  const int32_t aspect_div = Height / Width;
  OffX = static_cast<float>(aspect_div - 2.05);
  OffY = static_cast<float>(aspect_div - 1.45);
  glClearColor(static_cast<GLfloat>(R), static_cast<GLfloat>(G), static_cast<GLfloat>(B),
               static_cast<GLfloat>(A));
  glViewport(0, 0, Width, Height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  const int32_t bottom = zelvo::CheckedMul<int32_t>(-2, Height, "OpenGL_I2D: -2 * Height");
  const int32_t top = zelvo::CheckedMul<int32_t>(2, Height, "OpenGL_I2D: 2 * Height");
  glOrtho(-2.0, 2.0, static_cast<double>(bottom) / Width, static_cast<double>(top) / Width, -2.0,
          2.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_NORMALIZE);
  // As in OpenGL_Init, no invalid capability is enabled.
}
