// A textured, lit sphere as one triangle strip per band, from the +Z pole to the -Z pole.
//
// A scene draws many spheres of few shapes (the same arguments every frame), so the vertices of a
// shape are computed once and replayed, and the sines and cosines of a slice and stack count are
// computed once for every shape that shares them. Each value is the very expression the drawing
// evaluates without them, so the floats handed to GL are the same either way.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numbers>
#include <vector>

#include "zelvo/render.h"

namespace {

// Every intermediate is a single, rounded when assigned; the expressions themselves are evaluated
// in double so that rounding happens only at those points.
struct Steps {
  Steps(int32_t NumCircle, int32_t NumLine)
      : Major(static_cast<float>(std::numbers::pi / NumLine)),
        Minor(static_cast<float>(2.0 * std::numbers::pi / NumCircle)) {}
  float A(int32_t I) const { return static_cast<float>(static_cast<double>(I) * Major); }
  float B(int32_t I) const { return static_cast<float>(static_cast<double>(A(I)) + Major); }
  float C(int32_t J) const { return static_cast<float>(static_cast<double>(J) * Minor); }
  float Major, Minor;
};

// Sines and cosines evaluated where they are used: for shapes too large to keep tables of.
struct ComputedAngles {
  ComputedAngles(int32_t NumCircle, int32_t NumLine) : steps(NumCircle, NumLine) {}
  double SinA(int32_t I) const { return std::sin(static_cast<double>(steps.A(I))); }
  double SinB(int32_t I) const { return std::sin(static_cast<double>(steps.B(I))); }
  double CosA(int32_t I) const { return std::cos(static_cast<double>(steps.A(I))); }
  double CosB(int32_t I) const { return std::cos(static_cast<double>(steps.B(I))); }
  float X(int32_t J) const { return static_cast<float>(std::cos(static_cast<double>(steps.C(J)))); }
  float Y(int32_t J) const { return static_cast<float>(std::sin(static_cast<double>(steps.C(J)))); }
  Steps steps;
};

// The same values for one slice and stack count, computed once.
struct AngleTable {
  AngleTable(int32_t circles, int32_t lines) : NumCircle(circles), NumLine(lines) {
    const ComputedAngles angles(NumCircle, NumLine);
    for (int32_t I = 0; I < NumLine; ++I) {
      sin_a.push_back(angles.SinA(I));
      sin_b.push_back(angles.SinB(I));
      cos_a.push_back(angles.CosA(I));
      cos_b.push_back(angles.CosB(I));
    }
    for (int32_t J = 0; J <= NumCircle; ++J) {
      x.push_back(angles.X(J));
      y.push_back(angles.Y(J));
    }
  }
  double SinA(int32_t I) const { return sin_a[I]; }
  double SinB(int32_t I) const { return sin_b[I]; }
  double CosA(int32_t I) const { return cos_a[I]; }
  double CosB(int32_t I) const { return cos_b[I]; }
  float X(int32_t J) const { return x[J]; }
  float Y(int32_t J) const { return y[J]; }
  int32_t NumCircle, NumLine;
  std::vector<double> sin_a, sin_b, cos_a, cos_b;  // per band: its upper and lower edge
  std::vector<float> x, y;                         // per slice edge
};

struct Vertex {
  float NX, NY, NZ, S, T, X, Y, Z;
};

struct Sphere {
  float PX, PY, PZ, Radius;
  int32_t NumCircle, NumLine;
  float TSize;
  // Bitwise, so that -0 and NaN arguments find their own shape.
  bool operator==(const Sphere& o) const {
    auto bits = [](float f) { return std::bit_cast<uint32_t>(f); };
    return bits(PX) == bits(o.PX) && bits(PY) == bits(o.PY) && bits(PZ) == bits(o.PZ) &&
           bits(Radius) == bits(o.Radius) && NumCircle == o.NumCircle && NumLine == o.NumLine &&
           bits(TSize) == bits(o.TSize);
  }
};

// Every vertex of the sphere, band by band: out.Begin(), two vertices per slice edge, out.End().
template <class Angles, class Out>
void SphereVertices(const Sphere& s, const Angles& angles, Out& out) {
  const float Radius = s.Radius, TSize = s.TSize;
  const int32_t NumCircle = s.NumCircle, NumLine = s.NumLine;
  for (int32_t I = 0; I < NumLine; ++I) {
    const float R0 = static_cast<float>(angles.SinA(I) * Radius);
    const float R1 = static_cast<float>(angles.SinB(I) * Radius);
    const float Z0 = static_cast<float>(angles.CosA(I) * Radius);
    const float Z1 = static_cast<float>(angles.CosB(I) * Radius);
    const double T0 = static_cast<double>(I) / NumLine / TSize;
    const double T1 = (static_cast<double>(I) + 1.0) / NumLine / TSize;

    out.Begin();
    for (int32_t J = 0; J <= NumCircle; ++J) {
      const float X = angles.X(J);
      const float Y = angles.Y(J);
      const double S = -static_cast<double>(J) / NumCircle / TSize;
      out.Add(Vertex{static_cast<float>(static_cast<double>(X) * R0 / Radius),
                     static_cast<float>(static_cast<double>(Y) * R0 / Radius),
                     static_cast<float>(static_cast<double>(Z0) / Radius), static_cast<float>(S),
                     static_cast<float>(T0), static_cast<float>(static_cast<double>(X) * R0 + s.PX),
                     static_cast<float>(static_cast<double>(Y) * R0 + s.PY),
                     static_cast<float>(static_cast<double>(Z0) + s.PZ)});
      out.Add(Vertex{static_cast<float>(static_cast<double>(X) * R1 / Radius),
                     static_cast<float>(static_cast<double>(Y) * R1 / Radius),
                     static_cast<float>(static_cast<double>(Z1) / Radius), static_cast<float>(S),
                     static_cast<float>(T1), static_cast<float>(static_cast<double>(X) * R1 + s.PX),
                     static_cast<float>(static_cast<double>(Y) * R1 + s.PY),
                     static_cast<float>(static_cast<double>(Z1) + s.PZ)});
    }
    out.End();
  }
}

struct ToGL {
  void Begin() { glBegin(GL_TRIANGLE_STRIP); }
  void Add(const Vertex& v) {
    glNormal3f(v.NX, v.NY, v.NZ);
    glTexCoord2f(v.S, v.T);
    glVertex3f(v.X, v.Y, v.Z);
  }
  void End() { glEnd(); }
};

struct Mesh {
  Sphere shape;
  std::vector<Vertex> vertices;  // NumLine bands of 2 x (NumCircle + 1)
  void Begin() {}
  void Add(const Vertex& v) { vertices.push_back(v); }
  void End() {}
};

// What is kept, per thread: tables of shapes with up to kKeptCount slices and stacks (a few
// hundred kB at most each), vertices of spheres with up to kKeptVertices vertices (2 MB each), and
// only the first shapes of a program that draws ever new ones.
constexpr int32_t kKeptCount = 4096;
constexpr std::size_t kKeptTables = 32;
constexpr int64_t kKeptVertices = 64 * 1024;
constexpr std::size_t kKeptMeshes = 16;

const AngleTable* TableFor(int32_t NumCircle, int32_t NumLine) {
  thread_local std::vector<AngleTable> kept;
  for (const AngleTable& t : kept)
    if (t.NumCircle == NumCircle && t.NumLine == NumLine) return &t;
  if (NumCircle > kKeptCount || NumLine > kKeptCount || kept.size() == kKeptTables) return nullptr;
  kept.emplace_back(NumCircle, NumLine);
  return &kept.back();
}

const Mesh* MeshFor(const Sphere& s) {
  thread_local std::vector<Mesh> kept;
  for (const Mesh& m : kept)
    if (m.shape == s) return &m;
  const int64_t vertices = int64_t{2} * (int64_t{s.NumCircle} + 1) * s.NumLine;
  if (kept.size() == kKeptMeshes || s.NumCircle > kKeptCount || s.NumLine > kKeptCount ||
      vertices > kKeptVertices)
    return nullptr;
  const AngleTable* table = TableFor(s.NumCircle, s.NumLine);
  if (!table) return nullptr;
  Mesh mesh{s, {}};
  if (vertices > 0) mesh.vertices.reserve(static_cast<std::size_t>(vertices));
  SphereVertices(s, *table, mesh);
  kept.push_back(std::move(mesh));
  return &kept.back();
}

}  // namespace

void Sfera(float PX, float PY, float PZ, float Radius, int32_t NumCircle, int32_t NumLine,
           float TSize) {
  const Sphere s{PX, PY, PZ, Radius, NumCircle, NumLine, TSize};
  ToGL gl;
  if (const Mesh* mesh = MeshFor(s)) {
    const std::size_t band = s.NumCircle >= 0 ? 2 * (std::size_t(s.NumCircle) + 1) : 0;
    const Vertex* v = mesh->vertices.data();
    for (int32_t I = 0; I < NumLine; ++I) {
      gl.Begin();
      for (std::size_t k = 0; k < band; ++k) gl.Add(v[k]);
      gl.End();
      v += band;
    }
  } else if (const AngleTable* table = TableFor(NumCircle, NumLine)) {
    SphereVertices(s, *table, gl);
  } else {
    SphereVertices(s, ComputedAngles(NumCircle, NumLine), gl);
  }
}
