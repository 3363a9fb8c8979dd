// The title of the main menu and the credits picture. The menu is drawn
// without lighting, so these are finished pictures; their incandescence
// still marks them as self-lit should a room ever show them.

#include "Art.h"
#include "PixelFont.h"

#include <cmath>

namespace {

void logo(Album& album)
{
    const char* title = "GLOAMER";
    const int cell = 4, margin = 6;
    const int letterW = 5 * cell, letterH = 7 * cell, spacing = 5;
    const int w = 7 * letterW + 6 * spacing + 2 * margin, h = letterH + 2 * margin + 6;
    Picture& p = album.add("logo4.til", w, h);
    // Each pixel of the letter is a small glowing brick: hot in the middle
    // of the letters, cooler at the bottom, lit from the upper left.
    for (int k = 0; title[k]; k++) {
        const char* const* rows = PixelFont::large(title[k]);
        int lx = margin + k * (letterW + spacing);
        for (int j = 0; j < 7; j++)
            for (int i = 0; i < 5; i++) {
                if (rows[j][i] != '#')
                    continue;
                float t = float(j) / 6.0f;
                uint32_t hot = mix(rgb(255, 226, 130), rgb(214, 74, 24), t);
                for (int y = 0; y < cell; y++)
                    for (int x = 0; x < cell; x++) {
                        uint32_t c = hot;
                        if (x == 0 || y == 0)
                            c = mix(hot, 0xFFFFFFFFu, 0.35f);
                        else if (x == cell - 1 || y == cell - 1)
                            c = shade(hot, 0.7f);
                        p.put(0, lx + i * cell + x, margin + j * cell + y, ink(c, 3, 1.0f));
                    }
            }
    }
    // An ember halo around the letters, under them.
    Picture letters = p;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            if (letters.filled(0, x, y))
                continue;
            float best = 99.0f;
            for (int dy = -4; dy <= 4; dy++)
                for (int dx = -4; dx <= 4; dx++)
                    if (letters.filled(0, x + dx, y + dy))
                        best = std::fmin(best, std::sqrt(float(dx * dx + dy * dy)));
            if (best < 4.5f) {
                float a = (1.0f - best / 4.5f);
                p.put(0, x, y, ink(rgb(255, 120, 30, int(a * a * 150)), 1, 0.3f * a));
            }
        }
    // A thin rule under the title.
    for (int x = margin; x < w - margin; x++) {
        float a = std::sin(3.14159f * float(x - margin) / float(w - 2 * margin));
        p.put(0, x, h - 4, ink(rgb(230, 150, 60, int(200 * a)), 1, 0.6f * a));
    }
}

} // namespace

void addTitleArt(Album& album)
{
    logo(album);
    Picture& credits = album.add("cat04.til", 64, 40);
    drawCreditsCat(credits);
}

// Key caps "key_a.anm" to "key_z.anm": frame 0 the key up, frame 1 pressed.
// Shown as on-screen help over usable things, so they carry their own light.
void addKeyArt(Album& album)
{
    const uint32_t face = rgb(214, 214, 206), side = rgb(120, 120, 116), edge = rgb(60, 60, 58);
    const uint32_t letterColour = rgb(30, 30, 40);
    for (char c = 'a'; c <= 'z'; c++) {
        Picture& p = album.addControl(std::string("key_") + c + ".anm", 9, 9, 2);
        for (int f = 0; f < 2; f++) {
            int top = f;            // pressed: the face sinks one pixel
            int sideRows = 2 - f;
            p.fill(f, 1, top, 7, 7, ink(face, 5, 0.6f));
            p.fill(f, 1, top + 7, 7, sideRows, ink(side, 5, 0.6f));
            p.line(f, 0, top + 1, 0, 8, ink(edge, 5, 0.6f));
            p.line(f, 8, top + 1, 8, 8, ink(edge, 5, 0.6f));
            p.line(f, 1, top, 7, top, ink(mix(face, 0xFFFFFFFFu, 0.5f), 5, 0.6f));
            char letter[2] = {c, 0};
            PixelFont::print(p, f, 3, top + 1, letter, ink(letterColour, 5, 0.6f));
        }
    }
}
