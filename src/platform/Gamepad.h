// Game controllers, plugged in and out while the game runs, read together as
// one pad. Controllers come and go with the window's events.
#pragma once

struct PadState {
    bool Connected = false;
    // Sticks -1..1 (y down), triggers 0..1.
    float LeftX = 0, LeftY = 0, RightX = 0, RightY = 0;
    float LeftTrigger = 0, RightTrigger = 0;
    bool A = false, Back = false, Start = false, RightShoulder = false;
};
// The current state of all controllers: the strongest stick and trigger,
// any button held.
void ReadGamepad(PadState& pad);

// Test feed: one virtual controller (SDL's virtual joystick), no hardware.
// Axes and buttons in SDL's game-controller order.
enum PadAxis { PAD_LEFTX, PAD_LEFTY, PAD_RIGHTX, PAD_RIGHTY, PAD_TRIGGERLEFT, PAD_TRIGGERRIGHT };
enum PadButton { PAD_A = 0, PAD_BACK = 4, PAD_START = 6, PAD_RIGHTSHOULDER = 10 };
bool TestAttachPad();
void TestDetachPad();
void TestSetPadAxis(PadAxis axis, int value);  // -32768..32767
void TestSetPadButton(PadButton button, bool down);
int TestPadCount();  // controllers open
