#include "maps/MapGen.h"

void GenerateMaps() {}
void ChooseNewGameTerrain() {}
