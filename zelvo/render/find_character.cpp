// One quad showing a single cell of a sprite sheet.
#include "zelvo/render.h"

void FindCharacter(float X, float Y, float PX, float PY, float SX, float SY, int32_t Rows,
                   int32_t Columns) {
  TGLFX_3DAnimation Cell{};
  Cell.Rows = Rows;
  Cell.Columns = Columns;
  Cell.V.X = static_cast<float>(static_cast<double>(PX) / Rows);
  Cell.V.Y = static_cast<float>(static_cast<double>(PY) / Columns);

  const double CellWidth = 1.0 / Cell.Rows;
  const double CellHeight = 1.0 / Cell.Columns;
  const auto Left = static_cast<float>(Cell.V.X);
  const auto Right = static_cast<float>(Cell.V.X + CellWidth);
  const auto Bottom = static_cast<float>(1.0 - Cell.V.Y - CellHeight);
  const auto Top = static_cast<float>(1.0 - Cell.V.Y);

  glPushMatrix();
  glTranslatef(X, Y, 0.0f);
  glBegin(GL_QUADS);  // counter-clockwise seen from +z, so the front faces the viewer
  glTexCoord2f(Left, Bottom);
  glVertex3f(-SX, -SY, 0.0f);
  glTexCoord2f(Right, Bottom);
  glVertex3f(SX, -SY, 0.0f);
  glTexCoord2f(Right, Top);
  glVertex3f(SX, SY, 0.0f);
  glTexCoord2f(Left, Top);
  glVertex3f(-SX, SY, 0.0f);
  glEnd();
  glPopMatrix();
}
