// The cursor and icon choice made before the main window is created.
#include "zelvo/window.h"

#include <GL/gl.h>

void OGLWindowSetting(int32_t TypeCursor, const char* CurFile, int32_t TypeIcon,
                      const char* IcoFile) {
  if (MouseFree) {
    Start = GetTickCount();
    SetCursorPos(Width / 2, Height / 2);
  }
  FogOnOff = true;
  SetTypeCursor = TypeCursor;
  CursorFile = CurFile;
  SetTypeIcon = TypeIcon;
  IconFile = IcoFile;
  // Without a current context (the usual case: this runs before CreateOGLWindow) these calls do
  // nothing and ObjNull stays 0.
  ObjNull = glGenLists(1);
  glNewList(ObjNull, GL_COMPILE);
  glEndList();
}
