// hud.h -- the playing state's screen: the weapon, its flash and crosshair or scope, the spawn
// clock, the target text, the HUD panels and counters, and the death check.
#pragma once

// Once per playing frame, after the world and the 2D states.
void RenderHud();
// The icon panels behind the counters, then score, kills, money, health and (but for the
// chainsaw) the ammunition in hand; the death screen shows them too.
void DrawHudPanels();
