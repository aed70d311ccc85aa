// The public entry that opens the main window with a current GL context, and its release.
#include "zelvo/window.h"

bool CreateOGLWindow(const char* AppName, int32_t AppWidth, int32_t AppHeight, int32_t AppBits,
                     bool AppFullScreen) {
  Width = AppWidth;
  Height = AppHeight;
  Bits = AppBits;
  FullScreen = AppFullScreen;
  if (!WindowRegister()) ThrowError("Errore di registro per la rispettiva applicazione!");
  hWindow = WindowCreate(AppName);
  if (ShowMenuBar && CreateMenuBar) CreateMenuBar();
  if (ShowStatusBar) hStatus = CreateStatusBar(hWindow);
  if (hWindow == 0) ThrowError("Impossibile creare la finestra per la rispettiva applicazione!");
  // The text is Windows-1252: 0xE8 is the e with grave accent.
  if (!WindowInit(hWindow)) ThrowError("la rispettiva applicazione non \xE8 stata inizilizata!");
  return true;
}

void DeleteOGLWindow() {
  // The handles keep their stale values; a window the system already destroyed makes these calls
  // fail silently.
  wglMakeCurrent(DCWindow, 0);
  wglDeleteContext(RCWindow);
  ReleaseDC(hWindow, DCWindow);
  DestroyWindow(hWindow);
}
