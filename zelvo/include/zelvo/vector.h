/// @file
/// The framework's one geometric record: a point or direction in three single-precision
/// coordinates, shared by the window, render and effect headers.
#pragma once

/// A point or direction of three single-precision coordinates.
struct TGLVector {
  /// @{

  /// A coordinate (X, Y, Z).
  float X, Y, Z;
  /// @}
};
/// The same record, named for its use as a vertex.
typedef TGLVector TGLVertex;
