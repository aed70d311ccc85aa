// Light set-up and placement. The colours are globals an application may change before SetGLLight.
#include "zelvo/render.h"

zelvo::CheckedArray<GLfloat, 0, 3, zelvo::names::AmbientLight> AmbientLight{
    {0.5f, 0.5f, 0.5f, 1.0f}};
zelvo::CheckedArray<GLfloat, 0, 3, zelvo::names::DiffuseLight> DiffuseLight{
    {1.0f, 1.0f, 1.0f, 1.0f}};
zelvo::CheckedArray<GLfloat, 0, 3, zelvo::names::SpecularLight> SpecularLight{
    {1.0f, 1.0f, 1.0f, 1.0f}};
zelvo::CheckedArray<GLfloat, 0, 3, zelvo::names::LightPosition> LightPosition{
    {0.0f, 0.0f, 0.0f, 0.0f}};

static void StoreLightPosition(float X, float Y, float Z, float W) {
  LightPosition[0] = X;
  LightPosition[1] = Y;
  LightPosition[2] = Z;
  LightPosition[3] = W;
}

void SetGLLight(GLenum NLight, float L0, float L1, float L2, float L3) {
  glEnable(GL_LIGHTING);
  glLightfv(NLight, GL_AMBIENT, AmbientLight.data());
  glLightfv(NLight, GL_DIFFUSE, DiffuseLight.data());
  glLightfv(NLight, GL_SPECULAR, SpecularLight.data());
  glEnable(NLight);
  StoreLightPosition(L0, L1, L2, L3);
  glLightfv(NLight, GL_POSITION, LightPosition.data());
}

void PutGLPointLight(GLenum NLight, float Size, float LX, float LY, float LZ, float LVal) {
  StoreLightPosition(LX, LY, LZ, LVal);
  glLightfv(NLight, GL_POSITION, LightPosition.data());
  if (Size != 0.0f) {
    // The marker sits at (LX, LY, LZ) as given, not divided by LVal.
    glPointSize(Size);
    glBegin(GL_POINTS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glVertex3f(LX, LY, LZ);
    glEnd();
  }
}
