// Checked tables and checked arithmetic.
//
// The library's fixed tables (texture slots, the key array, the twister's rings, ...) are indexed
// through CheckedArray, and its integer arithmetic that could overflow goes through CheckedMul and
// CheckedAdd. A violation is a programming error of the caller: it prints which table or operation
// and which values, and ends the program with a non-zero status.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include <zelvo_export.h>

namespace zelvo {

// Prints "Zelvo: run-time error: ..." to standard error and ends the program with status 2.
[[noreturn]] ZELVO_API void RangeError(const char* table, long long index, long long low,
                                       long long high);
[[noreturn]] ZELVO_API void OverflowError(const char* operation);

template <std::size_t N>
struct TableName {
  char text[N];
  constexpr TableName(const char (&s)[N]) { std::copy_n(s, N, text); }
};

// An array indexed Low..High whose every index is tested. Zero-initialised as a global.
template <class T, long long Low, long long High, TableName Name>
struct CheckedArray {
  static_assert(High >= Low);
  static constexpr long long kLow = Low;
  static constexpr long long kHigh = High;
  static constexpr std::size_t kSize = static_cast<std::size_t>(High - Low + 1);

  T items[kSize];

  T& operator[](long long index) {
    if (index < Low || index > High) RangeError(Name.text, index, Low, High);
    return items[index - Low];
  }
  const T& operator[](long long index) const {
    if (index < Low || index > High) RangeError(Name.text, index, Low, High);
    return items[index - Low];
  }
  T* data() { return items; }
  const T* data() const { return items; }
  static constexpr std::size_t size() { return kSize; }
};

template <class T>
T CheckedMul(T a, T b, const char* operation) {
  T out;
  if (__builtin_mul_overflow(a, b, &out)) OverflowError(operation);
  return out;
}

template <class T>
T CheckedAdd(T a, T b, const char* operation) {
  T out;
  if (__builtin_add_overflow(a, b, &out)) OverflowError(operation);
  return out;
}

}  // namespace zelvo
