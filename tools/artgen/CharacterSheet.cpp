#include "CharacterSheet.h"

#include "PixelFont.h"
#include "base/ReplacingFile.h"
#include "assets/Animation.h"
#include "authoring/PngImage.h"
#include "render/Screen.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace {

// Palette digits of the figure's parts.
const char rim = '1', skin = '2', hair = '3', jacket = '4', jacketLight = '5', jacketDark = '6', trousers = '7',
           trousersDark = '8', scarf = '9', shoe = '1';

// Body measures in pixels, for a figure about 21 pixels tall whose feet
// rest on the frame's bottom row when standing.
const float thighLength = 4.5f, shinLength = 4.2f, torsoLength = 6.5f, shoulderHeight = 5.2f;
const float upperArmLength = 3.4f, forearmLength = 3.2f, headRadius = 2.5f;
const float hipX = 9.5f, hipY = 14.0f;

struct Point {
    float x, y;
};

Point operator+(Point a, Point b)
{
    return {a.x + b.x, a.y + b.y};
}

Point scaled(Point a, float f)
{
    return {a.x * f, a.y * f};
}

// Unit vector at `degrees` from straight down, positive angles turning
// toward +x (forward, or outward on the right side of a back view).
Point fromDown(float degrees, float side = 1.0f)
{
    float r = degrees * 3.14159265f / 180.0f;
    return {side * std::sin(r), std::cos(r)};
}

class Painter {
public:
    Painter(int w, int h) : width(w), height(h), digits(size_t(w) * size_t(h), '0') {}

    void put(int x, int y, char c)
    {
        if (x >= 0 && y >= 0 && x < width && y < height)
            digits[size_t(y) * width + x] = c;
    }

    // Every pixel whose centre lies within r of the segment a-b.
    void segment(Point a, Point b, float r, char c)
    {
        int x0 = int(std::floor(std::min(a.x, b.x) - r)), x1 = int(std::ceil(std::max(a.x, b.x) + r));
        int y0 = int(std::floor(std::min(a.y, b.y) - r)), y1 = int(std::ceil(std::max(a.y, b.y) + r));
        float dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
        for (int y = y0; y <= y1; y++)
            for (int x = x0; x <= x1; x++) {
                float px = x + 0.5f - a.x, py = y + 0.5f - a.y;
                float t = length2 > 0 ? std::clamp((px * dx + py * dy) / length2, 0.0f, 1.0f) : 0.0f;
                float ex = px - t * dx, ey = py - t * dy;
                if (ex * ex + ey * ey <= r * r)
                    put(x, y, c);
            }
    }

    void disc(Point c, float r, char colour) { segment(c, c, r, colour); }

    // A dark rim in the empty pixels beside the figure.
    void outline()
    {
        std::vector<char> before = digits;
        auto filled = [&](int x, int y) {
            return x >= 0 && y >= 0 && x < width && y < height && before[size_t(y) * width + x] != '0';
        };
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++)
                if (!filled(x, y) && (filled(x - 1, y) || filled(x + 1, y) || filled(x, y - 1) || filled(x, y + 1)))
                    put(x, y, rim);
    }

    int width, height;
    std::vector<char> digits;
};

// A leg from the hip: thigh, shin and a shoe pointing forward from the shin.
void drawLeg(Painter& p, Point hip, float thigh, float knee, float side, char colour)
{
    Point kneeAt = hip + scaled(fromDown(thigh, side), thighLength);
    Point shin = fromDown(thigh - knee, side);
    Point ankle = kneeAt + scaled(shin, shinLength);
    p.segment(hip, kneeAt, 1.05f, colour);
    p.segment(kneeAt, ankle, 0.95f, colour);
    Point toe = ankle + Point{side * shin.y * 1.6f, -side * shin.x * 1.6f};
    p.segment(ankle, toe, 0.7f, shoe);
}

// An arm from the shoulder; returns where the hand is.
Point drawArm(Painter& p, Point shoulder, float arm, float elbow, float side, char colour)
{
    Point elbowAt = shoulder + scaled(fromDown(arm, side), upperArmLength);
    Point hand = elbowAt + scaled(fromDown(arm + elbow, side), forearmLength);
    p.segment(shoulder, elbowAt, 0.8f, colour);
    p.segment(elbowAt, hand, 0.7f, colour);
    p.disc(hand, 0.6f, skin);
    return hand;
}

// A head in profile facing right: skin, hair over the crown and the back,
// one dark pixel of eye.
void drawProfile(Painter& p, Point head)
{
    p.disc(head, headRadius, skin);
    for (int y = int(head.y - headRadius - 1); y <= int(head.y + headRadius); y++)
        for (int x = int(head.x - headRadius - 1); x <= int(head.x + headRadius + 1); x++) {
            float dx = x + 0.5f - head.x, dy = y + 0.5f - head.y;
            bool inside = dx * dx + dy * dy <= headRadius * headRadius + 0.6f;
            if (inside && (dy < -0.9f || (dx < -0.2f && dy < 1.2f)))
                p.put(x, y, hair);
        }
    p.put(int(head.x + 1.3f), int(head.y - 0.2f), rim);
}

