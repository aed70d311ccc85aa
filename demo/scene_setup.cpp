// Scene set-up of the demo: the floor, funnel and cloud textures, loaded once before the frame
// loop.
#include <Zelvo.h>

#include "scene.h"
#include "texture_files.h"

void OpenGL_CreateList() {
  auto OpenGL_Texture = [] {
    // From the current folder, or from the program's own when started elsewhere.
    TextureLoadID(TextureFile("Floor04.bmp").c_str(), 0);
    TextureLoadTGAID(TextureFile("water3.tga").c_str(), 0);
    TextureLoadTGAID(TextureFile("CloudsParticles4.tga").c_str(), 1);
  };
  OpenGL_Texture();
}
