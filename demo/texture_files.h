// Where the demo finds its texture files.
#pragma once

#include <string>

// The name to load the texture file `name` by: `name` itself when the current folder has it,
// otherwise the file of that name beside the program's executable when that one exists. When
// neither exists, one line on standard error says which file is missing from which two folders,
// and `name` is returned, so that the loader fails as it would have.
std::string TextureFile(const char* name);
