// Options of our own on a benchmark program's command line, in the form --name=value, read before
// Google Benchmark sees the rest.
#pragma once

#include <cstring>
#include <string>

// True when `arg` is `name=value`; `value` then holds what follows the '='.
inline bool Flag(const char* arg, const char* name, std::string& value) {
  const size_t n = std::strlen(name);
  if (std::strncmp(arg, name, n) != 0 || arg[n] != '=') return false;
  value = arg + n + 1;
  return true;
}
