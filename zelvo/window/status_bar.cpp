// The optional status bar of the main window.
#include <cstring>

#include "zelvo/lparam_pointer.h"
#include "zelvo/window.h"

// Extends <windows.h>, so it comes after it.
#include <commctrl.h>

HWND CreateStatusBar(HWND Parent) {
  static constexpr char kInitialText[] = "Percorso file";
  std::memset(FileName.data(), 0, FileName.size());
  std::memcpy(FileName.data(), kInitialText, sizeof kInitialText);
  aWnd = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, FileName.data(), Parent, 30482);
  if (aWnd != 0) {
    for (int32_t i = 1; i <= MaxStatusItem; ++i) Edges[i] = StatusItem[i];
    SendMessageA(aWnd, SB_SETPARTS, static_cast<WPARAM>(MaxStatusItem), PtrToLParam(Edges.data()));
  }
  return aWnd;
}
