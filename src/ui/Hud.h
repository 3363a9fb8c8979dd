#pragma once

class Player;
class Screen;
class Typo;

// The head-up display: respawns, life, coins, diamonds and keys. Its icons
// and drawing come with the menu; until then it shows nothing.
class Hud {
public:
    void setTypo(Typo* font) { typo = font; }
    void update(Screen*, Player*) {}
    void draw(Screen*, Player*) {}

private:
    Typo* typo = nullptr;
};
