#include "authoring/LevelShot.h"

#include "base/BoundedString.h"
#include "base/TextReader.h"
#include "render/PngImage.h"
#include "assets/TileList.h"
#include "assets/Typo.h"
#include "level/Element.h"
#include "level/Level.h"
#include "level/LevelView.h"
#include "level/Light.h"
#include "render/Screen.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

bool readSize(const char* text, int* w, int* h)
{
    const char* x = text ? std::strchr(text, 'x') : nullptr;
    if (!x)
        return false;
    char first[32];
    std::size_t n = std::size_t(x - text);
    if (n >= sizeof first)
        return false;
    std::memcpy(first, text, n);
    first[n] = 0;
    return readWholeNumber(first, 1, LevelShot::maxSide, w) && readWholeNumber(x + 1, 1, LevelShot::maxSide, h);
}

const Element* findElement(const std::vector<Element*>& list, const char* name)
{
    for (const Element* e : list)
        if (std::strcmp(e->name, name) == 0)
            return e;
    return nullptr;
}

} // namespace

int LevelShot::parseArguments(int argc, char** argv)
{
    int positional = 0;
    for (int i = 1; i < argc; i++) {
        const char* a = argv[i];
        bool more = i + 1 < argc;
        if (std::strcmp(a, "--at") == 0 && more) {
            int x, y;
            if (i + 2 < argc && readWholeNumber(argv[i + 1], INT_MIN / 2, INT_MAX / 2, &x) &&
                readWholeNumber(argv[i + 2], INT_MIN / 2, INT_MAX / 2, &y)) {
                atPoint = true;
                atX = x;
                atY = y;
                atName[0] = 0;
                i += 2;
            } else {
                boundedCopy(atName, sizeof atName, argv[++i]);
                atPoint = false;
            }
        } else if (std::strcmp(a, "--size") == 0 && more) {
            if (!readSize(argv[++i], &width, &height)) {
                boundedFormat(error, sizeof error, "bad size \"%s\": WxH, each 1 to %d", argv[i], maxSide);
                return 0;
            }
        } else if (std::strcmp(a, "--lamp") == 0 && more) {
            const char* names[] = {"none", "candle", "torch", "aceto"};
            lamp = -1;
            for (int k = 0; k < 4; k++)
                if (std::strcmp(argv[i + 1], names[k]) == 0)
                    lamp = k;
            if (lamp < 0) {
                boundedFormat(error, sizeof error, "unknown lamp \"%s\": candle, torch, aceto or none", argv[i + 1]);
                return 0;
            }
            i++;
        } else if (std::strcmp(a, "--passes") == 0 && more) {
            if (!readWholeNumber(argv[++i], 0, maxPasses, &passes)) {
                boundedFormat(error, sizeof error, "bad pass count \"%s\": 0 to %d", argv[i], maxPasses);
                return 0;
            }
        } else if (std::strcmp(a, "--game") == 0 && more) {
            boundedCopy(game, sizeof game, argv[++i]);
        } else if (a[0] == '-' && a[1] == '-') {
            boundedFormat(error, sizeof error, "unknown or incomplete option \"%s\"", a);
            return 0;
        } else if (positional == 0) {
            boundedCopy(level, sizeof level, a);
            positional++;
        } else if (positional == 1) {
            boundedCopy(output, sizeof output, a);
            positional++;
        } else {
            boundedFormat(error, sizeof error, "unexpected argument \"%s\"", a);
            return 0;
        }
    }
    if (positional < 2) {
        boundedCopy(error, sizeof error, "a level and an output picture are needed");
        return 0;
    }
    return 1;
}

int LevelShot::findPoint(const Level* l, int* x, int* y)
{
    if (atName[0]) {
        const Element* e = nullptr;
        for (const std::vector<Element*>* list : {&l->elements, &l->actives, &l->backgrounds, &l->bonus})
            if (!e)
                e = findElement(*list, atName);
        if (!e) {
            boundedFormat(error, sizeof error, "no element called \"%s\"", atName);
            return 0;
        }
        int w = 0, h = 0;
        e->getDimensions(&w, &h);
        *x = e->x + w / 2;
        *y = e->y + h / 2;
    } else if (atPoint) {
        *x = atX;
        *y = atY;
    } else {
        *x = l->originX + l->mapWidth / 2;
        *y = l->originY + l->mapHeight / 2;
    }
    return 1;
}

void LevelShot::centre(int x, int y, int w, int h, int* ox, int* oy)
{
    *ox = w / 2 - x;
    *oy = h / 2 - y;
}

int LevelShot::savePicture(const Screen* s, const char* file)
{
    PngImage picture;
    picture.resize(s->width * magnification, s->height * magnification);
    for (int x = 0; x < picture.width; x++)
        for (int y = 0; y < picture.height; y++)
            picture.set(x, y, uint32_t(s->getPixel(x / magnification, y / magnification)) | 0xFF000000u);
    if (!picture.save(file)) {
        boundedCopy(error, sizeof error, picture.error);
        return 0;
    }
    return 1;
}

uint32_t LevelShot::checksum(const Screen* s)
{
    // FNV-1a over the pixels in buffer order.
    uint32_t h = 2166136261u;
    for (int i = 0; i < s->width * s->height; i++) {
        uint32_t p = uint32_t(s->pixels[i]);
        for (int k = 0; k < 4; k++) {
            h ^= (p >> (8 * k)) & 255u;
            h *= 16777619u;
        }
    }
    return h;
}

int LevelShot::render(Screen* screen)
{
    char previous[PATH_MAX];
    if (!getcwd(previous, sizeof previous)) {
        boundedCopy(error, sizeof error, "cannot tell the current folder");
        return 0;
    }
    if (chdir(game) != 0) {
        boundedFormat(error, sizeof error, "cannot enter the game folder \"%s\"", game);
        return 0;
    }
    int done = renderHere(screen);
    if (chdir(previous) != 0 && done) {
        boundedFormat(error, sizeof error, "cannot go back to \"%s\"", previous);
        done = 0;
    }
    return done;
}

int LevelShot::renderHere(Screen* screen)
{
    // Flicker, dirt, noise and random bonuses draw on rand: the same seed
    // gives the same picture every time.
    std::srand(1);
    TileList tiles("./tiles.dat", true);
    Typo font;
    font.load("typo.dat");
    // The lamp outlives the room, which only points at it.
    Light lampLight;
    Level room;
    char path[512];
    boundedFormat(path, sizeof path, "./Level/%s", level);
    if (!room.load(path, &tiles, &font, screen) && !room.load(level, &tiles, &font, screen)) {
        boundedFormat(error, sizeof error, "cannot load the level \"%s\" from \"%s\"", level, game);
        return 0;
    }
    int x = 0, y = 0, ox = 0, oy = 0;
    if (!findPoint(&room, &x, &y))
        return 0;
    centre(x, y, screen->width, screen->height, &ox, &oy);
    if (lamp != LampNone) {
        lampLight.setStyle(lamp);
        lampLight.x = x;
        lampLight.y = y;
        lampLight.external = true;
        room.addLight(&lampLight);
    }
    LevelView view(screen->width, screen->height);
    // Each pass is one frame of the game: the cloud moves, the light is
    // computed and published, and the frame is drawn (remembering what it lit).
    for (int pass = 0; pass < std::max(1, passes); pass++) {
        if (pass < passes) {
            room.computeCloud();
            room.computeLighting(ox, oy, screen->width, screen->height, lightMargin);
        }
        screen->clear(int(0xFF000000u));
        view.draw(&room, screen, ox, oy);
        room.drawIntro(screen);
    }
    return 1;
}
