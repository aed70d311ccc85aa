/// @file
/// Message boxes.
#pragma once

#include "base.h"

/// @name Message box styles (MessageBoxA's type)
/// The Windows values. The button set is the low four bits, the icon the next four, the default
/// button the next. The modality flags are accepted; every box is modal for the calling thread.
///@{

/// A MessageBoxA style bit or field; see the group.
#define MB_OK 0x00000000u
#define MB_OKCANCEL 0x00000001u
#define MB_ABORTRETRYIGNORE 0x00000002u
#define MB_YESNOCANCEL 0x00000003u
#define MB_YESNO 0x00000004u
#define MB_RETRYCANCEL 0x00000005u
#define MB_CANCELTRYCONTINUE 0x00000006u
#define MB_ICONHAND 0x00000010u
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONEXCLAMATION 0x00000030u
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040u
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_DEFBUTTON1 0x00000000u
#define MB_DEFBUTTON2 0x00000100u
#define MB_DEFBUTTON3 0x00000200u
#define MB_APPLMODAL 0x00000000u
#define MB_SYSTEMMODAL 0x00001000u
#define MB_TASKMODAL 0x00002000u
#define MB_SETFOREGROUND 0x00010000u
#define MB_TOPMOST 0x00040000u
#define MB_TYPEMASK 0x0000000Fu
#define MB_ICONMASK 0x000000F0u
#define MB_DEFMASK 0x00000F00u
///@}

/// @name Message box results
/// The button MessageBoxA returns, the Windows values.
///@{

/// The identifier of a message box button.
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#define IDTRYAGAIN 10
#define IDCONTINUE 11
///@}

/// Shows a modal box titled `caption` (null: "Error", as on Windows) with `text` (8-bit text in the
/// Windows-1252 code page), the icon of the style and its buttons, and returns the button chosen
/// (IDOK, IDYES, ...). Enter presses the default button, Escape the cancel-like one. Differs from
/// Windows in one way: when no display can be opened it returns 0 and writes "caption: text" to
/// standard error on one line, so the message is never lost.
ZELVO_PLATFORM_API int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

/// A message box hook (see SetMessageBoxHook): gets the box's arguments and the context given to
/// SetMessageBoxHook; returns the button to answer with, or 0 to let the real box appear.
typedef int (*MESSAGEBOXHOOK)(HWND owner, LPCSTR text, LPCSTR caption, UINT type, void* context);
/// Not a Windows call: an automation hook for tests and scripted runs. While a hook is set, every
/// MessageBoxA call first asks it; a non-zero result is taken as the button pressed and no box is
/// shown. SetMessageBoxHook(nullptr, nullptr) removes it. Programs that never call it always get
/// the real box. One hook for the whole process.
ZELVO_PLATFORM_API void SetMessageBoxHook(MESSAGEBOXHOOK hook, void* context);
