#include "cutscene/Movie.h"

#include "level/Level.h"
#include "player/Player.h"

bool Movie::applyToRoom(int code, Player* player, Level* level, TileList* tiles)
{
    switch (code) {
    case codeWalk: player->setWalk(); break;
    case codeRun: player->setRun(); break;
    case codeLeft: player->left(); break;
    case codeRight: player->right(); break;
    case codeTorchOn: player->torchOn(); break;
    case codeTorchOff: player->torchOff(); break;
    case codeJump: player->jump(); break;
    case codeMessage: level->createMessage(text, value1, value2); break;
    case codeElementAnim: level->setElementAnim(text, text2, value1, value2, tiles); break;
    case codeElementPlay: level->setElementPlay(text, fvalue1); break;
    case codeHidePlayer: player->state.visible = false; break;
    case codeFly: player->flying = true; break;
    case codeHideEntity: level->hideEntity(text); break;
    default: return false;
    }
    return true;
}
