// The program's window and its life: start-up, the endless main loop, the game
// frame and shut-down.
#pragma once

#include "platform/Surface.h"
#include "shell/Basic.h"

// Runs once when the window is first shown: options, display mode, pictures,
// score table, sounds, keyboard; then enters MainLoop (never returns).
void StartUp();
// The window's picture boxes and work surfaces (start-up's first step).
void CreateFormSurfaces();
// Removes the temporary files of saves that a crash cut short from the
// folders the game writes to (start-up does this first).
void RemoveInterruptedSaves();
// The endless loop of menu passes and game frames.
[[noreturn]] void MainLoop();
// MainLoop in pieces, so tests can run passes one at a time.
void MainLoopBegin();
void MainLoopPass();
// Releases input, sounds and pictures and ends the process.
void ShutDown();

// One frame of the running game.
void FrameStep();

// The one translucent copy: source over destination with a constant opacity
// in percent (0..99), stretched when the sizes differ.
void BlendBlit(const Surface& srcDC, int destX, int destY, int destW, int destH, Surface& destDC, int srcX, int srcY,
               int srcW, int srcH, int percent);

// Shows the field and the status bar in the window (the picture boxes' own
// repaint) and lets the window system process its events.
void PresentForm();
void DoEvents();

// How the process ends; tests replace it so ShutDown can be run.
extern void (*EndProcess)(int code);
