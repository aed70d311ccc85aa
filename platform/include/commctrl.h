// The common controls under their Windows header name, so that code including <commctrl.h> builds
// unchanged against this layer.
#pragma once

#include "win/commctrl.h"
