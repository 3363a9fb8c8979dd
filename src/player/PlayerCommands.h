#pragma once

class Level;
class Player;

// The commands held down in one frame, as the input layer reads them from
// the keys it has bound to them.
struct PLAYER_COMMANDS {
    bool walk = false;
    bool up = false;
    bool down = false;
    bool right = false;
    bool left = false;
    bool viewUp = false;
    bool viewDown = false;
    bool viewRight = false;
    bool viewLeft = false;
    bool jump = false;
};

// Tells the player the held commands of a frame, before its update: he
// stands up unless `down` crouches him again, a jump needs the jump command
// let go since the last one, running is the default; then climbing,
// walking, looking around and jumping, every held command acting. The game
// and the tools that run the player without it steer him through this alone.
void holdCommands(Player* player, Level* level, const PLAYER_COMMANDS& held);
