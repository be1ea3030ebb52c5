// Blood sprayed over the menus.
#pragma once

// Blood drips from the moving cursor and now and then a splash lands
// somewhere on the menu (only when blood flies).
void MenuEffects();
int MenuBloodDrops();
