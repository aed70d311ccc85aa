/// @file
/// Checked tables and checked arithmetic.
///
/// The library's fixed tables (texture slots, the key array, the twister's rings, ...) are indexed
/// through CheckedArray, and its integer arithmetic that could overflow goes through CheckedMul and
/// CheckedAdd. A violation is a programming error of the caller: it prints which table or operation
/// and which values, and ends the program with a non-zero status.
#pragma once

#include <cstddef>
#include <cstdint>

#include <zelvo_export.h>

/// The library's own names that are not the Windows-era globals of its public interface.
namespace zelvo {

/// Prints "Zelvo: run-time error: index `index` is outside `table`[`low`..`high`]" to standard
/// error and ends the program with status 2. Called by CheckedArray on a bad index.
[[noreturn]] ZELVO_API void RangeError(const char* table, long long index, long long low,
                                       long long high);
/// Prints "Zelvo: run-time error: arithmetic overflow in `operation`" to standard error and ends
/// the program with status 2. Called by CheckedMul and CheckedAdd.
[[noreturn]] ZELVO_API void OverflowError(const char* operation);

/// An array of `T` indexed Low..High (both included) whose every index is tested: an index
/// outside ends the program through RangeError, naming the table by `Name`. Zero-initialised as a
/// global; an aggregate, so a local one is as initialised as its `T`.
///
/// `Name` is a named character array with static storage (the public tables' names are in
/// zelvo::names), not a string literal: programs may include this header as C++17, which takes no
/// literal as a template argument.
template <class T, long long Low, long long High, const char* Name>
struct CheckedArray {
  static_assert(High >= Low);
  static constexpr long long kLow = Low;    ///< The lowest index.
  static constexpr long long kHigh = High;  ///< The highest index.
  /// The number of elements.
  static constexpr std::size_t kSize = static_cast<std::size_t>(High - Low + 1);

  /// The elements; items[0] is index Low.
  T items[kSize];

  /// The element at `index`; ends the program when `index` is outside Low..High.
  T& operator[](long long index) {
    if (index < Low || index > High) RangeError(Name, index, Low, High);
    return items[index - Low];
  }
  /// The element at `index`; ends the program when `index` is outside Low..High.
  const T& operator[](long long index) const {
    if (index < Low || index > High) RangeError(Name, index, Low, High);
    return items[index - Low];
  }
  /// The first element, for APIs that take a pointer (glGetFloatv, ...).
  T* data() { return items; }
  /// The first element, for APIs that take a pointer.
  const T* data() const { return items; }
  /// The number of elements.
  static constexpr std::size_t size() { return kSize; }
};

/// `a` * `b`; on overflow of `T` ends the program through OverflowError, naming `operation`.
template <class T>
T CheckedMul(T a, T b, const char* operation) {
  T out;
  if (__builtin_mul_overflow(a, b, &out)) OverflowError(operation);
  return out;
}

/// `a` + `b`; on overflow of `T` ends the program through OverflowError, naming `operation`.
template <class T>
T CheckedAdd(T a, T b, const char* operation) {
  T out;
  if (__builtin_add_overflow(a, b, &out)) OverflowError(operation);
  return out;
}

}  // namespace zelvo
