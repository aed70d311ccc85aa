/// @file
/// The message-cracking macros under their Windows header name (GET_X_LPARAM, GET_Y_LPARAM); this
/// layer's `<windows.h>` already defines them.
#pragma once

#include <windows.h>
