// Scene set-up of the demo: the floor, funnel and cloud textures, loaded once before the frame
// loop.
#include <Zelvo.h>

#include "scene.h"

void OpenGL_CreateList() {
  auto OpenGL_Texture = [] {
    TextureLoadID("Floor04.bmp", 0);
    TextureLoadTGAID("water3.tga", 0);
    TextureLoadTGAID("CloudsParticles4.tga", 1);
  };
  OpenGL_Texture();
}
