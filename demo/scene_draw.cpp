// The demo's per-frame scene: a textured floor and one tornado drawn three ways on it.
#include <Zelv_Games.h>
#include <Zelvo.h>

#include "scene.h"

// The program's one global; zero until the first frame's Update.
TGLTwister Twister;

// A lit, two-sided, textured quadrilateral P1..P4 (drawn P2, P1, P3, P4), the texture repeated
// three times each way.
void Quad(float X1, float Y1, float Z1, float X2, float Y2, float Z2, float X3, float Y3, float Z3,
          float X4, float Y4, float Z4) {
  TwoSideOn();
  glDisable(GL_CULL_FACE);
  glBegin(GL_QUADS);
  FindNormal(X2, Y2, Z2, X1, Y1, Z1, X3, Y3, Z3);
  glNormal3f(static_cast<float>(FNormal[1]), static_cast<float>(FNormal[2]),
             static_cast<float>(FNormal[3]));
  LineFree(true, 3, 3, 0, 3, X2, Y2, Z2, X1, Y1, Z1);
  LineFree(true, 0, 0, 3, 0, X3, Y3, Z3, X4, Y4, Z4);
  glEnd();
  glEnable(GL_CULL_FACE);
  TwoSideOff();
}

// One particle of the sphere swarm: AddParticle places and scales it.
void ParticleMdl() { Sfera(0, 0, 0, 0.25f, 8, 8, 1.0f); }

void OpenGL_Draw() {
  // Slots for an application's 2D overlay, mouse and keyboard handling. Nothing is drawn between
  // the two projection set-ups, so every frame keeps the 3D projection, set afresh.
  auto OpenGL_Draw2D = [] {
    OpenGL_I2D(0.0, 0.0, 0.0, 0.0);
    OpenGL_Init(100.0, 0.0, 0.0, 0.0, 0.0);
  };
  auto OpenGL_Mouse2D = [] {};
  auto OpenGL_Keyboard = [] {};

  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  OpenGL_Draw2D();
  OpenGL_Mouse2D();
  OpenGL_Keyboard();

  glTranslatef(0, 0, -20);
  glRotatef(25, 1, 0, 0);
  SetGLMouseMove(GL_M0, 2);
  // After the view transform, so the light stays put in the scene.
  PutGLPointLight(GL_LIGHT0, 0, 0, 10, -5, 0.1f);

  TextureSelectID(0);
  Quad(-10, 0, -10, 10, 0, -10, -10, 0, 10, 10, 0, 10);

  Twister.Update(5.0f);
  TextureTGASelectID(0);
  Twister.DrawPolygon(-5, 0, 0, 1, 5, 32, 64, 32);
  TextureTGASelectID(1);
  Twister.DrawParticle(0, 0, 0, 1, 5, 32, 64, 10, CLOUD_NORMAL, 8, 4);
  // Slot 2 is never loaded: the spheres are drawn untextured.
  TextureTGASelectID(2);
  Twister.AddParticle(5, 0, 0, 1, 5, 32, 64, 14, ParticleMdl);
}
