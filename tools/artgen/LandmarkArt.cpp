// Landmarks: pieces that tell one place from another at a glance. The
// catacomb galleries carry carved street plaques, each its own street; the
// subway rooms enamel station plates; the hubs one large piece each (the
// ossuary's lintel, the cave's crystals, the car park's painted level);
// the technical rooms a control desk with lit buttons. Lettering and lamps
// glow a little, so a landmark reads even at the edge of a lamp's light.

#include "Art.h"
#include "PixelFont.h"
#include "Rng.h"

#include <cmath>
#include <cstring>

namespace {

// Writes text in the small font, each font pixel as a `scale` x `scale`
// block, centred on column cx; returns the width drawn.
int printCentred(Picture& p, int cx, int y, const char* text, const Ink& pen, int scale = 1)
{
    Picture scratch("scratch", 4 * int(std::strlen(text)) + 1, 5);
    int w = PixelFont::print(scratch, 0, 0, 0, text, ink(0xFFFFFFFFu, 0));
    int left = cx - w * scale / 2;
    for (int sy = 0; sy < 5; sy++)
        for (int sx = 0; sx < w; sx++)
            if (scratch.filled(0, sx, sy))
                p.fill(0, left + sx * scale, y + sy * scale, scale, scale, pen);
    return w * scale;
}

// A stone plaque cut into the gallery wall with its street's name, as the
// quarrymen marked the streets above them.
void streetPlaque(Album& album, const char* name, const char* street)
{
    const int width = 8 + 4 * int(std::strlen(street));
    Picture& p = album.add(name, width, 13);
    const uint32_t stone = rgb(196, 188, 168), edge = rgb(120, 112, 98), cut = rgb(46, 40, 34);
    for (int y = 0; y < p.height; y++)
        for (int x = 0; x < p.width; x++) {
            bool border = x == 0 || y == 0 || x == p.width - 1 || y == p.height - 1;
            float grain = 0.9f + 0.1f * std::sin(x * 2.3f + y * 1.1f);
            p.put(0, x, y, ink(shade(border ? edge : stone, grain), 6));
        }
    p.frameRect(0, 2, 2, width - 4, 9, ink(edge, 5));
    printCentred(p, width / 2, 4, street, ink(cut, 4, 0.15f));
}

// The lintel over the ossuary's gate, carved in large letters.
void ossuaryLintel(Album& album)
{
    Picture& p = album.add("lintel_ossuary.til", 152, 34);
    const uint32_t stone = rgb(206, 196, 170), shadow = rgb(104, 96, 82), cut = rgb(40, 34, 28);
    for (int y = 0; y < p.height; y++)
        for (int x = 0; x < p.width; x++) {
            float grain = 0.88f + 0.12f * std::sin(x * 0.7f) * std::cos(y * 1.3f + x * 0.2f);
            p.put(0, x, y, ink(shade(stone, grain), 7));
        }
    p.fill(0, 0, 0, 152, 3, ink(shadow, 8));
    p.fill(0, 0, 31, 152, 3, ink(shadow, 8));
    printCentred(p, 76, 6, "STOP HERE", ink(cut, 5, 0.2f), 2);
    printCentred(p, 76, 19, "THE EMPIRE OF THE DEAD", ink(cut, 5, 0.2f), 1);
    for (int k : {6, 140})
        p.disc(0, k + 3.0f, 24.0f, 3.0f, 3.0f, ink(shadow, 6));
}

// A blue enamel station plate with white capitals, framed in white.
void stationPlate(Album& album, const char* name, const char* station)
{
    const int width = 12 + 8 * int(std::strlen(station));
    Picture& p = album.add(name, width, 18);
    const uint32_t enamel = rgb(22, 52, 140), white = rgb(236, 236, 226);
    p.fill(0, 0, 0, width, 18, ink(white, 6, 0.1f));
    p.fill(0, 1, 1, width - 2, 16, ink(enamel, 6, 0.1f));
    p.frameRect(0, 2, 2, width - 4, 14, ink(white, 6, 0.25f));
    printCentred(p, width / 2, 4, station, ink(white, 6, 0.35f), 2);
}

// Crystals growing out of the cave floor, cold violet-blue, glowing
// faintly from within.
void caveCrystals(Album& album)
{
    Picture& p = album.add("cave_crystals.til", 56, 40);
    Rng rng(311);
    for (int k = 0; k < 11; k++) {
        float base = 4.0f + k * 4.6f + rng.unit() * 2.0f;
        float lean = (rng.unit() - 0.5f) * 0.9f;
        int h = 12 + rng.range(0, 26 - std::abs(k - 5) * 2);
        float half = 2.0f + rng.unit() * 1.5f;
        for (int j = 0; j < h; j++) {
            float t = float(j) / h;
            float w = t > 0.8f ? half * (1.0f - t) * 5.0f : half;
            float cx = base + lean * j;
            for (int x = int(cx - w); x <= int(cx + w); x++) {
                float side = (x - cx) / (w + 0.01f);
                uint32_t c = mix(rgb(56, 24, 120), rgb(110, 96, 210), 0.5f + 0.5f * side * (side > 0 ? 1 : -0.4f));
                p.put(0, x, 39 - j, ink(c, 6, 0.12f + 0.2f * t));
            }
        }
    }
    for (int x = 0; x < 56; x++)
        for (int y = 36; y < 40; y++)
            if (!p.filled(0, x, y))
                p.put(0, x, y, ink(rgb(70, 62, 58), 6));
}

// The car park's sign, a huge P painted on a pillar's face between hazard
// stripes.
void parkingLevel(Album& album)
{
    Picture& p = album.add("parking_level.til", 48, 64);
    const uint32_t paint = rgb(240, 200, 30), dark = rgb(30, 28, 26);
    p.fill(0, 0, 0, 48, 64, ink(rgb(150, 148, 140), 5));
    for (int band : {0, 56})
        for (int y = 0; y < 8; y++)
            for (int x = 0; x < 48; x++)
                p.put(0, x, band + y, ink((x + y) / 6 % 2 ? paint : dark, 5, 0.1f));
    printCentred(p, 26, 17, "P", ink(paint, 5, 0.3f), 6);
}

// A control desk: a sloped panel of dials and buttons, some lit.
void controlDesk(Album& album)
{
    Picture& p = album.add("tech_control_desk.til", 48, 30);
    p.fill(0, 0, 10, 48, 20, ink(rgb(70, 86, 96), 6));
    for (int y = 0; y < 10; y++)
        p.fill(0, 10 - y, y, 38 + y, 1, ink(rgb(96, 112, 120), 5));
    p.fill(0, 0, 10, 48, 1, ink(rgb(150, 164, 170), 6));
    const uint32_t lit[] = {rgb(255, 60, 40), rgb(60, 255, 90), rgb(255, 210, 40), rgb(80, 160, 255)};
    for (int k = 0; k < 8; k++)
        p.fill(0, 12 + k * 4, 5, 2, 2, ink(lit[k % 4], 5, k % 3 ? 1.0f : 0.3f));
    for (int k = 0; k < 3; k++) {
        p.disc(0, 9.0f + k * 14.0f, 19.0f, 4.0f, 4.0f, ink(rgb(220, 220, 206), 6, 0.3f));
        p.line(0, 9 + k * 14, 19, 11 + k * 14, 16 - k, ink(rgb(200, 30, 20), 6, 0.3f));
    }
    p.fill(0, 4, 26, 40, 2, ink(rgb(40, 46, 50), 6));
}

} // namespace

