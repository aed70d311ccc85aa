// The OpenGL binding: pixel formats, rendering contexts and buffer swaps.
#pragma once

#include "base.h"
