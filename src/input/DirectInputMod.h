// Keyboard and mouse: the keyboard state by DirectInput scan codes, the cursor
// in field pixels, the global keys and the window events of the field.
#pragma once

void CreateKeyboard();
void ReleaseInput();
void ClipCursorToField(bool clip);
void UpdateCursor();
// Turns the soldier to the pointer at CursorX, CursorY.
void FaceThePointer();
void ReadKeyboard();
// The paused game goes on: the battle's heartbeat instead of the menu music.
void ResumeGame();
// While a recording is watched, once a frame: the watcher's own keys. Escape
// ends watching (true); volume and screenshot keys work; nothing else of the
// player reaches the battle.
bool WatchingKeys();
// Watching is over (Escape, or the recording ran out): back to the menus with
// the last picture of the battle behind them.
void EndWatching();

// Window events of Field (virtual-key codes; buttons 1 left, 2 right, 4 middle).
void Field_KeyDown(int keyCode);
void Field_KeyUp(int keyCode);
void Field_MouseDown(int button);
void Field_MouseUp(int button);
// The window lost the keyboard: a running game pauses.
void Field_LostFocus();

// Connects the handlers above (and typed text, closing) to the window.
void InstallWindowHandlers();
