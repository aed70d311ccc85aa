// The smallest program built against the installed library: the main window, a few frames of the
// tornado drawn with a small sphere at every ring point, and a clean shutdown. Prints "hello: ok"
// and exits 0 when the window, the GL context and the drawing all worked.
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

// No box may wait for a user here: log it and answer as a user who wants a window would.
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
  OGLWindowSetting(ARROW, "", GENERIC, "");
  CreateOGLWindow("hello", 320, 240, 32, false);  // ends the program on failure

  const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  if (version == nullptr || *version == '\0') return Fail("no GL version string");
  std::printf("hello: GL_VERSION %s\n", version);

  RECT client{};
  if (!GetClientRect(hWindow, &client)) return Fail("GetClientRect");
  OpenGL_Init(100.0, 0.0, 0.0, 0.0, 0.0);

  constexpr int kFrames = 3;
  constexpr int32_t kRings = 16;
  constexpr int32_t kPoints = 8;
  long lit = 0;
  for (int frame = 0; frame < kFrames; ++frame) {
    SetGLMsg();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, -2.5f, -12.0f);
    Twister.Update(5.0f);
    Twister.AddParticle(0, 0, 0, 1, 2, 8, kRings, kPoints, SphereModel);
    lit = LitPixels(client.right - client.left, client.bottom - client.top);
    SwapBuffers(DCWindow);
  }
  if (glGetError() != GL_NO_ERROR) return Fail("GL error while drawing");
  if (ModelCalls != static_cast<long>(kFrames) * (kRings - 1) * kPoints)
    return Fail("the model was not called once per ring point");
  if (lit == 0) return Fail("nothing was drawn");
  std::printf("hello: %ld pixels drawn in the last frame\n", lit);

  DeleteOGLWindow();
  std::printf("hello: ok\n");
  return 0;
}
