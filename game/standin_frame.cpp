// standin_frame.cpp -- stands in for the game's frame until it exists: an empty frame.
#include "game/frame.h"

void RenderFrame() {}
