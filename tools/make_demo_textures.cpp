// Writes the demo's three textures into the folder given as the only argument:
// "Floor04.bmp" (24-bit BMP), "water3.tga" (32-bit uncompressed TGA) and "CloudsParticles4.tga"
// (32-bit run-length-encoded TGA). The output is the same on every run.
#include <cstdio>
#include <string>

#include "demo_texture_art.h"
#include "image_writers.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  bool ok = tools::WriteBmp24(folder + "Floor04.bmp", tools::MakeFloorTiles());
  ok = tools::WriteTga(folder + "water3.tga", tools::MakeWaterSwirls(), 32, false) && ok;
  ok = tools::WriteTga(folder + "CloudsParticles4.tga", tools::MakeCloudSheet(), 32, true) && ok;
  if (!ok) {
    std::fprintf(stderr, "%s: could not write the textures into %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
