#pragma once

class Player;

// A cutscene: a script of timed actions that drives the player, the camera,
// the brightness and the room. Each frame the world reads one code from it
// and applies it. The scripts and the scenes come with the cutscenes; until
// then every script is empty and ends at once.
class Movie {
public:
    // Code returned when the script has ended.
    static const int codeEnd = 13;

    void reset() {}
    void rewind() {}
    void preset3() {}
    void loadPreset(int) {}
    void update(Player*, float) {}
    int readAction() { return codeEnd; }
    void killWaiter() {}
    char* getText() { return text; }
    char* getText2() { return text2; }
    int getValue1() const { return value1; }
    int getValue2() const { return value2; }
    float getFValue1() const { return fvalue1; }

private:
    char text[256] = "";
    char text2[256] = "";
    int value1 = 0;
    int value2 = 0;
    float fvalue1 = 0.0f;
};
