// frame.h -- one frame of the game, logic and drawing together.
#pragma once

void RenderFrame();