// Seen from the side, facing right: far limbs behind the body in darker
// shades, near limbs in front.
Point drawSide(Painter& p, const POSE& pose)
{
    Point hip{hipX + pose.hipX, hipY + pose.hipY};
    Point up = fromDown(180.0f - pose.lean);
    Point shoulder = hip + scaled(up, shoulderHeight);
    Point neck = hip + scaled(up, torsoLength);
    Point head = neck + scaled(up, headRadius - 0.3f) + Point{0.4f, 0.0f};

    drawArm(p, shoulder, pose.farArm, pose.farElbow, 1.0f, jacketDark);
    drawLeg(p, hip, pose.farThigh, pose.farKnee, 1.0f, trousersDark);
    p.segment(hip, shoulder, 1.9f, jacket);
    p.disc(hip, 1.4f, trousers);
    p.segment(hip + scaled(up, 2.0f), hip + scaled(up, 2.6f), 1.9f, jacket);
    p.disc(neck + Point{0.3f, 0.3f}, 1.0f, scarf);
    drawProfile(p, head);
    drawLeg(p, hip, pose.nearThigh, pose.nearKnee, 1.0f, trousers);
    return drawArm(p, shoulder, pose.nearArm, pose.nearElbow, 1.0f, jacketLight);
}

// Seen from the back, as on a ladder: the left limbs are "near".
Point drawBack(Painter& p, const POSE& pose)
{
    float cx = hipX + pose.hipX;
    Point hip{cx, hipY + pose.hipY};
    Point neck{cx, hip.y - torsoLength};
    Point head{cx, neck.y - headRadius + 0.3f};

    drawLeg(p, hip + Point{1.3f, 0}, pose.farThigh, pose.farKnee, 1.0f, trousers);
    drawLeg(p, hip + Point{-1.3f, 0}, pose.nearThigh, pose.nearKnee, -1.0f, trousers);
    p.segment(hip + Point{0, -1.0f}, neck + Point{0, 1.5f}, 2.1f, jacket);
    p.segment(hip + Point{-1.0f, -0.5f}, hip + Point{1.0f, -0.5f}, 1.3f, trousers);
    Point shoulderLeft = neck + Point{-2.2f, 1.6f}, shoulderRight = neck + Point{2.2f, 1.6f};
    drawArm(p, shoulderRight, pose.farArm, pose.farElbow, 1.0f, jacket);
    Point hand = drawArm(p, shoulderLeft, pose.nearArm, pose.nearElbow, -1.0f, jacketLight);
    // The head last, so that raised arms pass beside it rather than over it.
    p.disc(neck + Point{0, 0.6f}, 1.0f, scarf);
    p.disc(head, headRadius, hair);
    return hand;
}

SHEET_FRAME drawFrame(const CharacterPoses& poses, const POSE_SEQUENCE& s, const POSE& pose)
{
    Painter p(poses.width, poses.height);
    Point hand = s.back ? drawBack(p, pose) : drawSide(p, pose);
    if (poses.outline)
        p.outline();
    SHEET_FRAME f;
    f.digits = p.digits;
    f.moveX = pose.moveX;
    f.moveY = pose.moveY;
    f.lightX = int(hand.x);
    f.lightY = int(hand.y);
    return f;
}

} // namespace

CharacterSheet::CharacterSheet(const CharacterPoses& p) : poses(p)
{
    for (const POSE_SEQUENCE& s : poses.sequences)
        for (const POSE& pose : s.frames)
            frames.push_back(drawFrame(poses, s, pose));
}

int CharacterSheet::write(const std::string& file, std::string& error) const
{
    ReplacingFile f(file.c_str(), "w");
    if (!f.out) {
        error = "cannot create " + file;
        return 0;
    }
    bool ok = std::fprintf(f.out, "%d %d %d %d\n", poses.width, poses.height, int(frames.size()),
                  int(poses.sequences.size())) > 0;
    int begin = 0;
    for (const POSE_SEQUENCE& s : poses.sequences) {
        int end = begin + int(s.frames.size()) - 1;
        ok = ok && std::fprintf(f.out, "%s %d %d\n", s.name.c_str(), begin, end) > 0;
        begin = end + 1;
    }
    // Colours as signed decimals: the reader takes them with "%d".
    for (uint32_t c : poses.palette)
        ok = ok && std::fprintf(f.out, "%d\n", int(c)) > 0;
    for (const SHEET_FRAME& frame : frames) {
        ok = ok && std::fprintf(f.out, "%d %d\n%d %d\n", frame.moveX, frame.moveY, frame.lightX, frame.lightY) > 0;
        for (int y = 0; y < poses.height && ok; y++)
            ok = std::fprintf(f.out, "%.*s\n", poses.width, &frame.digits[size_t(y) * poses.width]) > 0;
    }
    if (!f.commit(ok)) {
        error = "cannot write " + file;
        return 0;
    }
    return 1;
}

