#include "menus/Menus.h"

// The options, help and credits screens arrive with their own work.
void OptionsScreen() {}
void HelpScreen() {}
void CreditsScreen() {}
