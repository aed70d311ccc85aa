// The input state the window procedure keeps; all zero until the first message.
#include "zelvo/window.h"

bool Active = false;

zelvo::CheckedArray<int32_t, 0, 500, zelvo::names::SetKey> SetKey{};
bool LeftMouseDown = false;
bool RightMouseDown = false;
bool LeftMouseDown2 = false;
bool RightMouseDown2 = false;
bool MouseFree = false;
int32_t XCoord = 0;
int32_t YCoord = 0;
int32_t ZCoord = 0;
int32_t SetMX = 0;
int32_t SetMY = 0;
int32_t SetOMX = 0;
int32_t SetOMY = 0;
float XRot = 0;
float YRot = 0;
float XRot2 = 0;
float YRot2 = 0;
extern "C" {
float Depth = 0;
}
float Depth2 = 0;
POINT MPos{};
MSG Msg_{};
