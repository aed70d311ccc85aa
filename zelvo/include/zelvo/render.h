#pragma once

#include "checked.h"
