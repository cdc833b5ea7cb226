// menu.h -- the main menu and the weapon shop, drawn over the paused world.
#pragma once

// The main menu, once per frame in GS_MAINMENU.
void RenderMainMenu();
// The shop, once per frame in GS_SHOP.
void RenderShop();
