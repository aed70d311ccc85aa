// Helpers of the window-layer tests: a real "GLWindow"-procedure window without a GL context, and a
// reset of the input state between cases.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "Zelvo.h"

namespace zelvo_test {

// Registers a class of its own with GLWndProc and makes it the library's main window, so that the
// window procedure works on a real window (capture, default processing, the quit message).
inline HWND make_input_window(const char* class_name) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = GLWndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = class_name;
  if (!RegisterClassA(&wc)) return 0;
  hWindow = CreateWindowExA(0, class_name, "input", WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 0, 400,
                            300, 0, 0, GetModuleHandleA(nullptr), nullptr);
  return hWindow;
}

// Handles every message waiting for the thread, including the paints and focus changes the X
// server reports a moment after a window appears (a bounded number, so a platform that kept
// synthesising one could not hang the test).
inline void drain_messages() {
  MSG m;
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 1000 && PeekMessageA(&m, 0, 0, 0, PM_REMOVE); ++i) DispatchMessageA(&m);
    if (round == 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

inline void reset_input_state() {
  for (long long k = 0; k <= 500; ++k) SetKey[k] = 0;
  LeftMouseDown = RightMouseDown = LeftMouseDown2 = RightMouseDown2 = false;
  MouseFree = false;
  XCoord = YCoord = ZCoord = SetMX = SetMY = SetOMX = SetOMY = 0;
  XRot = YRot = XRot2 = YRot2 = Depth = Depth2 = 0;
  MPos = POINT{};
  MSpeed = 0;
  ShowMenuBar = false;
  GetInputCommand = nullptr;
  CreateMouseMenu = nullptr;
}

}  // namespace zelvo_test
