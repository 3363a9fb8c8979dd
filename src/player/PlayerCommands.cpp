#include "player/PlayerCommands.h"

#include "player/Player.h"

void holdCommands(Player* player, Level* level, const PLAYER_COMMANDS& held)
{
    // Crouching lasts only while the down command asks for it again.
    player->setCrawl(level, false);
    if (!held.jump)
        player->state.jumpReleased = true;
    // Running is the default; the walk command walks while held.
    if (held.walk)
        player->setWalk();
    else
        player->setRun();
    if (held.up)
        player->up(level);
    if (held.down)
        player->down(level);
    if (held.right)
        player->right();
    if (held.left)
        player->left();
    if (held.viewUp)
        player->viewUp();
    if (held.viewDown)
        player->viewDown();
    if (held.viewRight)
        player->viewRight();
    if (held.viewLeft)
        player->viewLeft();
    if (held.jump)
        player->jump();
}
