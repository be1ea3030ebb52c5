#include "platform/Gamepad.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/WindowParts.h"

namespace {
std::vector<SDL_GameController*> Pads;
int VirtualIndex = -1;
const char* const TestPadName = "Dorvik test pad";

float Axis(SDL_GameController* c, SDL_GameControllerAxis a) {
    return std::max(-1.0f, SDL_GameControllerGetAxis(c, a) / 32767.0f);
}
// The stronger of two deflections.
void Stronger(float& have, float value) {
    if (std::fabs(value) > std::fabs(have)) have = value;
}
}  // namespace

void Wnd::PadAdded(int deviceIndex) {
    SDL_GameController* c = SDL_GameControllerOpen(deviceIndex);
    if (!c) return;
    if (std::find(Pads.begin(), Pads.end(), c) == Pads.end())
        Pads.push_back(c);
    else
        SDL_GameControllerClose(c);  // already open: drop the extra reference
}

void Wnd::PadRemoved(int instanceId) {
    for (auto it = Pads.begin(); it != Pads.end(); ++it) {
        if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(*it)) != instanceId) continue;
        SDL_GameControllerClose(*it);
        Pads.erase(it);
        return;
    }
}

void Wnd::CloseAllPads() {
    for (SDL_GameController* c : Pads) SDL_GameControllerClose(c);
    Pads.clear();
    TestDetachPad();
}

void ReadGamepad(PadState& pad) {
    pad = PadState{};
    if (Pads.empty()) return;
    SDL_GameControllerUpdate();
    for (SDL_GameController* c : Pads) {
        if (!SDL_GameControllerGetAttached(c)) continue;
        pad.Connected = true;
        Stronger(pad.LeftX, Axis(c, SDL_CONTROLLER_AXIS_LEFTX));
        Stronger(pad.LeftY, Axis(c, SDL_CONTROLLER_AXIS_LEFTY));
        Stronger(pad.RightX, Axis(c, SDL_CONTROLLER_AXIS_RIGHTX));
        Stronger(pad.RightY, Axis(c, SDL_CONTROLLER_AXIS_RIGHTY));
        pad.LeftTrigger = std::max(pad.LeftTrigger, Axis(c, SDL_CONTROLLER_AXIS_TRIGGERLEFT));
        pad.RightTrigger = std::max(pad.RightTrigger, Axis(c, SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
        pad.A |= SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_A) != 0;
        pad.Back |= SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_BACK) != 0;
        pad.Start |= SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_START) != 0;
        pad.RightShoulder |= SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER) != 0;
    }
}

bool TestAttachPad() {
    if (VirtualIndex >= 0) return true;
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
    SDL_VirtualJoystickDesc d{};
    d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    d.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    d.naxes = SDL_CONTROLLER_AXIS_MAX;
    d.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    d.name = TestPadName;
    VirtualIndex = SDL_JoystickAttachVirtualEx(&d);
    return VirtualIndex >= 0;
}

void TestDetachPad() {
    if (VirtualIndex < 0) return;
    SDL_JoystickDetachVirtual(VirtualIndex);
    VirtualIndex = -1;
}

namespace {
SDL_Joystick* VirtualStick() {
    for (SDL_GameController* c : Pads) {
        SDL_Joystick* j = SDL_GameControllerGetJoystick(c);
        const char* name = SDL_JoystickName(j);
        if (name && std::string(name) == TestPadName) return j;
    }
    return nullptr;
}
}  // namespace

void TestSetPadAxis(PadAxis axis, int value) {
    if (SDL_Joystick* j = VirtualStick())
        SDL_JoystickSetVirtualAxis(j, axis, static_cast<Sint16>(std::clamp(value, -32768, 32767)));
}

void TestSetPadButton(PadButton button, bool down) {
    if (SDL_Joystick* j = VirtualStick()) SDL_JoystickSetVirtualButton(j, button, down ? 1 : 0);
}

int TestPadCount() { return static_cast<int>(Pads.size()); }