namespace {

const int zoom = 4;
const int gap = 6;
const int labelHeight = 14;
const int offsetHeight = 14;
const uint32_t background = 0xFF1A1A22u;
const uint32_t cellColour = 0xFF5E5E66u;
const uint32_t darkRoom = 0xFF0C0C10u;
const uint32_t anchorColour = 0xFF40F0FFu;
const uint32_t textColour = 0xFFD8D8D8u;

// Lettering at twice the small font's size.
void print(PngImage& png, int x, int y, const std::string& text, uint32_t colour)
{
    for (char c : text) {
        const char* const* rows = PixelFont::small(char(std::toupper((unsigned char)c)));
        for (int j = 0; rows && j < 5; j++)
            for (int i = 0; i < 3; i++)
                if (rows[j][i] == '#')
                    for (int k = 0; k < 4; k++)
                        png.set(x + 2 * i + k % 2, y + 2 * j + k / 2, colour);
        x += 8;
    }
}

void fill(PngImage& png, int x, int y, int w, int h, uint32_t colour)
{
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            png.set(i, j, colour);
}

uint32_t over(uint32_t back, int c)
{
    return Screen::getAlpha(c) == 0 ? back : uint32_t(c) | 0xFF000000u;
}

// One frame at 4x on a grey cell, its light anchor framed.
void drawZoomed(PngImage& png, const Animation& a, int frame, int x0, int y0)
{
    fill(png, x0, y0, a.width * zoom, a.height * zoom, cellColour);
    for (int y = 0; y < a.height; y++)
        for (int x = 0; x < a.width; x++)
            fill(png, x0 + x * zoom, y0 + y * zoom, zoom, zoom, over(cellColour, a.getColor(x, y, frame)));
    int lx, ly;
    a.lightCoords(&lx, &ly, frame);
    int bx = x0 + lx * zoom - 2, by = y0 + ly * zoom - 2, side = zoom + 4;
    for (int i = 0; i < side; i++) {
        png.set(bx + i, by, anchorColour);
        png.set(bx + i, by + side - 1, anchorColour);
        png.set(bx, by + i, anchorColour);
        png.set(bx + side - 1, by + i, anchorColour);
    }
}

// The frames of a sequence at their game size, drawn as the game draws
// them: facing right and mirrored on grey, then facing right on the near
// black of an unlit room.
void drawGameSize(PngImage& png, const Animation& a, int begin, int end, int x0, int y0)
{
    int count = end - begin + 1, band = a.height + 2;
    Screen s(count * (a.width + 2), 3 * band, 1);
    s.clear(int(cellColour));
    s.fillRect(0, 2 * band, s.width, band, int(darkRoom));
    for (int f = begin; f <= end; f++)
        for (int row = 0; row < 3; row++)
            a.draw((f - begin) * (a.width + 2), row * band, f, row == 1, &s);
    for (int x = 0; x < s.width; x++)
        for (int y = 0; y < s.height; y++)
            png.set(x0 + x, y0 + y, uint32_t(s.getPixel(x, y)) | 0xFF000000u);
}

} // namespace

int writeCharacterPreview(const std::string& sheetFile, const std::string& pngFile, std::string& error)
{
    Animation a;
    if (!a.loadFromFile2(sheetFile.c_str())) {
        error = "cannot read the sheet " + sheetFile;
        return 0;
    }
    int longest = 0;
    for (int s = 0; s < a.getSeqCount(); s++)
        longest = std::max(longest, a.getSeqEnd(s) - a.getSeqBegin(s) + 1);
    int cellW = a.width * zoom + gap, rowH = labelHeight + a.height * zoom + offsetHeight + gap;
    int gameW = longest * (a.width + 2);
    PngImage png;
    png.resize(gap + longest * cellW + gameW + gap, gap + a.getSeqCount() * rowH, background);
    for (int s = 0; s < a.getSeqCount(); s++) {
        int begin = a.getSeqBegin(s), end = a.getSeqEnd(s), y = gap + s * rowH;
        int totalX = 0, totalY = 0;
        for (int f = begin; f <= end; f++) {
            int dx, dy;
            a.moveCoords(&dx, &dy, f);
            totalX += dx;
            totalY += dy;
            int x = gap + (f - begin) * cellW;
            drawZoomed(png, a, f, x, y + labelHeight);
            print(png, x, y + labelHeight + a.height * zoom + 3, std::to_string(dx) + " " + std::to_string(dy),
                textColour);
        }
        print(png, gap, y, std::string(a.getSeqName(s)) + "  " + std::to_string(end - begin + 1) +
                               " frames  moves " + std::to_string(totalX) + " " +
                               std::to_string(totalY), textColour);
        drawGameSize(png, a, begin, end, gap + longest * cellW, y + labelHeight);
    }
    if (!png.save(pngFile.c_str())) {
        error = png.error;
        return 0;
    }
    return 1;
}
