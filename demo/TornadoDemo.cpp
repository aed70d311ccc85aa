// TornadoDemo: asks whether to run full screen, opens the library's OpenGL
// window, sets up the projection, one render-state preset and one light, loads
// the scene's textures and draws frames until the window is no longer active.
#include "Zelvo.h"
#include "scene.h"

int main() {
  // Every answer but No, including a box that cannot be shown (0), runs full
  // screen.
  FullScreen =
      MessageBoxA(0, "Settare lo schermo intero?  ", "Video!", MB_YESNO | MB_ICONQUESTION) != IDNO;

  OGLWindowSetting(ARROW, "", GENERIC, "");
  // Every failure inside ends the program with a message box, so the result
  // needs no test.
  CreateOGLWindow("Tornado", 800, 600, 32, FullScreen);

  OpenGL_Init(100.0, 0.0, 0.0, 0.0, 0.0);
  SetGLRefractive();
  SetGLLight(GL_LIGHT0, 0.0f, 0.0f, 0.0f, 0.1f);

  OpenGL_CreateList();

  // The frame in which the window is destroyed is still drawn and swapped; the
  // loop ends after it.
  do {
    glClear(GL_COLOR_BUFFER_BIT);
    SetGLMsg();
    OpenGL_Draw();
    SwapBuffers(DCWindow);
  } while (Active);

  DeleteOGLWindow();
  return 0;
}
