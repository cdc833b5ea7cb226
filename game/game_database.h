// game_database.h -- the enemy types of db.cfg, the weapon table, the inventory and the game's globals.
#pragma once

#include <cstddef>

#include "windows.h"
#include "world/terrain_file.h"

// Enemy-type flags, copied into every enemy of the type and tested with HasFlags.
const DWORD ETF_RAGE = 0x02;       // reddens, gets " ZURI" and blows itself up
const DWORD ETF_FALLING = 0x04;    // drops from the sky and lands with dust and damage
const DWORD ETF_SHOOTER = 0x08;    // fires projectiles; its projectile picture is loaded
const DWORD ETF_HOMING = 0x10;     // its projectiles steer towards the player
const DWORD ETF_FAST = 0x20;       // its projectiles fly faster
const DWORD ETF_EXPLOSIVE = 0x40;  // its projectiles explode on the ground

// Game states (2 is not used).
const int GS_PLAYING = 0;
const int GS_MAINMENU = 1;
const int GS_SHOP = 3;
const int GS_REWARDS = 4;
const int GS_DEATH = 5;

const int MAX_ENEMY_TYPES = 16;
const int WEAPON_COUNT = 6;

// One enemy type: a 596-byte record of db.cfg. Texts are zero-terminated.
struct SEnemyType {
    char szTexture[128];      // picture file, relative to the working directory
    INT iTexture;             // texture slot, written while loading
    char szName[64];          // display name
    INT iReward;              // money and score for a kill; below 1: must not be shot
    char szTexture2[128];     // projectile picture (shooters only)
    INT iTexture2;            // texture slot of the projectile picture
    FLOAT fDamage;            // damage of its explosion, landing or projectiles
    DWORD dwFlags;            // ETF_ flags
    char szDescription[256];  // shown in the reward list
};
static_assert(sizeof(SEnemyType) == 596, "SEnemyType is 596 bytes");
static_assert(offsetof(SEnemyType, iTexture) == 128, "iTexture at 128");
static_assert(offsetof(SEnemyType, szName) == 132, "szName at 132");
static_assert(offsetof(SEnemyType, iReward) == 196, "iReward at 196");
static_assert(offsetof(SEnemyType, szTexture2) == 200, "szTexture2 at 200");
static_assert(offsetof(SEnemyType, iTexture2) == 328, "iTexture2 at 328");
static_assert(offsetof(SEnemyType, fDamage) == 332, "fDamage at 332");
static_assert(offsetof(SEnemyType, dwFlags) == 336, "dwFlags at 336");
static_assert(offsetof(SEnemyType, szDescription) == 340, "szDescription at 340");

// The game database: the raw image of db.cfg.
struct SGameDatabase {
    char szTopic[128];                   // topic of the day
    INT iTypeCount;                      // enemy types in use, 0 to 16
    SEnemyType types[MAX_ENEMY_TYPES];
};
static_assert(sizeof(SGameDatabase) == 9668, "db.cfg is 9,668 bytes");
static_assert(offsetof(SGameDatabase, iTypeCount) == 128, "iTypeCount at 128");
static_assert(offsetof(SGameDatabase, types) == 132, "types at 132");

// One weapon of the table.
struct SWeapon {
    const char* pszIcon;         // shop icon
    const char* pszTexture;      // first-person picture
    const char* pszSound;        // shot sound
    const char* pszShortName;    // shop row
    const char* pszLongName;     // shop detail title
    const char* pszDescription;  // shop detail text; "\n" starts a line
    FLOAT fFlashX;               // muzzle flash centre, fraction of the screen width
    FLOAT fFlashY;               // the same, fraction of the screen height
    INT iIconTexture;            // texture slot of the icon
    INT iTexture;                // texture slot of the picture
    INT iSound;                  // sound slot of the shot
    INT iPrice;                  // shop price in $
    INT iPackPrice;              // price of one ammunition pack
    INT iPackRounds;             // rounds in one pack
    FLOAT fAccuracy;             // aim scatter per axis within +-0.5/fAccuracy
    FLOAT fDamage;               // damage of one hit
    FLOAT fDelay;                // seconds between two shots
    FLOAT fSinceShot;            // seconds since the last shot
};

// The player's state of one weapon.
struct SInventoryEntry {
    BYTE bOwned;  // 1 = owned
    INT iAmmo;    // ammunition left
};

extern SGameDatabase g_GameDB;
extern SWeapon g_Weapons[WEAPON_COUNT];
extern SInventoryEntry g_Inventory[WEAPON_COUNT];

extern int g_iGameState;
extern int g_iScore;
extern int g_iMoney;
extern int g_iKills;
extern int g_iLives;
extern int g_iHealth;
extern int g_iCurrentWeapon;
extern float g_fZoom;
extern float g_fShake;
extern float g_fGameTime;
extern float g_fSpawnTimer;
extern int g_iMuzzleFlash;
extern CCellCoord g_ptCursor;
extern float g_fForward;
extern float g_fStrafe;
extern float g_fYaw;
extern float g_fPitch;
extern char g_szTargetText[256];
extern char g_szNumber[20];

// Texture slots of the game.
extern int g_iTexCross;
extern int g_iTexCircle;
extern int g_iTexAwmLook;
extern int g_iTexBlood;
extern int g_iTexFlame;
extern int g_iTexDust;
extern int g_iTexExp;
extern int g_iTexHudIcons;
extern int g_iTexMotor2;
extern int g_iTexPlot;

// Sound slots of the game.
extern int g_iSndZuch;
extern int g_iSndZoom;
extern int g_iSndEnemyDown;
extern int g_iSndFallback;
extern int g_iSndHosDown;
extern int g_iSndBlow;
extern int g_iSndExplode;
extern int g_iSndKrk;
extern int g_iSndKill[3];
extern const char* const g_szKillSounds[3];

// The record of an enemy's type index, held within the 16 records.
inline const SEnemyType& EnemyType(int index) {
    if (index < 0) index = 0;
    if (index >= MAX_ENEMY_TYPES) index = MAX_ENEMY_TYPES - 1;
    return g_GameDB.types[index];
}

// Reads db.cfg into g_GameDB.
void LoadGameDatabase();
// Writes g_GameDB to db.cfg as it stands in memory.
void SaveGameDatabase();
