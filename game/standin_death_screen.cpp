// standin_death_screen.cpp -- stands in for the death screen and the reward list until they exist:
// screens that show nothing (P, B and Esc still lead back to the menus).
#include "game/death_screen.h"

char g_szText[256];

void RenderDeathScreen() {}

void RenderRewardList() {}
