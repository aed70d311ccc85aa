// Message boxes.
#pragma once

#include "base.h"
