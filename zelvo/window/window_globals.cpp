// The window layer's globals. Plain globals start zeroed; ShowMenuBar, ShowStatusBar and
// GetInputCommand are settings an application may change before CreateOGLWindow.
#include "zelvo/window.h"

HWND hWindow = 0;
HDC DCWindow = 0;
HGLRC RCWindow = 0;

int32_t SetTypeCursor = 0;
int32_t SetTypeIcon = 0;
const char* CursorFile = nullptr;
const char* IconFile = nullptr;

int32_t Width = 0;
int32_t Height = 0;
int32_t Bits = 0;
bool FullScreen = false;

int32_t Pixel_Format_Flags = 0;

ZelvMenuProc CreateMenuBar = nullptr;
ZelvMenuProc CreateMouseMenu = nullptr;
WNDPROC GetInputCommand = nullptr;
bool ShowMenuBar = false;
bool ShowStatusBar = false;

HWND hStatus = 0;
HWND aWnd = 0;
zelvo::CheckedArray<char, 0, 260, zelvo::names::FileName> FileName{};
zelvo::CheckedArray<int32_t, 1, 20, zelvo::names::StatusItem> StatusItem{};
zelvo::CheckedArray<int32_t, 1, 20, zelvo::names::Edges> Edges{};
int32_t MaxStatusItem = 0;

WNDCLASSEXA WindowClassEx{};
bool FogOnOff = false;
uint32_t ObjNull = 0;
DWORD Start = 0;
