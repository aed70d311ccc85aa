// The subset of the Windows services that the Zelvo framework and the Tornado demo call, with the
// same names, types and semantics, implemented on X11, GLX, XShape, Xft and pixman (platform/src).
// Code above the platform layer includes only this header, never an X11 one.
#pragma once

#include "win/base.h"
#include "win/kernel.h"
#include "win/user_window.h"
#include "win/user_resource.h"
#include "win/user_dialog.h"
#include "win/gdi.h"
#include "win/wgl.h"
#include "win/commctrl.h"
