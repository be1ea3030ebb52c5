#pragma once

// Turns the menus into a running battle: resets every per-game value, builds
// the player from "DEFAULT", starts the battle music and picks the terrain.
void NewGame();
