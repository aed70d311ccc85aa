// Windows, window classes, the message queue, input, capture and window properties.
#pragma once

#include "base.h"
