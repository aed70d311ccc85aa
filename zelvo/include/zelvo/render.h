/// @file
/// Rendering toolkit: projection and render-state presets, lights, geometry primitives, billboards
/// and sprite-sheet cells.
///
/// Every operation issues fixed-function GL calls on the current context and must run on the thread
/// that owns it. Nothing is validated: each declaration states what the caller must pass.
#pragma once

#include <windows.h>

#include <GL/gl.h>

#include <cstdint>

#include "checked.h"
#include "vector.h"

// ---- Shared types ----------------------------------------------------------------------------

/// A procedure without arguments (the twister calls one per particle).
using ZelvProcedure = void (*)();

/// One cell of a sprite sheet. Rows counts cells along s, Columns along t; V.X is the cell's left
/// edge in s, V.Y the distance of its top edge below t = 1; V.Z and Pos are not used here.
struct TGLFX_3DAnimation {
  int32_t Rows;     ///< Cells along s.
  int32_t Columns;  ///< Cells along t.
  TGLVector V;      ///< X: left edge in s; Y: top edge's distance below t = 1; Z not used.
  float Pos;        ///< Not used.
};

// ---- Projection, render states and lights ------------------------------------------------------

/// Written by OpenGL_I2D: (Height div Width) - 2.05, with integer division. Not read by the
/// library: an application may place its overlay by it.
extern ZELVO_API float OffX;
/// Written by OpenGL_I2D: (Height div Width) - 1.45, with integer division.
extern ZELVO_API float OffY;

/// The names the tables of this header give in a run-time error (see CheckedArray).
namespace zelvo::names {
inline constexpr char AmbientLight[] = "AmbientLight";    ///< ::AmbientLight
inline constexpr char DiffuseLight[] = "DiffuseLight";    ///< ::DiffuseLight
inline constexpr char SpecularLight[] = "SpecularLight";  ///< ::SpecularLight
inline constexpr char LightPosition[] = "LightPosition";  ///< ::LightPosition
inline constexpr char FNormal[] = "FNormal";              ///< ::FNormal
}  // namespace zelvo::names

/// @name Light colours
/// Colours every light configured by SetGLLight receives (RGBA); an application may change them
/// before calling SetGLLight. Changes take effect at the next SetGLLight.
///@{
/// Ambient.
extern ZELVO_API zelvo::CheckedArray<GLfloat, 0, 3, zelvo::names::AmbientLight> AmbientLight;
/// Diffuse.
extern ZELVO_API zelvo::CheckedArray<GLfloat, 0, 3, zelvo::names::DiffuseLight> DiffuseLight;
/// Specular.
extern ZELVO_API zelvo::CheckedArray<GLfloat, 0, 3, zelvo::names::SpecularLight> SpecularLight;
///@}
/// The last light position (X, Y, Z, W) handed to GL by SetGLLight or PutGLPointLight.
extern ZELVO_API zelvo::CheckedArray<GLfloat, 0, 3, zelvo::names::LightPosition> LightPosition;

/// 3D set-up: viewport and perspective of 45 degrees over Width x Height (the outer window size,
/// larger than the client area), near 0.1, far Depth; clear colour (R, G, B, A), given alpha first,
/// and clear depth Depth; depth test, colour (1, 1, 1, 0.5), additive blend factors, local viewer,
/// nicest hints, automatic normals and normalisation. Width and Height must be > 0.
ZELVO_API void OpenGL_Init(double Depth, double A, double R, double G, double B);
/// 2D overlay set-up: viewport Width x Height, clear colour (R, G, B, A), an orthographic box from
/// -2 to 2 in x and z, its height following the aspect ratio (4 * Height / Width), identity
/// model-view, depth test (GL_LEQUAL) and normalisation; sets OffX and OffY. Width must be
/// non-zero (0 ends the program with a run-time error).
ZELVO_API void OpenGL_I2D(double A, double R, double G, double B);

/// Two-sided lighting on (GL_LIGHT_MODEL_TWO_SIDE).
ZELVO_API void TwoSideOn();
/// Two-sided lighting off.
ZELVO_API void TwoSideOff();
/// Back-face culling of clockwise faces.
ZELVO_API void SetGLRefractive();
/// Alpha test that discards fragments of alpha 0.4 or less.
ZELVO_API void SetGLSprite();
/// Alpha test off, blending off, depth writes on, whatever they were.
ZELVO_API void SetGLSpriteOff();
/// Lighting on; the light NLight (GL_LIGHT0 + n) gets the three colours, is enabled and placed at
/// (L0, L1, L2, L3), transformed by the current model-view matrix.
ZELVO_API void SetGLLight(GLenum NLight, float L0, float L1, float L2, float L3);
/// Moves NLight to (LX, LY, LZ, LVal); with Size != 0 also draws a point of Size pixels there and
/// leaves that point size and the normal (0, 0, 1) current.
ZELVO_API void PutGLPointLight(GLenum NLight, float Size, float LX, float LY, float LZ, float LVal);

// ---- Geometry primitives -----------------------------------------------------------------------

/// The unit normal left by the latest FindNormal, x, y, z at indices 1, 2, 3.
extern ZELVO_API zelvo::CheckedArray<double, 1, 3, zelvo::names::FNormal> FNormal;

/// Unit normal of the triangle V1, V2, V3 (counter-clockwise side) into FNormal; (0, 0, 0) for a
/// degenerate triangle.
ZELVO_API void FindNormal(double V1X, double V1Y, double V1Z, double V2X, double V2Y, double V2Z,
                          double V3X, double V3Y, double V3Z);

/// Emits the two end vertices of an edge, each preceded by its texture coordinate when Texture is
/// true. Call between the caller's glBegin and glEnd.
ZELVO_API void LineFree(bool Texture, float TX1, float TY1, float TX2, float TY2, float X1,
                        float Y1, float Z1, float X2, float Y2, float Z2);

/// A sphere around the Z axis as NumLine triangle strips of NumCircle + 1 vertex pairs, with
/// normals and texture coordinates divided by TSize. Radius, NumCircle, NumLine and TSize must be
/// non-zero. Call outside glBegin/glEnd.
ZELVO_API void Sfera(float PX, float PY, float PZ, float Radius, int32_t NumCircle, int32_t NumLine,
                     float TSize);

// ---- Billboards and sprite-sheet cells ---------------------------------------------------------

/// Adds a 1/10 scale inside every billboard bracket while true. Starts true; only goes false.
extern ZELVO_API bool LockViewModelScale;

/// Opens a billboard bracket at model point (X, Y, Z): drawing inside uses the eye's axes at that
/// point's eye position. Pushes two model-view entries; the matrix mode must be GL_MODELVIEW.
ZELVO_API void LockViewModelBegin(float X, float Y, float Z);
/// Closes the bracket: the model-view matrix is again what it was before LockViewModelBegin.
ZELVO_API void LockViewModelEnd();
/// Sets LockViewModelScale to false, for good.
ZELVO_API void LockViewModelScaleOff();

/// One quad centred at (X, Y, 0), half size SX x SY, textured with cell (PX, PY) of a sheet of
/// Rows x Columns cells (PX from the left, PY down from the top). Rows and Columns must be
/// non-zero.
ZELVO_API void FindCharacter(float X, float Y, float PX, float PY, float SX, float SY, int32_t Rows,
                             int32_t Columns);
