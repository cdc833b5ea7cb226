// death_screen.h -- the death screen after every death of the player, and the reward list.
#pragma once

// Scratch text of the screens' second lines; emptied by every successful keyboard read.
extern char g_szText[256];

// The death screen, once per frame in GS_DEATH.
void RenderDeathScreen();
// The reward list, once per frame in GS_REWARDS.
void RenderRewardList();
