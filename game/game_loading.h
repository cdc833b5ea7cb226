// game_loading.h -- loading the game's content before the main loop, a new game, and freeing the
// content after the loop.
#pragma once

#include "d3d8.h"
#include "windows.h"

class CEnemySet;
class CBloodSet;
class CFlameSet;
class CDustSet;
class CProjectileSet;
class CTextureFont;

// The game's five sprite sets and the fence around the playing field: null before loading and
// after the release.
extern CEnemySet* g_pEnemies;
extern CBloodSet* g_pBlood;
extern CFlameSet* g_pFlames;
extern CDustSet* g_pDust;
extern CProjectileSet* g_pProjectiles;
extern IDirect3DVertexBuffer8* g_pPlotVB;  // null also when it could not be made or filled
// The font of the menu rows, the HUD counters and the death screen: the 14-point one.
extern CTextureFont* g_pFont;

// The database, the camera, the sprite sets, every texture and sound of the game, the terrain, a
// new game and the fence. Always 0: what fails to load is reported and the game goes on without it.
HRESULT LoadGameData();
// Empties every sprite set, resets the player and puts the camera at a random place on the map.
// The game state and the world's pause are the caller's.
void NewGame();
// Makes and fills the fence's vertex buffer from the loaded map; left null after a failure.
void BuildFence();
// Releases the fence and deletes the sprite sets.
void FreeGameData();
