// The process-wide file-open mode. The texture readers open their files read-only whatever it says,
// so that a read-only TGA file loads before as well as after the first BMP depth query.
#include "zelvo/textures.h"

int32_t FileMode = 2;
