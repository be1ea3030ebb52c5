#pragma once

// Reads (save = false) or writes "\OtherFiles\Options.txt".
void LoadSaveOptions(bool save);
// Window or 640 x 480 full screen.
void SetDisplayMode(bool full);
