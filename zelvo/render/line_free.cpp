// One edge of a primitive the caller has opened: two vertices, optionally textured.
#include "zelvo/render.h"

void LineFree(bool Texture, float TX1, float TY1, float TX2, float TY2, float X1, float Y1,
              float Z1, float X2, float Y2, float Z2) {
  if (Texture) glTexCoord2f(TX1, TY1);
  glVertex3f(X1, Y1, Z1);
  if (Texture) glTexCoord2f(TX2, TY2);
  glVertex3f(X2, Y2, Z2);
}
