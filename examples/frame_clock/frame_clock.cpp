// Frame clock: a spinning square drawn with vertical sync, the frame time measured with the
// high-resolution counter and shown in the status bar, and the text typed on the keyboard shown in
// the window title. F2 turns vertical sync on and off; Backspace deletes a character, Enter clears
// the text; Escape or closing the window ends the program.
//
// Vertical sync needs a display that offers a swap control; where there is none (Xvfb, for one) the
// status bar names the reason and the program runs unsynchronised.
#include <Zelvo.h>

#include <cstdio>
#include <string>

// Extends <windows.h>, so it comes after it.
#include <commctrl.h>
#ifdef _WIN32
#include <GL/wglext.h>
#endif

#include <zelvo/lparam_pointer.h>

namespace {

template <typename Function>
Function FindGLFunction(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(wglGetProcAddress(name)));
}

PFNWGLSWAPINTERVALEXTPROC SwapInterval = nullptr;
PFNWGLGETSWAPINTERVALEXTPROC GetSwapInterval = nullptr;
std::string SyncState;  // what the status bar says about vertical sync
std::string Typed;      // the keyboard text shown in the title

void SetStatus(int part, const std::string& text) {
  if (hStatus)
    SendMessageA(hStatus, SB_SETTEXTA, static_cast<WPARAM>(part), PtrToLParam(text.c_str()));
}

std::string ErrorText(DWORD code) {
  char text[256] = {};
  if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                     MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text, nullptr) == 0)
    return "error " + std::to_string(code);
  std::string s = text;
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
  return s;
}

void SetVerticalSync(bool on) {
  if (!SwapInterval) {
    SyncState = "vsync not offered";
    return;
  }
  if (SwapInterval(on ? 1 : 0))
    SyncState = std::string("vsync ") + (GetSwapInterval() > 0 ? "on" : "off") + " (F2)";
  else
    SyncState = "vsync unavailable: " + ErrorText(GetLastError());
}

void ShowTyped() { SetWindowTextA(hWindow, ("Frame clock - typed: " + Typed).c_str()); }

// Keyboard text arrives as WM_CHAR, made by the framework's TranslateMessage from the key presses.
void TakeMessage(const MSG& message) {
  if (message.message == WM_KEYDOWN && message.wParam == VK_F2) {
    SetVerticalSync(!(GetSwapInterval && GetSwapInterval() > 0));
  } else if (message.message == WM_CHAR) {
    const auto c = static_cast<unsigned char>(message.wParam);
    if (c == '\b') {
      if (!Typed.empty()) Typed.pop_back();
    } else if (c == '\r') {
      Typed.clear();
    } else if (c >= ' ' && Typed.size() < 60) {
      Typed += static_cast<char>(c);
    }
    ShowTyped();
  }
}

void DrawSquare(double seconds) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0, 0, -6);
  glRotatef(static_cast<float>(seconds * 90.0), 0, 0, 1);  // a quarter turn a second
  glDisable(GL_BLEND);
  glBegin(GL_QUADS);
  glColor3f(0.9f, 0.3f, 0.2f);
  glVertex3f(-1, -1, 0);
  glColor3f(0.9f, 0.8f, 0.2f);
  glVertex3f(1, -1, 0);
  glColor3f(0.2f, 0.7f, 0.9f);
  glVertex3f(1, 1, 0);
  glColor3f(0.5f, 0.3f, 0.9f);
  glVertex3f(-1, 1, 0);
  glEnd();
}

}  // namespace

int main() {
  ShowStatusBar = true;
  MaxStatusItem = 2;
  StatusItem[1] = 250;  // the frame time and the resolution; the rest for vertical sync
  StatusItem[2] = -1;
  OGLWindowSetting(ARROW, "", GENERIC, "");
  CreateOGLWindow("Frame clock - typed: ", 640, 420, 32, false);
  OpenGL_Init(100.0, 0.0, 0.08, 0.09, 0.12);

  SwapInterval = FindGLFunction<PFNWGLSWAPINTERVALEXTPROC>("wglSwapIntervalEXT");
  GetSwapInterval = FindGLFunction<PFNWGLGETSWAPINTERVALEXTPROC>("wglGetSwapIntervalEXT");
  SetVerticalSync(true);
  HDC screen = GetDC(0);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(0, screen);

  LARGE_INTEGER frequency{}, start{}, last{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  last = start;
  double shown_at = -1, sum = 0;
  int frames = 0;
  do {
    Msg_ = MSG{};  // so that a frame without a message does not see the last one again
    SetGLMsg();
    TakeMessage(Msg_);
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    const double seconds = double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    sum += double(now.QuadPart - last.QuadPart) / double(frequency.QuadPart);
    ++frames;
    last = now;
    // The mean of the frames since the last readout, four times a second.
    if (seconds - shown_at >= 0.25) {
      char text[96];
      std::snprintf(text, sizeof text, "frame %.2f ms, %.0f fps, %d dpi", 1000.0 * sum / frames,
                    frames / sum, dpi);
      SetStatus(0, text);
      SetStatus(1, SyncState);
      shown_at = seconds;
      sum = 0;
      frames = 0;
    }
    DrawSquare(seconds);
    SwapBuffers(DCWindow);
  } while (Active);
  DeleteOGLWindow();
}
