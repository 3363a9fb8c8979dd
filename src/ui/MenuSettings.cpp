// The options screen's items beside the volumes (brightness, display mode,
// the gamepad) and the gamepad screen, where each pad action takes the next
// button pressed.

#include "ui/Menu.h"

#include "assets/Typo.h"
#include "base/BoundedString.h"
#include "render/Screen.h"
#include "save/Settings.h"

#include <algorithm>
#include <iterator>

namespace {

const int padDefault = padActionCount;
const int padBack = padActionCount + 1;

const char* const padLabels[padActionCount] = {"jump", "action", "walk", "throw coin", "show map", "pause"};

} // namespace

void Menu::changeSetting(int step)
{
    if (selection == optionsBrightness)
        settings.brightness = std::clamp(settings.brightness + (step > 0 ? 1 : -1), brightnessLowest, brightnessHighest);
    else if (selection == optionsDisplay)
        settings.fullScreen = !settings.fullScreen;
}

void Menu::chooseSetting()
{
    if (selection == optionsDisplay)
        settings.fullScreen = !settings.fullScreen;
    else if (selection == optionsGamepad)
        setGameState(stateGamepad);
}

void Menu::chooseGamepad()
{
    if (selection < padActionCount) {
        pendingPadAction = selection;
        blink = 0;
    } else if (selection == padDefault) {
        const SETTINGS defaults;
        std::copy(std::begin(defaults.padButton), std::end(defaults.padButton), settings.padButton);
    } else {
        setGameState(stateOptions);
        selection = optionsGamepad;
    }
}

// An action that had the button takes the waiting action's old button, so
// that one button never does two things.
int Menu::padButton(int button)
{
    if (gameState != stateGamepad || pendingPadAction == -1)
        return 0;
    int* buttons = settings.padButton;
    int* other = std::find(buttons, buttons + padActionCount, button);
    if (other != buttons + padActionCount)
        *other = buttons[pendingPadAction];
    buttons[pendingPadAction] = button;
    pendingPadAction = -1;
    blink = 0;
    return 1;
}

void Menu::drawSettingItems(Screen* s)
{
    int cx = s->width / 2;
    typo->print("BRIGHTNESS", cx - 100, 40, s);
    typo->print("DISPLAY", cx - 100, 50, s);
    typo->print("GAMEPAD", cx - 100, 60, s);
    char step[16];
    boundedFormat(step, sizeof step, "%+d", settings.brightness);
    typo->print(settings.brightness == 0 ? "0" : step, cx + 50, 40, s);
    typo->print(settings.fullScreen ? "FULL SCREEN" : "WINDOW", cx + 50, 50, s);
}

void Menu::drawGamepadMenu(Screen* s)
{
    int cx = s->width / 2;
    for (int i = 0; i < padActionCount; i++) {
        int y = 10 + 10 * i;
        typo->print(padLabels[i], 10, y, s);
        char name[32];
        boundedFormat(name, sizeof name, "BUTTON %d", settings.padButton[i]);
        if (i != pendingPadAction)
            typo->print(name, cx, y, s);
        else if (blink < blinkPeriod / 2)
            typo->print("<press a button>", cx, y, s);
    }
    typo->printCenter(selection == padDefault ? ">default<" : "default", cx - 25, 145, s);
    typo->printCenter(selection == padBack ? ">back<" : "back", cx + 25, 145, s);
    if (selection < padActionCount)
        typo->print(">", 3, 10 * selection + 10, s);
}
