#pragma once

#include <cstdint>

class Level;
class Screen;

// One picture of a room as the game shows it: a camera on a point or a
// named element, a carried lamp there, a number of lighting passes run one
// after the other (no worker thread), each followed by a drawn frame, so
// memory and charged paint build up as they would while playing.
class LevelShot {
public:
    // The carried lamps, numbered as the light styles.
    enum Lamp { LampNone = 0, LampCandle = 1, LampTorch = 2, LampAceto = 3 };

    // Largest picture side and number of passes accepted.
    static const int maxSide = 4096;
    static const int maxPasses = 1000;
    // The saved picture shows each logical pixel as a block this wide.
    static const int magnification = 4;
    // The lighting thread lights this much around the view.
    static const int lightMargin = 30;

    // Reads "LEVEL OUT.png [--at X Y | --at NAME] [--size WxH]
    // [--lamp candle|torch|aceto|none] [--passes N] [--game DIR]".
    // Returns 1, or 0 with the reason in `error`.
    int parseArguments(int argc, char** argv);

    // Loads the level from the game folder (entered meanwhile), places the
    // camera and the lamp, runs the passes and draws into screen, which
    // gives the picture's size. Returns 1, or 0 with the reason in `error`.
    int render(Screen* screen);

    // Finds the point the camera looks at: the named element's centre, the
    // given point, or the middle of the map. Returns 0 with the reason in
    // `error` when the name matches no element.
    int findPoint(const Level* level, int* x, int* y);
    // Centres a width x height camera on (x, y): the offset (ox, oy) that
    // draws world (x, y) in the middle of the screen.
    static void centre(int x, int y, int width, int height, int* ox, int* oy);

    // Writes s magnified, opaque, as a PNG. Returns 1, or 0 with the reason in `error`.
    int savePicture(const Screen* s, const char* file);
    // A fingerprint of every pixel of s, for picture checks.
    static uint32_t checksum(const Screen* s);

    char level[256] = "";
    char output[256] = "";
    char game[256] = ".";
    // The camera's point: a named element when `atName` is set, else (atX, atY) when `atPoint`.
    char atName[128] = "";
    bool atPoint = false;
    int atX = 0;
    int atY = 0;
    int width = 480;
    int height = 270;
    int lamp = LampCandle;
    int passes = 1;
    char error[256] = "";

private:
    int renderHere(Screen* screen);
};
