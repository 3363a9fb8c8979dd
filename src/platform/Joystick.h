#pragma once

// The gamepads attached to the desktop. SDL reports their buttons, hats and
// sticks as events once they are opened.

// Opens every joystick attached now (closing those opened before) and turns
// their events on. SDL sees only the joysticks attached when its joystick
// support starts, so this starts it again: a pad plugged in later is found.
// Returns the number opened.
int findJoysticks();
