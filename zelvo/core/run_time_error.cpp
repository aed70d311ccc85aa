// The library's run-time errors: a broken table index or an arithmetic overflow ends the program.
#include "zelvo/checked.h"

#include <cstdio>
#include <cstdlib>

namespace zelvo {

void RangeError(const char* table, long long index, long long low, long long high) {
  std::fprintf(stderr, "Zelvo: run-time error: index %lld is outside %s[%lld..%lld]\n", index,
               table, low, high);
  std::fflush(stderr);
  std::exit(2);
}

void OverflowError(const char* operation) {
  std::fprintf(stderr, "Zelvo: run-time error: arithmetic overflow in %s\n", operation);
  std::fflush(stderr);
  std::exit(2);
}

}  // namespace zelvo
