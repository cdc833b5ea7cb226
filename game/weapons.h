// weapons.h -- the weapon in hand: its muzzle-flash quad, its shot timer and its shots.
#pragma once

// Moves the muzzle-flash quad of the overlay to the muzzle of the weapon in hand. Without the
// overlay buffer, or when it cannot be locked, nothing is written (the failure is reported once).
void UpdateMuzzleFlashQuad();
// Once per playing frame: advances the shot timer of the weapon in hand and fires it while the
// fire key or button is held and the weapon is ready and loaded.
void FireWeapon();
