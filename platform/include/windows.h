/// @file
/// The subset of the Windows services that the Zelvo framework and the Tornado demo call, with the
/// same names, types and semantics, implemented on X11, GLX, XShape, Xft and pixman (platform/src).
/// Code above the platform layer includes only this header, never an X11 one.
///
/// Each call behaves like the Windows one for the arguments the framework passes, failure results
/// included: a call on a destroyed window or a stale handle fails and returns 0 or FALSE. Where a
/// call supports only part of what Windows offers, its comment says so.
#pragma once

#include "win/base.h"
#include "win/kernel.h"
#include "win/user_window.h"
#include "win/user_resource.h"
#include "win/user_dialog.h"
#include "win/gdi.h"
#include "win/wgl.h"
#include "win/commctrl.h"
