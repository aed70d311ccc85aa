/// @file
/// Zelv_Games: game and effect objects built on the Zelvo framework.
///
/// TGLTwister models a tornado as a vertical stack of up to 128 horizontal rings. Each ring has a
/// height growing with its index, a radius factor (a funnel), a centre offset that sways with time
/// and a twist that advances with time. Update advances time; the three drawing operations place
/// points on the rings, draw, and then refresh the rings for the next drawing operation.
#pragma once

#include <cstdint>

#include "Zelvo.h"

/// @name Cloud styles
/// Blending styles of TGLTwister::DrawParticle (its TypeClouds); another value keeps the current
/// blend function.
///@{
constexpr int32_t CLOUD_BRIGHT = 0;     ///< glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_COLOR)
constexpr int32_t CLOUD_NORMAL = 1;     ///< glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA)
constexpr int32_t CLOUD_TINY_DARK = 2;  ///< glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA)
constexpr int32_t CLOUD_VERY_DARK = 3;  ///< glBlendFunc(GL_SRC_COLOR, GL_ONE_MINUS_SRC_ALPHA)
/// glBlendFunc(GL_SRC_ALPHA_SATURATE, GL_ONE_MINUS_SRC_ALPHA)
constexpr int32_t CLOUD_TINY_BRIGHT = 4;
constexpr int32_t CLOUD_DARK_SMOOTH = 5;  ///< glBlendFunc(GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA)
constexpr int32_t CLOUD_DARK = 6;         ///< glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_ALPHA)
///@}

/// The names TGLTwister's tables give in a run-time error (see zelvo::CheckedArray).
namespace zelvo::names::TGLTwister {
inline constexpr char Twist[] = "TGLTwister.Twist";    ///< ::TGLTwister::Twist
inline constexpr char Radius[] = "TGLTwister.Radius";  ///< ::TGLTwister::Radius
inline constexpr char Pos[] = "TGLTwister.Pos";        ///< ::TGLTwister::Pos
inline constexpr char Rnd[] = "TGLTwister.Rnd";        ///< ::TGLTwister::Rnd
}  // namespace zelvo::names::TGLTwister

/// The tornado. A plain record: it has no constructor, so a global one starts with every field
/// zero, and that zero state is a valid starting point (the first Update must come before the first
/// drawing operation, which divides by Frames).
///
/// The drawing operations share their first arguments: the tornado stands at (X, Y, Z) in model
/// space, scaled by Size (under 5.5 * Size high); R and Range shape the funnel (ring i's radius
/// factor is (i + R) / (R + Range)); Rings (at most 128) and NumPoints set the ring count and the
/// points per ring. The rings they draw are those the previous drawing operation left.
struct TGLTwister {
  int32_t Time;     ///< frame counter, +1 per Update; wraps from 2147483647 to 0
  float Frames;     ///< time divisor: the argument of the latest Update
  int32_t Rows;     ///< ring count, set from Rings by every drawing operation
  int32_t Columns;  ///< points per ring, set from NumPoints by every drawing operation
  /// Per ring: the twist angle in radians (the same for every ring: Time / (10 * Frames)).
  zelvo::CheckedArray<float, 0, 127, zelvo::names::TGLTwister::Twist> Twist;
  /// Per ring: the radius factor (ring + R) / (R + Range); the drawn radius is 0.7 times it.
  zelvo::CheckedArray<float, 0, 127, zelvo::names::TGLTwister::Radius> Radius;
  /// Per ring: the centre's sway; only X and Z are used.
  zelvo::CheckedArray<TGLVector, 0, 127, zelvo::names::TGLTwister::Pos> Pos;
  /// Reserved, stays zero.
  zelvo::CheckedArray<TGLVector, 0, 127, zelvo::names::TGLTwister::Rnd> Rnd;

  /// One time step: Time + 1, Frames := Frame. The rings are not touched.
  ZELV_GAMES_API void Update(float Frame);

  /// Calls Model once per ring point, rings 0..Rings-2 outer, points 0..NumPoints-1 inner, with the
  /// model-view matrix moved to the point and scaled by the ring's particle scale. Leaves the
  /// model-view matrix and every other GL state as it found them.
  ZELV_GAMES_API void AddParticle(float X, float Y, float Z, float Size, float R, float Range,
                                  int32_t Rings, int32_t NumPoints, ZelvProcedure Model);

  /// The textured funnel surface, (Rings - 1) x NumPoints quads, with whatever texture is bound.
  /// Leaves face culling on and blending and the alpha test off.
  ZELV_GAMES_API void DrawPolygon(float X, float Y, float Z, float Size, float R, float Range,
                                  int32_t Rings, int32_t NumPoints);

  /// Camera-facing cloud sprites, one sheet cell per ring point. Rows and Columns here are the
  /// sprite sheet's grid, not the fields of the same names.
  ZELV_GAMES_API void DrawParticle(float X, float Y, float Z, float Size, float R, float Range,
                                   int32_t Rings, int32_t NumPoints, int32_t TypeClouds,
                                   int32_t Rows, int32_t Columns);

 private:
  struct Point {
    double X, Y, Z;
  };
  // Shared by the three drawing operations.
  float EnterDraw(int32_t Rings, int32_t NumPoints);
  Point RingPoint(int32_t i, int32_t j) const;
  double RingHeight(int32_t k) const;
  double RingRadius(int32_t k) const;
  static double ParticleScale(int32_t i, float Range);
  void RefreshRings(float R, float Range, float Angle);
  void EmitSurfaceCorner(int32_t k, int32_t m) const;
};
