#pragma once

class Screen;
class Typo;

// The message box a room shows at the top of the screen: a translucent black
// panel with a rounded frame that grows down to the height of its text, then
// reveals the text two characters a frame, stays for a number of seconds and
// fades out in steps of 25 alpha.
//
// A message may name the keys of the player's bindings: "%" followed by three
// characters is replaced by the name of the key bound to the control slot
// those characters give as a decimal number ("%101" names the action key).
class Text {
public:
    Text();

    void init(Typo* typo, Screen* screen);
    // Starts a message shown for `seconds`, its height measured word-wrapped.
    void create(const char* message, int seconds, int colour);
    // The same on a new font and target, measured with glyph-level wrapping.
    void create(Typo* typo, Screen* screen, const char* message, int seconds, int colour);
    // Hides the box at once.
    void end();
    // Advances the timers and the animation; once per frame.
    void update();
    void draw();
    bool isActive() const { return time > 0; }
    Typo* getTypo() const { return typo; }
    // Expands the key-name escapes of text into `message`, at most 255 characters.
    void formatMessage(const char* text);

    // The millisecond clock that times the message; tests replace it.
    static unsigned (*clock)();

    // Line height and text inset of the panel.
    static const int lineHeight = 9;

    Typo* typo;
    Screen* screen;
    int time;
    int shown;
    int chars;
    int alpha;
    char message[256];
    int x;
    int y;
    int boxWidth;
    int textHeight;
    int colour;
    unsigned last;

private:
    void start(int seconds, int colour, bool wrapWords);
};
