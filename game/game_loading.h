// game_loading.h -- loading the game's content before the main loop and freeing it after.
#pragma once

#include "windows.h"

// Always 0.
HRESULT LoadGameData();
void FreeGameData();
