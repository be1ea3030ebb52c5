#include "input/DirectInputMod.h"

void CreateKeyboard() {}
void ReleaseInput() {}
void ClipCursorToField(bool) {}
void UpdateCursor() {}
void ReadKeyboard() {}
void Field_KeyDown(int) {}
void Field_KeyUp(int) {}
void Field_MouseDown(int) {}
void Field_MouseUp(int) {}
void InstallWindowHandlers() {}
