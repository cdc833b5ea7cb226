// standin_game_loading.cpp -- stands in for game loading until it exists: nothing to load.
#include "game/game_loading.h"

HRESULT LoadGameData() { return S_OK; }

void FreeGameData() {}
