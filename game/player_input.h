// player_input.h -- the polled keyboard and mouse turned into the player's actions, once per frame.
#pragma once

// In play: looking, weapon choice, the scope, walking, the target text and the weapon's shots; in
// the other states: the menu cursor. In every state: P, B, N and Esc on their press edges.
void ProcessInput();
