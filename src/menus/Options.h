#pragma once

// Reads (save = false) or writes "\OtherFiles\Options.txt".
void LoadSaveOptions(bool save);
// Window or 640 x 480 full screen. Afterwards OptFullScreen says what the
// screen shows, also when the switch failed (the settings file then agrees).
void SetDisplayMode(bool full);
// Alt+Enter or F11: the other display mode, kept in the settings file.
void ToggleFullScreen();
