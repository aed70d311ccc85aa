// System cursors and icons, and cursor and icon files.
#pragma once

#include "base.h"
