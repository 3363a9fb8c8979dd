#include "world/World.h"

#include "level/Level.h"
#include "level/LevelView.h"
#include "player/Player.h"
#include "render/Screen.h"
#include "ui/Hud.h"

namespace {

const int candleDiscColour = int(0xFF666600u);
const int candleWickColour = int(0x88333300u);

} // namespace

void World::draw(Screen* screen)
{
    const bool dying = gameOver.stage != StageNone;
    view->beginLevel(level, screen, camX, camY);
    if (dying)
        screen->setLuminance(gameOver.luminance);
    drawGameOver1(screen);
    if (!dying) {
        player->drawBack(level, screen, camX, camY);
        player->draw(screen, camX, camY);
        level->drawLeverLamps(screen, camX, camY);
    }
    view->drawFrontLayer(level, camX, camY);
    if (dying) {
        view->frontLayer->setSaturation(gameOver.saturation);
        view->frontLayer->setLuminance(gameOver.luminance);
    }
    view->finishLevel(level, screen, camX, camY);
    if (dying && gameOver.time < 200.0f)
        player->drawDead(screen, camX, camY, gameOver.time, 1.0f - gameOver.luminance);
    view->endLevel(level);
    if (!dying)
        player->drawFront(level, screen, camX, camY);
    screen->setLuminance(luminance);
    level->drawIntro(screen);
    drawGameOver2(screen);
    if (!dying && hudVisible) {
        hud->draw(screen, player);
        player->drawHelp(level, screen, camX, camY);
    }
    drawSkipHint(screen);
}

void World::drawGameOver1(Screen* screen)
{
    // One step per drawn frame; a stage reached here acts in the same call.
    GAME_OVER& g = gameOver;
    if (g.stage == StageDied) {
        g.stage = StageGrey;
        g.saturation = 1.0f;
        g.luminance = 1.0f;
        g.time = 0.0f;
        level->terminateMessage();
    }
    if (g.stage == StageGrey) {
        g.saturation -= 0.05f;
        g.luminance -= 0.015f;
        if (g.saturation <= 0.0f) {
            g.stage = StageDark;
            g.time = 0.1f;
        }
        screen->setSaturation(g.saturation);
    }
    if (g.stage == StageDark) {
        g.luminance -= 0.015f;
        g.time *= 1.1f;
        screen->setSaturation(g.saturation);
        if (g.luminance <= 0.0f) {
            g.stage = StageGrow;
            g.candleFrame = 0.0f;
        }
    }
    if (g.stage == StageGrow) {
        g.time *= 1.1f;
        if (g.time > 500.0f)
            g.stage = StageWait;
    }
}

void World::drawGameOver2(Screen* screen)
{
    GAME_OVER& g = gameOver;
    if (g.stage != StageWait)
        return;
    const int cx = screen->width / 2, cy = screen->height / 2;
    // The candle of "GAME OVER" burns only when the death costs the checkpoint.
    if (player->state.respawn == 0) {
        screen->fillCircle(cx, cy, 20, 0.5f, candleDiscColour);
        screen->fillCircle(cx, cy, 6, 0.5f, candleWickColour);
        g.candle.draw(int(g.candleFrame), cx - g.candle.width / 2, cy - g.candle.height, screen);
        g.candleFrame += 0.1f;
        if (int(g.candleFrame) >= g.candle.frameCount)
            g.candleFrame = 0.0f;
        Typo* font = level->getTypo();
        if (font)
            font->printCenter("GAME OVER", cx, cy + 20, screen);
    }
    smallTypo.printCenter("PRESS ANY KEY", cx, cy + 50, screen);
}