void addLandmarkArt(Album& album)
{
    static const char* const plaques[][2] = {
        {"plaque_enfer.til", "RUE D ENFER"},         {"plaque_jacques.til", "RUE ST JACQUES"},
        {"plaque_dareau.til", "RUE DAREAU"},         {"plaque_tombe.til", "TOMBE ISSOIRE"},
        {"plaque_montsouris.til", "MONTSOURIS"},     {"plaque_vaugirard.til", "VAUGIRARD"},
        {"plaque_orleans.til", "RTE D ORLEANS"},     {"plaque_gentilly.til", "GENTILLY"},
        {"plaque_sante.til", "RUE DE LA SANTE"},     {"plaque_denfert.til", "PL DENFERT"},
        {"plaque_port_mahon.til", "PORT MAHON"},     {"plaque_val_grace.til", "VAL DE GRACE"},
        {"plaque_boulard.til", "RUE BOULARD"},       {"plaque_ouest.til", "RUE DE L OUEST"},
        {"plaque_halle.til", "RUE HALLE"},           {"plaque_maine.til", "AV DU MAINE"},
        {"plaque_cassini.til", "RUE CASSINI"},       {"plaque_liancourt.til", "LIANCOURT"},
        {"plaque_arago.til", "BD ARAGO"},            {"plaque_froidevaux.til", "FROIDEVAUX"},
    };
    for (const auto& plaque : plaques)
        streetPlaque(album, plaque[0], plaque[1]);
    ossuaryLintel(album);
    static const char* const plates[][2] = {
        {"plate_gloamer.til", "GLOAMER"}, {"plate_ossuary.til", "OSSUARY"}, {"plate_quarries.til", "QUARRIES"},
        {"plate_terminus.til", "TERMINUS"},
    };
    for (const auto& plate : plates)
        stationPlate(album, plate[0], plate[1]);
    caveCrystals(album);
    parkingLevel(album);
    controlDesk(album);
}
