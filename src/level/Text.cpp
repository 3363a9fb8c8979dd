#include "level/Text.h"

#include "assets/Typo.h"
#include "audio/Control.h"
#include "platform/Platform.h"
#include "render/Screen.h"

#include <cstdlib>
#include <cstring>

unsigned (*Text::clock)() = ticks;

namespace {

const int panelX = 40;
const int panelY = 20;
const int growStep = 2;
const int revealStep = 2;
const int fadeStep = 5;
const int growingFill = int(0x88000000);

int withAlpha(int colour, int alpha)
{
    if (alpha < 0)
        alpha = 0;
    return int((unsigned(colour) & 0x00FFFFFFu) | (unsigned(alpha) << 24));
}

} // namespace

Text::Text()
    : typo(nullptr), screen(nullptr), time(0), shown(0), chars(0), alpha(0), x(panelX), y(panelY), boxWidth(0),
      textHeight(0), colour(-1), last(0)
{
    message[0] = 0;
}

void Text::init(Typo* font, Screen* target)
{
    typo = font;
    screen = target;
    time = 0;
    shown = 0;
    alpha = 0;
    colour = -1;
}

void Text::create(const char* text, int seconds, int c)
{
    formatMessage(text);
    start(seconds, c, true);
}

void Text::create(Typo* font, Screen* target, const char* text, int seconds, int c)
{
    typo = font;
    screen = target;
    formatMessage(text);
    start(seconds, c, false);
}

void Text::start(int seconds, int c, bool wrapWords)
{
    time = seconds * 1000;
    shown = 0;
    chars = 1;
    alpha = 255;
    colour = c;
    x = panelX;
    y = panelY;
    boxWidth = screen ? screen->width - 2 * panelX : 0;
    textHeight = 0;
    if (typo) {
        if (wrapWords)
            textHeight = typo->print2(message, x + 2, y + 2, boxWidth, lineHeight, -1, colour, nullptr);
        else
            textHeight = typo->print(message, x + 2, y + 2, boxWidth, -1, colour, nullptr);
    }
    last = clock();
}

void Text::end()
{
    time = 0;
    alpha = 0;
}

void Text::update()
{
    if (time >= 1) {
        unsigned now = clock();
        time -= int(now - last);
        last = now;
        if (shown < textHeight)
            shown += growStep;
        else
            chars += revealStep;
    } else {
        // Keeps falling below 0 once faded, which keeps the box hidden.
        alpha -= fadeStep;
    }
}

void Text::draw()
{
    if (!screen)
        return;
    int stepped = alpha / 25 * 25;
    int textColour = withAlpha(colour, stepped);
    if (time < 1 && alpha < 1)
        return;
    if (shown < textHeight) {
        screen->fillRect(x + 1, y + 1, boxWidth, shown + 1, growingFill);
        screen->rectRounded(x, y, boxWidth + 2, shown + 3, colour);
        if (typo)
            textHeight = typo->print2(message, x + 2, y + 2, boxWidth, lineHeight, -1, colour, nullptr);
    } else {
        screen->fillRect(x + 1, y + 1, boxWidth, textHeight + 1, withAlpha(0, stepped / 2));
        if (typo)
            typo->print2(message, x + 2, y + 2, boxWidth, lineHeight, chars, textColour, screen);
        screen->rectRounded(x, y, boxWidth + 2, textHeight + 3, textColour);
    }
}

void Text::formatMessage(const char* text)
{
    const int capacity = int(sizeof message) - 1;
    int n = 0;
    for (int i = 0; text[i] && n < capacity;) {
        if (text[i] != '%') {
            message[n++] = text[i++];
            continue;
        }
        // An escape is "%" and exactly three characters; one cut short by the
        // end of the text is copied as it stands.
        if (!text[i + 1] || !text[i + 2] || !text[i + 3]) {
            while (text[i] && n < capacity)
                message[n++] = text[i++];
            break;
        }
        const char digits[4] = {text[i + 1], text[i + 2], text[i + 3], 0};
        int slot = int(std::strtol(digits, nullptr, 10));
        for (const char* name = getControlName(slot); *name && n < capacity; name++)
            message[n++] = *name;
        i += 4;
    }
    message[n] = 0;
}
