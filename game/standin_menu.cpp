// standin_menu.cpp -- stands in for the main menu and the shop until they exist: screens that
// show nothing (P, B and Esc still switch between them and play).
#include "game/menu.h"

void RenderMainMenu() {}

void RenderShop() {}
