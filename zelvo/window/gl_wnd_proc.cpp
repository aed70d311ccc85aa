// The window procedure of "GLWindow": keys, buttons, drags and the view angles, and the Active flag
// that keeps the application's frame loop running.
#include "zelvo/window.h"

namespace {

// Mouse coordinates are the two 16-bit halves of LParam taken unsigned, so a captured drag past the
// left or top edge gives values near 65535, as the view arithmetic expects.
int32_t mouse_x(LPARAM l) { return static_cast<int32_t>(LOWORD(l)); }
int32_t mouse_y(LPARAM l) { return static_cast<int32_t>(HIWORD(l)); }

// The delta arithmetic is done in double and stored as single.
void turn(float& angle, double amount) { angle = static_cast<float>(angle + amount); }

void mouse_move(LPARAM l) {
  const int32_t x = mouse_x(l);
  const int32_t y = mouse_y(l);
  SetOMX = x;
  SetOMY = y;

  if (LeftMouseDown) {
    const double dx = (static_cast<double>(y - YCoord) / 2) * MSpeed;
    const double dy = (static_cast<double>(x - XCoord) / 2) * MSpeed;
    turn(XRot, dx);
    turn(YRot, dy);
    turn(XRot2, dx);
    turn(YRot2, dy);
    XCoord = x;
    YCoord = y;
  }

  if (RightMouseDown && !MouseFree) {
    const double dz = (static_cast<double>(y - ZCoord) / 10) * MSpeed;
    turn(Depth, -dz);
    turn(Depth2, -dz);
    ZCoord = y;
  }

  if (MouseFree && GetForegroundWindow() == hWindow) {
    // The window lies at the screen origin, so its centre in client terms is also a screen point.
    const int32_t cx = Width / 2;
    const int32_t cy = Height / 2;
    GetCursorPos(&MPos);
    SetCursorPos(cx, cy);
    const double dx = (static_cast<double>(MPos.x - cx) / 100) * MSpeed;
    const double dy = (static_cast<double>(cy - MPos.y) / 100) * MSpeed;
    auto clamp60 = [](float& a) {
      if (a > 60) a = 60;
      if (a < -60) a = -60;
    };
    turn(XRot, dx);
    turn(YRot, -dy);
    clamp60(YRot);
    turn(XRot2, dx);
    turn(YRot2, -dy);
    clamp60(YRot2);
  }
}

}  // namespace

LRESULT CALLBACK GLWndProc(HWND Window, UINT AMessage, WPARAM WParam, LPARAM LParam) {
  switch (AMessage) {
    case WM_CREATE:
      Active = true;
      return 0;

    case WM_DESTROY:
      Active = false;
      PostQuitMessage(0);
      return 0;

    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(Window, &ps);
      UpdateWindow(hStatus);
      EndPaint(Window, &ps);
      return 0;
    }

    case WM_CONTEXTMENU:
      if (ShowMenuBar && CreateMouseMenu) CreateMouseMenu();
      break;

    case WM_KEYDOWN:
      if (WParam == VK_ESCAPE) {
        // Handled at once by this procedure: Active is false when SendMessageA returns. The
        // window itself stays until the application releases it.
        SendMessageA(hWindow, WM_DESTROY, 0, 0);
        return 0;
      }
      SetKey[WParam] = -1;
      break;

    case WM_KEYUP:
      SetKey[WParam] = 0;
      MouseFree = false;
      break;

    case WM_COMMAND:
      // Swallowed unless the application asked for commands.
      if (ShowMenuBar && GetInputCommand) GetInputCommand(Window, AMessage, WParam, LParam);
      return 0;

    case WM_SYSCOMMAND:
      // The screen saver and monitor power-down are left to default processing like every other
      // system command: a demo that is left alone may let the screen rest.
      break;

    case WM_MOUSEMOVE:
      mouse_move(LParam);
      break;

    case WM_LBUTTONDOWN:
      ReleaseCapture();
      SetCapture(hWindow);
      LeftMouseDown = true;
      LeftMouseDown2 = true;
      XCoord = SetMX = mouse_x(LParam);
      YCoord = SetMY = mouse_y(LParam);
      break;

    case WM_LBUTTONUP:
      ReleaseCapture();
      LeftMouseDown = false;
      LeftMouseDown2 = false;
      XCoord = YCoord = SetMX = SetMY = 0;
      break;

    case WM_RBUTTONDOWN:
      ReleaseCapture();
      SetCapture(hWindow);
      RightMouseDown = true;
      RightMouseDown2 = true;
      ZCoord = mouse_y(LParam);
      break;

    case WM_RBUTTONUP:
      ReleaseCapture();
      RightMouseDown = false;
      RightMouseDown2 = false;
      break;

    default:
      break;
  }

  // Default processing. Keeps a status bar drawn while the parent handles button-less messages;
  // without one, UpdateWindow(0) fails harmlessly.
  if (WParam == 0) UpdateWindow(hStatus);
  return DefWindowProcA(Window, AMessage, WParam, LParam);
}
