// Common controls: the status bar.
#pragma once

#include "base.h"
