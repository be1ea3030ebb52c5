#pragma once

#include <string>
#include <string_view>

// Reads (save = false) or writes "\OtherFiles\Options.txt".
void LoadSaveOptions(bool save);
// The file's text from the settings, and the settings from a file's text.
std::string OptionsText();
void ReadOptionsText(std::string_view data);
// Window or 640 x 480 full screen. Afterwards OptFullScreen says what the
// screen shows, also when the switch failed (the settings file then agrees).
void SetDisplayMode(bool full);
// Alt+Enter or F11: the other display mode, kept in the settings file.
void ToggleFullScreen();
