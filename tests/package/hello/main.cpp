// The smallest program built against the installed library: a window with a GL context from the
// platform layer, a few frames of the tornado drawn with a small sphere at every ring point, and a
// clean shutdown. Prints "hello: ok" and exits 0 when the window, the context and the drawing all
// worked.
#include <Zelv_Games.h>

#include <cstdio>
#include <vector>

namespace {

TGLTwister Twister;  // a global, so it starts zeroed as the effect expects
long ModelCalls = 0;

void SphereModel() {
  ++ModelCalls;
  Sfera(0, 0, 0, 0.25f, 8, 8, 1.0f);
}

// No box may wait for a user here: log it and take the default answer.
int AnswerBox(HWND, LPCSTR text, LPCSTR caption, UINT type, void*) {
  std::fprintf(stderr, "hello: message box \"%s\": %s\n", caption, text);
  return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
}

// Pixels of the back buffer that differ from the black clear colour.
long LitPixels(int width, int height) {
  std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  long lit = 0;
  for (size_t i = 0; i < rgb.size(); i += 3) lit += (rgb[i] | rgb[i + 1] | rgb[i + 2]) != 0;
  return lit;
}

int Fail(const char* what) {
  std::fprintf(stderr, "hello: failed: %s\n", what);
  return 1;
}

}  // namespace

int main() {
  SetMessageBoxHook(AnswerBox, nullptr);

  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_OWNDC;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "hello";
  if (!RegisterClassExA(&wc)) return Fail("RegisterClassExA");
  HWND window = CreateWindowExA(0, "hello", "hello", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320,
                                240, 0, 0, wc.hInstance, nullptr);
  if (!window) return Fail("CreateWindowExA");
  HDC dc = GetDC(window);
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof pfd;
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = 24;
  pfd.cDepthBits = 16;
  const int format = ChoosePixelFormat(dc, &pfd);
  if (!format || !SetPixelFormat(dc, format, &pfd)) return Fail("pixel format");
  HGLRC context = wglCreateContext(dc);
  if (!context || !wglMakeCurrent(dc, context)) return Fail("GL context");

  const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  if (version == nullptr || *version == '\0') return Fail("no GL version string");
  std::printf("hello: GL_VERSION %s\n", version);

  RECT client{};
  if (!GetClientRect(window, &client)) return Fail("GetClientRect");
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  gluPerspective(45.0, static_cast<double>(width) / height, 0.1, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_DEPTH_TEST);
  glClearColor(0, 0, 0, 0);

  constexpr int kFrames = 3;
  constexpr int32_t kRings = 16;
  constexpr int32_t kPoints = 8;
  long lit = 0;
  for (int frame = 0; frame < kFrames; ++frame) {
    MSG msg;
    while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, -2.5f, -12.0f);
    Twister.Update(5.0f);
    Twister.AddParticle(0, 0, 0, 1, 2, 8, kRings, kPoints, SphereModel);
    lit = LitPixels(width, height);
    SwapBuffers(dc);
  }
  if (glGetError() != GL_NO_ERROR) return Fail("GL error while drawing");
  if (ModelCalls != static_cast<long>(kFrames) * (kRings - 1) * kPoints)
    return Fail("the model was not called once per ring point");
  if (lit == 0) return Fail("nothing was drawn");
  std::printf("hello: %ld pixels drawn in the last frame\n", lit);

  wglMakeCurrent(0, 0);
  wglDeleteContext(context);
  ReleaseDC(window, dc);
  DestroyWindow(window);
  std::printf("hello: ok\n");
  return 0;
}
