// The demo's scene procedures, called by the start-up and frame loop in TornadoDemo.cpp.
#pragma once

// Scene set-up, run once before the frame loop: loads the three textures.
void OpenGL_CreateList();

// Draws one complete frame of the scene.
void OpenGL_Draw();

// The tornado the scene advances and draws every frame.
struct TGLTwister;
extern TGLTwister Twister;
