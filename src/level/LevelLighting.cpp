// The lighting engine: one pass lights the part of the level map around
// the view into the light buffer that is not shown, then publishes it; the
// lighting thread repeats passes while the level is played.
#include "level/Level.h"
#include "level/Light.h"
#include "platform/KeptArray.h"
#include "render/Screen.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cmath>
#include <cstring>
#include <thread>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace {

// Depth 10 is solid rock: it ends a shadow march and blocks the light.
const int rockDepth = 10;
// Lights are added to the light buffer this many map columns at a time.
const int stripColumns = 16;
// Directional light marches start this many steps back from the cell.
const int directionalSteps = 60;
// Directions beyond this many pixels per step leave the exact integer range
// of a float sample position; their marches take the general route.
const int largestExactDirection = 100000;

CELL_BOX clipToMap(const Level& level, long long x0, long long y0, long long x1, long long y1)
{
    return CELL_BOX{int(std::max(0LL, x0)), int(std::max(0LL, y0)), int(std::min<long long>(level.mapWidth, x1)),
                    int(std::min<long long>(level.mapHeight, y1))};
}

// The cells a pass over the view (x, y, w, h) lights, with `margin` cells
// on every side.
CELL_BOX passRegion(const Level& level, int x, int y, int w, int h, int margin)
{
    long long x0 = -(long long)x - level.originX - margin;
    long long y0 = -(long long)y - level.originY - margin;
    return clipToMap(level, x0, y0, x0 + w + 2LL * margin, y0 + h + 2LL * margin);
}

// Asks for the cache line of `p` ahead of its use: a pass walks the map a
// column at a time, and the hardware fetches ahead only within a column.
inline void fetchAhead(const void* p)
{
#if defined(__GNUC__)
    __builtin_prefetch(p, 0, 1);
#else
    (void)p;
#endif
}

bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

CELL_BOX unite(const CELL_BOX& a, const CELL_BOX& b)
{
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    return CELL_BOX{std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

CELL_BOX intersect(const CELL_BOX& a, const CELL_BOX& b)
{
    CELL_BOX c{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
    return c.empty() ? CELL_BOX{0, 0, 0, 0} : c;
}

// Depths read straight from the map; the caller keeps (mx, my) inside it.
struct MapDepths {
    const LevelPixel* map;
    int height;
    int at(int mx, int my) const { return map[mx * height + my].depth; }
};

// Depths read from the map, baseDepth outside it.
struct CheckedDepths {
    const Level* level;
    int at(int mx, int my) const
    {
        if (mx < 0 || my < 0 || mx >= level->mapWidth || my >= level->mapHeight)
            return level->baseDepth;
        return level->map[mx * level->mapHeight + my].depth;
    }
};

// The compact copy of the depths of a box of cells, one byte each, that the
// shadow marches walk: a march reads dozens of cells per lit cell, and a
// byte plane keeps them in cache where whole map cells would not fit.
struct PlaneDepths {
    const signed char* depths;
    int x0;
    int y0;
    int height;
    int at(int mx, int my) const { return depths[(mx - x0) * height + (my - y0)]; }
};

// The march from a light inside the map at cell (lmx, lmy) to cell (mx, my):
// the nearest occluder's depth, falling by one per cell behind it. A light
// whose cell is rock (a lamp held into a wall or through a floor) shines
// from where its ray leaves the rock: the march starts at the first sample
// out of it, and a cell the ray reaches still in rock has no occluder but
// itself.
template <typename Depths>
int marchFromLight(const Depths& depths, int mx, int my, int lmx, int lmy)
{
    int dx = mx - lmx;
    int dy = my - lmy;
    if (dx == 0 && dy == 0)
        return depths.at(lmx, lmy);
    int n = std::max(std::abs(dx), std::abs(dy));
    float stepX = float(dx) / float(n);
    float stepY = float(dy) / float(n);
    auto sample = [&](int i) {
        return depths.at(int(float(lmx) + float(i) * stepX), int(float(lmy) + float(i) * stepY));
    };
    int i = 0;
    while (i < n && sample(i) == rockDepth)
        i++;
    if (i == n)
        return depths.at(mx, my);
    int d = sample(i);
    for (; i < n; i++) {
        if (d == rockDepth)
            return rockDepth;
        int s = sample(i);
        d = s >= d ? s : d - 1;
    }
    return d;
}

// The plane of a pass where no depth exceeds rock. There a march's d
// after sample i is max over the samples j so far of (depth_j + j) - i, and
// it returns 10 exactly when it meets a sample of depth 10; and along the
// march's major axis the step is exactly 1, so that coordinate is whole.
struct ShallowPlaneDepths : PlaneDepths {
};

// The samples of a march on the plane from the light at (lmx, lmy) towards
// a cell dx, dy away (not both 0), one per step along its major axis.
struct PLANE_RAY {
    PLANE_RAY(const PlaneDepths& plane, int dx, int dy, int lmx, int lmy)
    {
        bool alongX = std::abs(dx) >= std::abs(dy);
        steps = alongX ? std::abs(dx) : std::abs(dy);
        // The minor coordinate keeps the float arithmetic of the plain march.
        minorStep = float(alongX ? dy : dx) / float(steps);
        minorStart = float(alongX ? lmy : lmx);
        int majorSign = (alongX ? dx : dy) > 0 ? 1 : -1;
        light = plane.depths + (std::ptrdiff_t(lmx - plane.x0) * plane.height + (lmy - plane.y0));
        majorStride = alongX ? std::ptrdiff_t(majorSign) * plane.height : majorSign;
        minorStride = alongX ? 1 : plane.height;
        minorOrigin = alongX ? lmy : lmx;
    }
    int sample(int i) const
    {
        int minor = int(minorStart + float(i) * minorStep);
        return light[i * majorStride + (minor - minorOrigin) * minorStride];
    }
    int steps;
    float minorStep;
    float minorStart;
    const signed char* light;
    std::ptrdiff_t majorStride;
    std::ptrdiff_t minorStride;
    int minorOrigin;
};

int marchFromLight(const ShallowPlaneDepths& plane, int mx, int my, int lmx, int lmy)
{
    if (mx == lmx && my == lmy)
        return plane.at(lmx, lmy);
    const PLANE_RAY ray(plane, mx - lmx, my - lmy, lmx, lmy);
    const int n = ray.steps;
    int i = 0;
    while (i < n && ray.sample(i) == rockDepth)
        i++;
    if (i == n)
        return plane.at(mx, my);
    int best = -1000;
    for (; i < n; i++) {
        int s = ray.sample(i);
        if (s == rockDepth)
            return rockDepth;
        best = std::max(best, s + i);
    }
    return best - (n - 1);
}

// Where the rock lies in a box of the plane: per cell (x, y) of the box
// plus one row and column, how many rock cells lie above and to the left.
// A march whose cells all lie in a box without rock needs no rock test.
struct ROCK_COUNTS {
    std::vector<int>& below;
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    void count(const PlaneDepths& plane, const CELL_BOX& box)
    {
        x0 = box.x0, y0 = box.y0, x1 = box.x1, y1 = box.y1;
        const std::size_t stride = std::size_t(y1 - y0) + 1;
        below.assign(stride * (std::size_t(x1 - x0) + 1), 0);
        for (int mx = x0; mx < x1; mx++) {
            const int* left = &below[std::size_t(mx - x0) * stride];
            int* column = &below[std::size_t(mx - x0 + 1) * stride];
            int run = 0;
            for (int my = y0; my < y1; my++) {
                run += plane.at(mx, my) == rockDepth;
                column[my - y0 + 1] = left[my - y0 + 1] + run;
            }
        }
    }
    // No rock in the cells between (ax, ay) and (bx, by), corners included,
    // widened by one cell on every side and clipped to the box.
    bool clear(int ax, int ay, int bx, int by) const
    {
        int left = std::max(x0, std::min(ax, bx) - 1) - x0, right = std::min(x1, std::max(ax, bx) + 2) - x0;
        int top = std::max(y0, std::min(ay, by) - 1) - y0, bottom = std::min(y1, std::max(ay, by) + 2) - y0;
        const std::size_t stride = std::size_t(y1 - y0) + 1;
        auto at = [&](int x, int y) { return below[std::size_t(x) * stride + std::size_t(y)]; };
        return at(right, bottom) - at(left, bottom) - at(right, top) + at(left, top) == 0;
    }
};

// The shallow plane with the rock of the box an omni or spot light's
// marches read counted: a march that meets no rock is decided by its last
// samples alone.
struct CountedPlaneDepths : ShallowPlaneDepths {
    const ROCK_COUNTS* rock;
};

int marchFromLight(const CountedPlaneDepths& plane, int mx, int my, int lmx, int lmy)
{
    if (!plane.rock->clear(lmx, lmy, mx, my))
        return marchFromLight(static_cast<const ShallowPlaneDepths&>(plane), mx, my, lmx, lmy);
    if (mx == lmx && my == lmy)
        return plane.at(lmx, lmy);
    // Without rock the march's result is max over its samples i of
    // (depth_i + i) - (n - 1), and no depth exceeds rockDepth - 1: walking
    // back from the last sample, the earlier ones cannot raise the maximum
    // once rockDepth - 1 + i is no more than it.
    const PLANE_RAY ray(plane, mx - lmx, my - lmy, lmx, lmy);
    const int n = ray.steps;
    int best = -1000;
    for (int i = n - 1; i >= 0 && rockDepth - 1 + i > best; i--)
        best = std::max(best, ray.sample(i) + i);
    return best - (n - 1);
}

// The directional march to cell (mx, my) of the map, for whole directions
// of at most largestExactDirection: its samples are the cells (mx, my) -
// j x (dirX, dirY) for j from 60 down to 0, and those inside the map are
// exactly j = 0..last, so the march walks the plane with a fixed stride.
int directionalOnPlane(const Level& level, const PlaneDepths& plane, int mx, int my, int dirX, int dirY)
{
    int last = directionalSteps;
    if (dirX > 0)
        last = std::min(last, mx / dirX);
    else if (dirX < 0)
        last = std::min(last, (level.mapWidth - 1 - mx) / -dirX);
    if (dirY > 0)
        last = std::min(last, my / dirY);
    else if (dirY < 0)
        last = std::min(last, (level.mapHeight - 1 - my) / -dirY);
    const signed char* cell = plane.depths + (std::ptrdiff_t(mx - plane.x0) * plane.height + (my - plane.y0));
    std::ptrdiff_t stride = std::ptrdiff_t(dirX) * plane.height + dirY;
    int d = cell[-last * stride];
    for (int j = last - 1; j >= 0; j--) {
        if (d == level.baseDepth)
            return level.baseDepth;
        int sample = cell[-j * stride];
        d = sample >= d ? sample : d - 1;
    }
    return d;
}

int directionalDepth(const Level& level, const PlaneDepths& plane, int mx, int my, int dirX, int dirY)
{
    if (std::abs(dirX) > largestExactDirection || std::abs(dirY) > largestExactDirection)
        return level.lightGetDirectionalDepth(float(mx), float(my), float(dirX), float(dirY));
    return directionalOnPlane(level, plane, mx, my, dirX, dirY);
}

int directionalDepth(const Level& level, const ShallowPlaneDepths& plane, int mx, int my, int dirX, int dirY)
{
    return directionalDepth(level, static_cast<const PlaneDepths&>(plane), mx, my, dirX, dirY);
}

int directionalDepth(const Level& level, const MapDepths&, int mx, int my, int dirX, int dirY)
{
    return level.lightGetDirectionalDepth(float(mx), float(my), float(dirX), float(dirY));
}

// The directional march's results for every cell of the region at once,
// column-major over the region, when no depth the marches read exceeds
// baseDepth B. A march keeps d = max(sample, d - 1), so after sample j of
// its line it holds max over the samples i so far of (depth_i + i) - j; it
// returns B early exactly when it meets a sample of depth B (no other
// term can reach B). Along each line of direction (dirX, dirY) both are
// sliding-window queries over the 61 cells behind the cell: a running
// maximum and the last cell of depth B.
void directionalSweep(const Level& level, const PlaneDepths& plane, const CELL_BOX& region, int dirX, int dirY,
                      std::vector<short>& out)
{
    const int regionHeight = region.y1 - region.y0;
    out.resize(std::size_t(region.x1 - region.x0) * regionHeight);
    const int base = level.baseDepth;
    auto inRegion = [&](long long mx, long long my) {
        return mx >= region.x0 && mx < region.x1 && my >= region.y0 && my < region.y1;
    };
    auto inMap = [&](long long mx, long long my) {
        return mx >= 0 && mx < level.mapWidth && my >= 0 && my < level.mapHeight;
    };
    // The running maximum's candidates, a ring of (position, depth + position).
    const unsigned ring = 64;
    int positions[ring];
    int values[ring];
    for (int mx = region.x0; mx < region.x1; mx++)
        for (int my = region.y0; my < region.y1; my++) {
            // Each line is swept from the first cell it has in the region.
            if (inRegion((long long)mx - dirX, (long long)my - dirY))
                continue;
            int back = 0;
            while (back < directionalSteps && inMap(mx - (long long)(back + 1) * dirX, my - (long long)(back + 1) * dirY))
                back++;
            unsigned head = 0, tail = 0;
            int lastBase = -directionalSteps - 2;
            for (int k = -back;; k++) {
                int cx = mx + k * dirX, cy = my + k * dirY;
                if (k >= 0 && !inRegion(cx, cy))
                    break;
                int depth = plane.at(cx, cy);
                if (depth == base)
                    lastBase = k;
                int value = depth + k;
                while (tail > head && values[(tail - 1) % ring] <= value)
                    tail--;
                positions[tail % ring] = k;
                values[tail % ring] = value;
                tail++;
                while (positions[head % ring] < k - directionalSteps)
                    head++;
                if (k >= 0)
                    out[std::size_t(cx - region.x0) * regionHeight + (cy - region.y0)] =
                        short(lastBase >= k - directionalSteps ? base : values[head % ring] - k);
            }
        }
}

// A light record is read and added to as two groups of four floats.
static_assert(sizeof(CellLight) == 8 * sizeof(float) && offsetof(CellLight, lit) == 0 &&
                  offsetof(CellLight, unshadowed) == 3 * sizeof(float) &&
                  offsetof(CellLight, reached) == 6 * sizeof(float),
              "a light record is lit, unshadowed, reached and a spare float");

// A light's colour times its intensity, per channel, also laid out as the
// two groups of four of a cell's light record.
struct LIGHT_COLOUR {
    explicit LIGHT_COLOUR(const Light& l)
        : c{float(Screen::getRed(l.colour)) * l.intensity, float(Screen::getGreen(l.colour)) * l.intensity,
            float(Screen::getBlue(l.colour)) * l.intensity}
    {
#if defined(__SSE__)
        first = _mm_setr_ps(c[0], c[1], c[2], c[0]);
        second = _mm_setr_ps(c[1], c[2], 0.0f, 0.0f);
#endif
    }
    float c[3];
#if defined(__SSE__)
    __m128 first;
    __m128 second;
#endif
};

// What a light adds to a cell's record for the factors f (shadowed) and g
// (unshadowed): c x I x f / 255 to the lit and c x I x g / 255 to the
// unshadowed light. The four-wide form does each channel's same multiply
// and divide; it adds 0 x g / 255 = 0 to `reached` (g is never negative)
// and to the spare float. Shadowed light (f > 0) ends a cell's darkness.
struct LIGHT_SHARE {
    LIGHT_SHARE(const LIGHT_COLOUR& colour, float f, float g) : lights(f > 0.0f)
    {
#if defined(__SSE__)
        const __m128 full = _mm_set1_ps(255.0f);
        first = _mm_div_ps(_mm_mul_ps(colour.first, _mm_setr_ps(f, f, f, g)), full);
        second = _mm_div_ps(_mm_mul_ps(colour.second, _mm_set1_ps(g)), full);
#else
        for (int k = 0; k < 3; k++) {
            lit[k] = colour.c[k] * f / 255.0f;
            unshadowed[k] = colour.c[k] * g / 255.0f;
        }
#endif
    }
    bool lights;
#if defined(__SSE__)
    __m128 first;
    __m128 second;
#else
    float lit[3];
    float unshadowed[3];
#endif
};

inline void addToCell(CellLight& cell, const LIGHT_SHARE& share)
{
#if defined(__SSE__)
    float* s = cell.lit;
    _mm_storeu_ps(s, _mm_add_ps(_mm_loadu_ps(s), share.first));
    _mm_storeu_ps(s + 4, _mm_add_ps(_mm_loadu_ps(s + 4), share.second));
#else
    for (int k = 0; k < 3; k++) {
        cell.lit[k] += share.lit[k];
        cell.unshadowed[k] += share.unshadowed[k];
    }
#endif
    if (share.lights)
        cell.reached = 1.0f;
}

// The share of the factors last asked for, worked out again only when they
// change: neighbouring cells of a light mostly have the same factors (full
// light, or the same step of a shadow), and the divisions are the costly
// part of adding a light. Factors are compared bit for bit, so that a
// negative zero gets its own share.
class SHARE_MEMO {
public:
    explicit SHARE_MEMO(const LIGHT_COLOUR& c) : colour(c), share(c, 1.0f, 1.0f), fBits(bitsOf(1.0f)), gBits(fBits)
    {
    }
    const LIGHT_SHARE& of(float f, float g)
    {
        std::uint32_t fb = bitsOf(f), gb = bitsOf(g);
        if (fb != fBits || gb != gBits) {
            share = LIGHT_SHARE(colour, f, g);
            fBits = fb;
            gBits = gb;
        }
        return share;
    }

private:
    static std::uint32_t bitsOf(float v)
    {
        std::uint32_t b;
        std::memcpy(&b, &v, sizeof b);
        return b;
    }
    const LIGHT_COLOUR& colour;
    LIGHT_SHARE share;
    std::uint32_t fBits;
    std::uint32_t gBits;
};

// Sets the charge bit `bit` of a phosphorescent cell whose glow has colour
// in the channel at `shift`.
void charge(LevelPixel& p, int shift, unsigned bit)
{
    unsigned glow = unsigned(p.glow);
    if (glow == 0 || ((glow >> shift) & 0xFFu) == 0 || ((glow >> 24) & bit) != 0)
        return;
    p.glow = int(glow + (bit << 24));
}

// Removes light i from the list; the caller holds lightsLock. Lights that
// belong to someone else (the player's lamp) leave the list undeleted.
void removeLight(Level& level, int i)
{
    if (i < 0 || i >= int(level.lights.size()))
        return;
    Light* l = level.lights[i];
    level.lights.erase(level.lights.begin() + i);
    if (!l->external)
        delete l;
}

// The columns x0 <= mx < x1 of the map that lights are added to at once.
struct STRIP {
    int x0;
    int x1;
};

// The records a pass writes: those of the region's `fresh` rows, which are
// started anew and take every light. The rest of the region keeps the
// records of the pass that filled the buffer before; records outside the
// region are not drawn and are left as they are (a pass whose region moves
// starts its whole region anew).
struct TARGET {
    CELL_BOX region;
    // Per column of the region, the fresh rows y0 <= my < y1 (a box whose
    // x0 and x1 are not used).
    const std::vector<CELL_BOX>& fresh;
    // Calls visit(y0, y1, written) for the runs of rows of column mx from
    // `top` to `bottom`, in order; `written` is false for records left as
    // they are.
    template <typename Visit>
    void runs(int mx, int top, int bottom, Visit visit) const
    {
        if (region.empty() || mx < region.x0 || mx >= region.x1) {
            visit(top, bottom, false);
            return;
        }
        const CELL_BOX& rows = fresh[std::size_t(mx - region.x0)];
        int y0 = std::min(std::max(rows.y0, top), bottom), y1 = std::min(std::max(rows.y1, y0), bottom);
        if (y0 == y1) {
            visit(top, bottom, false);
            return;
        }
        if (top < y0)
            visit(top, y0, false);
        visit(y0, y1, true);
        if (y1 < bottom)
            visit(y1, bottom, false);
    }
};

// The contribution of an ambient or special light to the columns `strip`
// of the light buffer `buffer`: ambient light fills the pass's region, `l`
// is a copy of the light taken at the start of the pass. Lights with
// shadows are added from their shading.
void addLightToMap(Level& level, const Light& l, const TARGET& target, const STRIP& strip, CellLight* buffer)
{
    const LIGHT_SHARE full(LIGHT_COLOUR(l), 1.0f, 1.0f);
    const CELL_BOX& region = target.region;
    switch (l.type) {
    case Light::Ambient:
        for (int mx = std::max(region.x0, strip.x0); mx < std::min(region.x1, strip.x1); mx++)
            target.runs(mx, region.y0, region.y1, [&](int y0, int y1, bool written) {
                for (int my = y0; my < y1 && written; my++)
                    addToCell(buffer[mx * level.mapHeight + my], full);
            });
        break;
    case Light::Special: {
        // The ring of radii radius - width .. radius, over the whole map.
        long long lmx = (long long)l.x - level.originX;
        long long lmy = (long long)l.y - level.originY;
        long long outer = l.radius, inner = (long long)l.radius - l.direction;
        CELL_BOX square = clipToMap(level, lmx - outer, lmy - outer, lmx + outer + 1, lmy + outer + 1);
        for (int mx = std::max(square.x0, strip.x0); mx < std::min(square.x1, strip.x1); mx++)
            target.runs(mx, square.y0, square.y1, [&](int y0, int y1, bool written) {
                for (int my = y0; my < y1; my++) {
                    long long dx = mx - lmx, dy = my - lmy;
                    long long dist2 = dx * dx + dy * dy;
                    if (dist2 < inner * inner || dist2 > outer * outer)
                        continue;
                    if (written)
                        addToCell(buffer[mx * level.mapHeight + my], full);
                    level.addInMemory(mx * level.mapHeight + my);
                }
            });
        break;
    }
    default:
        break;
    }
}

// Starts the fresh light records of the columns in `strip` from the self
// light of their cells (`self`, column-major over the region): lit and
// unshadowed by the incandescence, dark without it.
void startRecords(const Level& level, const TARGET& target, const STRIP& strip, const float* self,
                  CellLight* buffer)
{
    const CELL_BOX& region = target.region;
    if (region.empty())
        return;
    const int regionHeight = region.y1 - region.y0;
    for (int mx = std::max(region.x0, strip.x0); mx < std::min(region.x1, strip.x1); mx++) {
        const float* column = self + std::size_t(mx - region.x0) * regionHeight - region.y0;
        CellLight* record = buffer + std::size_t(mx) * level.mapHeight;
        target.runs(mx, region.y0, region.y1, [&](int y0, int y1, bool written) {
            for (int my = y0; my < y1 && written; my++) {
                float s = column[my];
                record[my] = CellLight{{s, s, s}, {s, s, s}, s == 0.0f ? 0.0f : 1.0f, 0.0f};
            }
        });
    }
}

// A light whose contribution comes from a shading: omni and spot lights
// that reach somewhere, and directional light.
bool shaded(const Light& l)
{
    return ((l.type == Light::Omni || l.type == Light::Spot) && l.radius > 0) || l.type == Light::Directional;
}

// The box of cells an omni or spot light may reach: its square, clipped to the map.
CELL_BOX squareOf(const Level& level, const Light& l)
{
    long long lmx = (long long)l.x - level.originX, lmy = (long long)l.y - level.originY;
    return clipToMap(level, lmx - l.radius, lmy - l.radius, lmx + l.radius + 1, lmy + l.radius + 1);
}

// The box of cells whose depths light l's marches read: the square of an
// omni or spot light; for directional light, the region and the region
// moved back by the 60 steps of its marches (its samples lie between).
CELL_BOX marchedBy(const Level& level, const Light& l, const CELL_BOX& region)
{
    if (l.type == Light::Directional) {
        if (region.empty())
            return region;
        long long backX = -(long long)directionalSteps * l.dirX, backY = -(long long)directionalSteps * l.dirY;
        return unite(region, clipToMap(level, region.x0 + std::min(0LL, backX), region.y0 + std::min(0LL, backY),
                                       region.x1 + std::max(0LL, backX), region.y1 + std::max(0LL, backY)));
    }
    if ((l.type == Light::Omni || l.type == Light::Spot) && l.radius > 0)
        return squareOf(level, l);
    return CELL_BOX{0, 0, 0, 0};
}

// The geometry a shaded light's shading depends on.
LIGHT_SHADING::GEOMETRY geometryOf(const Level& level, const Light& l, const CELL_BOX& region)
{
    LIGHT_SHADING::GEOMETRY g;
    g.type = l.type;
    CELL_BOX cells = region;
    if (l.type == Light::Directional) {
        g.lightX = l.dirX;
        g.lightY = l.dirY;
    } else {
        g.lightX = (long long)l.x - level.originX;
        g.lightY = (long long)l.y - level.originY;
        g.radius = l.radius;
        g.attenuate = l.attenuate;
        g.aperture = l.aperture;
        g.direction = l.direction;
        cells = squareOf(level, l);
    }
    if (cells.empty())
        cells = CELL_BOX{0, 0, 0, 0};
    g.x0 = cells.x0;
    g.y0 = cells.y0;
    g.x1 = cells.x1;
    g.y1 = cells.y1;
    g.mapWidth = level.mapWidth;
    g.mapHeight = level.mapHeight;
    g.baseDepth = level.baseDepth;
    return g;
}

// The factors of an omni or spot light over its square.
template <typename Depths>
void shadeSquare(const Level& level, const Light& l, const Depths& depths, LIGHT_SHADING& shading)
{
    const LIGHT_SHADING::GEOMETRY& at = shading.geometry;
    const long long lmx = at.lightX, lmy = at.lightY;
    // A light outside the map casts no shadow.
    bool shadows = lmx >= 0 && lmy >= 0 && lmx < level.mapWidth && lmy < level.mapHeight;
    float radius2 = float((long long)l.radius * l.radius);
    int lo = l.direction - l.aperture / 2;
    int hi = l.direction + l.aperture / 2;
    std::size_t i = 0;
    for (int mx = at.x0; mx < at.x1; mx++)
        for (int my = at.y0; my < at.y1; my++, i++) {
            shading.unshadowed[i] = -1.0f;
            long long dx = mx - lmx, dy = my - lmy;
            float f = 1.0f - float(dx * dx + dy * dy) / radius2;
            if (!(f > 0.0f))
                continue;
            if (l.type == Light::Spot && !(f > 0.98f)) {
                float a = level.getAngle(int(lmx), int(lmy), mx, my);
                if (lo < 0 && a > 180.0f)
                    a -= 360.0f;
                if (hi > 360 && a < 180.0f)
                    a += 360.0f;
                if (!(float(lo) <= a && a <= float(hi)))
                    continue;
            }
            if (!l.attenuate)
                f = 1.0f;
            float g = f;
            int d = shadows ? marchFromLight(depths, mx, my, int(lmx), int(lmy)) : 0;
            int depth = depths.at(mx, my);
            if (depth < d)
                f = f / float(d - depth + 1);
            if (d == rockDepth)
                f = g = 0.0f;
            shading.lit[i] = f;
            shading.unshadowed[i] = g;
        }
}

// The factors of a directional light over the region; `swept` null or the
// region's march results in column-major order.
template <typename Depths>
void shadeDirectional(const Level& level, const Light& l, const Depths& depths, const short* swept,
                      LIGHT_SHADING& shading)
{
    const LIGHT_SHADING::GEOMETRY& at = shading.geometry;
    std::size_t i = 0;
    for (int mx = at.x0; mx < at.x1; mx++)
        for (int my = at.y0; my < at.y1; my++, i++) {
            int d = swept ? swept[i] : directionalDepth(level, depths, mx, my, l.dirX, l.dirY);
            int depth = depths.at(mx, my);
            float f = 1.0f, g = 1.0f;
            if (depth < d)
                f = 1.0f / float(d - depth + 1);
            if (d > rockDepth - 1)
                f = g = 0.0f;
            shading.lit[i] = f;
            shading.unshadowed[i] = g;
        }
}

template <typename Depths>
void shade(const Level& level, const Light& l, const Depths& depths, const short* swept, LIGHT_SHADING& shading)
{
    const LIGHT_SHADING::GEOMETRY& at = shading.geometry;
    const std::size_t cells = std::size_t(at.x1 - at.x0) * (at.y1 - at.y0);
    shading.lit.resize(cells);
    shading.unshadowed.resize(cells);
    if (l.type == Light::Directional)
        shadeDirectional(level, l, depths, swept, shading);
    else
        shadeSquare(level, l, depths, shading);
}

// The plane's depths of the box the shading's marches read equal those it
// was computed from.
bool sameDepths(const LIGHT_SHADING& shading, const PlaneDepths& plane)
{
    const std::size_t column = std::size_t(shading.readY1 - shading.readY0);
    const signed char* kept = shading.depths.data();
    for (int mx = shading.readX0; mx < shading.readX1; mx++, kept += column)
        if (std::memcmp(kept, &plane.depths[std::size_t(mx - plane.x0) * plane.height + (shading.readY0 - plane.y0)],
                        column) != 0)
            return false;
    return true;
}

void keepDepths(LIGHT_SHADING& shading, const PlaneDepths& plane)
{
    const std::size_t column = std::size_t(shading.readY1 - shading.readY0);
    shading.depths.resize(column * std::size_t(shading.readX1 - shading.readX0));
    signed char* kept = shading.depths.data();
    for (int mx = shading.readX0; mx < shading.readX1; mx++, kept += column)
        std::memcpy(kept, &plane.depths[std::size_t(mx - plane.x0) * plane.height + (shading.readY0 - plane.y0)],
                    column);
}

// Adds light l to the columns `strip` of the light buffer `buffer` by its
// shading.
void addShading(Level& level, const Light& l, const LIGHT_SHADING& shading, const TARGET& target,
                const STRIP& strip, CellLight* buffer)
{
    const LIGHT_COLOUR colour(l);
    SHARE_MEMO shares(colour);
    // The channel of phosphorescent paint this light charges, if any.
    int chargeShift = -1;
    unsigned chargeBit = 0;
    if (l.type == Light::Omni && l.style == Light::StyleCandle)
        chargeShift = 16, chargeBit = 1u;
    else if (l.type == Light::Omni && l.style == Light::StyleAceto)
        chargeShift = 0, chargeBit = 4u;
    else if (l.type == Light::Spot && l.style == Light::StyleElectric)
        chargeShift = 8, chargeBit = 2u;
    const LIGHT_SHADING::GEOMETRY& at = shading.geometry;
    const int height = at.y1 - at.y0;
    for (int mx = std::max(at.x0, strip.x0); mx < std::min(at.x1, strip.x1); mx++) {
        // The column's factors and cells, indexed by map row.
        const std::ptrdiff_t first = std::ptrdiff_t(mx - at.x0) * height - at.y0;
        const float* lit = shading.lit.data() + first;
        const float* unshadowed = shading.unshadowed.data() + first;
        const int column = mx * level.mapHeight;
        target.runs(mx, at.y0, at.y1, [&](int y0, int y1, bool written) {
            if (!written && chargeShift < 0)
                return;
            for (int my = y0; my < y1; my++) {
                float g = unshadowed[my];
                if (g < 0.0f)
                    continue;
                // A kept record already holds this light; its charge is
                // set again in case the paint lost it since.
                bool lights = lit[my] > 0.0f;
                if (written) {
                    const LIGHT_SHARE& share = shares.of(lit[my], g);
                    addToCell(buffer[column + my], share);
                }
                if (lights && chargeShift >= 0)
                    charge(level.map[column + my], chargeShift, chargeBit);
            }
        });
    }
}

// Gives every shaded light of the pass a shading of `kept`, by index: the
// one of its geometry when there is one, else one no light claims (whose
// memory it reuses) or a new one; the rest are dropped after the pass.
std::vector<int> claimShadings(const Level& level, const std::vector<Light>& lights, const CELL_BOX& region,
                               std::vector<LIGHT_SHADING>& kept)
{
    std::vector<int> claims(lights.size(), -1);
    auto find = [&](const LIGHT_SHADING::GEOMETRY& g) {
        for (std::size_t k = 0; k < kept.size(); k++)
            if (kept[k].geometry == g)
                return int(k);
        return -1;
    };
    for (std::size_t i = 0; i < lights.size(); i++)
        if (shaded(lights[i]) && (claims[i] = find(geometryOf(level, lights[i], region))) >= 0)
            kept[claims[i]].claimed = true;
    for (std::size_t i = 0; i < lights.size(); i++) {
        if (!shaded(lights[i]) || claims[i] >= 0)
            continue;
        LIGHT_SHADING::GEOMETRY g = geometryOf(level, lights[i], region);
        claims[i] = find(g);
        if (claims[i] >= 0)
            continue;
        auto unclaimed = std::find_if(kept.begin(), kept.end(), [](const LIGHT_SHADING& s) { return !s.claimed; });
        claims[i] = int(unclaimed - kept.begin());
        if (unclaimed == kept.end())
            kept.emplace_back();
        LIGHT_SHADING& s = kept[claims[i]];
        s.geometry = g;
        s.claimed = true;
        s.reusable = false;
        CELL_BOX read = marchedBy(level, lights[i], region);
        if (read.empty())
            read = CELL_BOX{0, 0, 0, 0};
        s.readX0 = read.x0;
        s.readY0 = read.y0;
        s.readX1 = read.x1;
        s.readY1 = read.y1;
    }
    return claims;
}

void dropUnclaimed(std::vector<LIGHT_SHADING>& kept)
{
    kept.erase(std::remove_if(kept.begin(), kept.end(), [](const LIGHT_SHADING& s) { return !s.claimed; }),
               kept.end());
    for (LIGHT_SHADING& s : kept)
        s.claimed = false;
}

// The box of cells whose depths the shadow marches of `lights` may read,
// with the region.
CELL_BOX marchedCells(const Level& level, const std::vector<Light>& lights, const CELL_BOX& region)
{
    CELL_BOX box = region;
    for (const Light& l : lights)
        box = unite(box, marchedBy(level, l, region));
    return box;
}

// The depths a pass's marches read: the compact plane, or the map itself
// when some depth does not fit in a byte; `deepest` the plane's deepest.
struct PASS_DEPTHS {
    PlaneDepths plane;
    MapDepths map;
    bool compact;
    int deepest;
};

// Makes `shading` hold light l's factors: kept from an earlier pass when
// its geometry and the depths its marches read are unchanged, computed
// otherwise.
void refreshShading(const Level& level, const Light& l, const PASS_DEPTHS& depths, LIGHTING_SCRATCH& scratch,
                    LIGHT_SHADING& shading)
{
    if (shading.reusable && depths.compact && sameDepths(shading, depths.plane))
        return;
    bool exactDirection =
        std::abs(l.dirX) <= largestExactDirection && std::abs(l.dirY) <= largestExactDirection;
    const LIGHT_SHADING::GEOMETRY& at = shading.geometry;
    // The sweep keeps its results in shorts: byte depths, a byte base.
    bool sweep = l.type == Light::Directional && depths.compact && depths.deepest <= level.baseDepth &&
                 level.baseDepth <= 127 && at.x0 < at.x1 && at.y0 < at.y1 && (l.dirX != 0 || l.dirY != 0) &&
                 exactDirection;
    const short* swept = nullptr;
    if (sweep) {
        directionalSweep(level, depths.plane, CELL_BOX{at.x0, at.y0, at.x1, at.y1}, l.dirX, l.dirY,
                         scratch.directionalResults);
        swept = scratch.directionalResults.data();
    }
    if (depths.compact && depths.deepest <= rockDepth && l.type != Light::Directional) {
        ROCK_COUNTS rock{scratch.rockCounts};
        rock.count(depths.plane, CELL_BOX{at.x0, at.y0, at.x1, at.y1});
        shade(level, l, CountedPlaneDepths{{depths.plane}, &rock}, swept, shading);
    } else if (depths.compact && depths.deepest <= rockDepth)
        shade(level, l, ShallowPlaneDepths{depths.plane}, swept, shading);
    else if (depths.compact)
        shade(level, l, depths.plane, swept, shading);
    else
        shade(level, l, depths.map, nullptr, shading);
    // Directional marches beyond the exact range read the map through
    // float positions: those are recomputed every pass.
    shading.reusable = depths.compact && (l.type != Light::Directional || exactDirection);
    if (shading.reusable)
        keepDepths(shading, depths.plane);
}

// Light l gives a pass the same light as `other`.
bool sameLight(const Light& l, const Light& other)
{
    return l.on == other.on && l.type == other.type && l.style == other.style && l.colour == other.colour &&
           sameBits(l.intensity, other.intensity) && l.attenuate == other.attenuate && l.x == other.x &&
           l.y == other.y && l.dirX == other.dirX && l.dirY == other.dirY && l.radius == other.radius &&
           l.aperture == other.aperture && l.direction == other.direction;
}

// Widens the fresh rows of the region's columns (`fresh`, as in TARGET) to
// the cells light l may add to: the disc of an omni or spot light or of a
// ring (the cells nearer than its radius), the whole region for the others.
void addReach(const Level& level, const Light& l, const CELL_BOX& region, std::vector<CELL_BOX>& fresh)
{
    auto widen = [&](int mx, long long y0, long long y1) {
        CELL_BOX& rows = fresh[std::size_t(mx - region.x0)];
        int top = int(std::max<long long>(region.y0, y0)), bottom = int(std::min<long long>(region.y1, y1));
        if (top >= bottom)
            return;
        rows.y0 = rows.y0 < rows.y1 ? std::min(rows.y0, top) : top;
        rows.y1 = std::max(rows.y1, bottom);
    };
    bool disc = l.type == Light::Omni || l.type == Light::Spot || l.type == Light::Special;
    if (!disc) {
        for (int mx = region.x0; mx < region.x1; mx++)
            widen(mx, region.y0, region.y1);
        return;
    }
    const long long radius = l.radius;
    if (radius <= 0)
        return;
    // Up to this radius a cell's share of the light is exact in floats, so
    // a cell at the disc's edge or beyond takes none.
    const bool exactDisc = radius <= 4096;
    long long lmx = (long long)l.x - level.originX, lmy = (long long)l.y - level.originY;
    CELL_BOX square = intersect(clipToMap(level, lmx - radius, lmy - radius, lmx + radius + 1, lmy + radius + 1),
                                region);
    for (int mx = square.x0; mx < square.x1; mx++) {
        long long room = radius * radius - (mx - lmx) * (mx - lmx);
        long long half = radius;
        if (exactDisc) {
            half = (long long)std::sqrt(double(std::max(0LL, room)));
            while (half * half > room)
                half--;
            while ((half + 1) * (half + 1) <= room)
                half++;
        }
        widen(mx, lmy - half, lmy + half + 1);
    }
}

// Sets the fresh rows of the region's columns (as in TARGET) when the
// buffer last held `before`'s light and the pass brings `lights`, over the
// same depths and self light: the cells a changed light reaches, before or
// now. A growing ring changes every pass (and remembers what it passes).
void findFreshRows(const Level& level, const std::vector<Light>& lights, const std::vector<Light>& before,
                   const CELL_BOX& region, std::vector<CELL_BOX>& fresh)
{
    fresh.assign(std::size_t(std::max(0, region.x1 - region.x0)), CELL_BOX{0, 0, 0, 0});
    if (lights.size() != before.size()) {
        fresh.assign(fresh.size(), region);
        return;
    }
    for (std::size_t i = 0; i < lights.size(); i++)
        if (lights[i].type == Light::Special || !sameLight(lights[i], before[i])) {
            addReach(level, lights[i], region, fresh);
            addReach(level, before[i], region, fresh);
        }
}

} // namespace

void Level::computeLighting(int x, int y, int w, int h, int margin)
{
    LIGHTING_SCRATCH scratch;
    computeLighting(x, y, w, h, margin, scratch);
}

void Level::computeLighting(int x, int y, int w, int h, int margin, LIGHTING_SCRATCH& scratch)
{
    while (drawing.load()) {
        // A stop requested while a frame holds the level skips the pass.
        if (scratch.control && scratch.control->load() == LightingStopRequested)
            return;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    if (!map)
        return;
    const int b = 1 - front.load();
    const CELL_BOX region = passRegion(*this, x, y, w, h, margin);

    // The light list is walked under the lock; each light is copied at
    // the start of the pass so that one pass sees one position of it.
    std::vector<Light> passLights;
    {
        std::lock_guard<std::mutex> hold(lightsLock);
        for (int i = 0; i < int(lights.size());) {
            if (lights[i]->update())
                i++;
            else
                removeLight(*this, i);
        }
        passLights.reserve(lights.size());
        for (const Light* l : lights)
            if (l->intensity > 0 && l->on)
                passLights.push_back(*l);
    }

    // The depths the shadow marches read go into a compact plane, one byte
    // per cell; a map holding depths beyond a byte marches on the map itself.
    // The plane and the region's self light are those of the buffer filled:
    // written over what the buffer was filled from, they tell whether it
    // changed.
    LIGHT_FILL& fill = scratch.fills[b];
    CELL_BOX box = marchedCells(*this, passLights, region);
    const LIGHT_FILL::SOURCE source{this, light[b], originX, originY, mapWidth, mapHeight, baseDepth, region, box};
    bool sameInputs = fill.compact && fill.source == source;
    // Every depth is written into the plane as it is read, and the plane
    // is used only when the shallowest and the deepest of them fit a byte.
    bool compact = !box.empty();
    int shallowest = 0, deepest = -128;
    const int boxHeight = box.y1 - box.y0;
    if (compact)
        fill.depths.resize(std::size_t(box.x1 - box.x0) * boxHeight);
    // The plane's column mx, indexed by map row.
    auto planeColumn = [&](int mx) {
        return fill.depths.data() + (std::ptrdiff_t(mx - box.x0) * boxHeight - box.y0);
    };
    auto toPlane = [&](signed char* column, int my, int d) {
        shallowest = std::min(shallowest, d);
        deepest = std::max(deepest, d);
        if (column[my] != (signed char)d) {
            column[my] = (signed char)d;
            sameInputs = false;
        }
    };

    CellLight* buffer = light[b];
    // One sweep over the region, column by column:
    // - memory spread: restore the depth, then a well remembered cell
    //   passes its quality to itself and 0.8 of it to its four neighbours;
    // - once the next column has spread, a column's quality is settled from
    //   tempQuality (no later cell of the sweep writes into it);
    // - the cell's incandescence is kept to start its light record;
    // - the restored depth goes into the plane.
    // Depth and quality are written only where they change: a cell left
    // clean need not go back to memory.
    auto settle = [&](int mx) {
        for (int my = region.y0; my < region.y1; my++) {
            LevelPixel& p = map[mx * mapHeight + my];
            if (!sameBits(p.quality, p.tempQuality))
                p.quality = p.tempQuality;
        }
    };
    const int regionHeight = region.y1 - region.y0;
    if (!region.empty())
        fill.selfLight.resize(std::size_t(region.x1 - region.x0) * regionHeight);
    float* self = fill.selfLight.data();
    for (int mx = region.x0; mx < region.x1; mx++) {
        signed char* column = planeColumn(mx);
        for (int my = region.y0; my < region.y1; my++, self++) {
            int cell = mx * mapHeight + my;
            LevelPixel& p = map[cell];
            fetchAhead(&p + mapHeight);
            if (p.depth != p.cleanDepth)
                p.depth = p.cleanDepth;
            if (p.quality > 0.05f && mx > 0 && mx < mapWidth - 1 && my > 0 && my < mapHeight - 1) {
                float q = p.quality;
                setTempQuality(cell, q);
                setTempQuality(cell - mapHeight, q * 0.8f);
                setTempQuality(cell + mapHeight, q * 0.8f);
                setTempQuality(cell - 1, q * 0.8f);
                setTempQuality(cell + 1, q * 0.8f);
            }
            if (!sameBits(*self, p.incandescence)) {
                *self = p.incandescence;
                sameInputs = false;
            }
            toPlane(column, my, p.depth);
        }
        if (mx > region.x0)
            settle(mx - 1);
    }
    if (!region.empty())
        settle(region.x1 - 1);

    // The rest of the plane, around the region.
    for (int mx = box.x0; mx < box.x1 && compact; mx++) {
        bool regionColumn = mx >= region.x0 && mx < region.x1 && !region.empty();
        const LevelPixel* cells = map + std::ptrdiff_t(mx) * mapHeight;
        signed char* column = planeColumn(mx);
        for (int my = box.y0; my < (regionColumn ? region.y0 : box.y1); my++) {
            fetchAhead(&cells[my + mapHeight]);
            toPlane(column, my, cells[my].depth);
        }
        for (int my = regionColumn ? region.y1 : box.y1; my < box.y1; my++) {
            fetchAhead(&cells[my + mapHeight]);
            toPlane(column, my, cells[my].depth);
        }
    }
    compact = compact && shallowest >= -128 && deepest <= 127;

    PlaneDepths plane{fill.depths.data(), box.x0, box.y0, boxHeight};
    PASS_DEPTHS depths{plane, MapDepths{map, mapHeight}, compact, deepest};
    std::vector<int> claims = claimShadings(*this, passLights, region, scratch.shadings);
    for (std::size_t i = 0; i < passLights.size(); i++)
        if (claims[i] >= 0)
            refreshShading(*this, passLights[i], depths, scratch, scratch.shadings[claims[i]]);
    // The light records are started from self light and the lights are
    // added a strip of columns at a time, all of them in the list's order
    // over one strip before the next: each cell gets them in the same order
    // as light by light, while the strip's records stay in cache instead of
    // every light streaming the whole buffer again.
    std::vector<CELL_BOX>& fresh = scratch.freshRows;
    if (sameInputs && compact)
        findFreshRows(*this, passLights, fill.lights, region, fresh);
    else
        fresh.assign(std::size_t(std::max(0, region.x1 - region.x0)), region);
    const TARGET target{region, fresh};
    for (int x0 = 0; x0 < mapWidth; x0 += stripColumns) {
        STRIP strip{x0, std::min(mapWidth, x0 + stripColumns)};
        startRecords(*this, target, strip, fill.selfLight.data(), buffer);
        for (std::size_t i = 0; i < passLights.size(); i++) {
            if (claims[i] < 0)
                addLightToMap(*this, passLights[i], target, strip, buffer);
            else
                addShading(*this, passLights[i], scratch.shadings[claims[i]], target, strip, buffer);
        }
    }

    dropUnclaimed(scratch.shadings);
    fill.source = source;
    fill.compact = compact;
    fill.lights.swap(passLights);
    front.store(b);
}

void Level::faultInNextRecords(int x, int y, int w, int h, int margin)
{
    const CELL_BOX region = passRegion(*this, x, y, w, h, margin);
    if (!map || region.empty())
        return;
    CellLight* first = light[1 - front.load()] + std::ptrdiff_t(region.x0) * mapHeight + region.y0;
    const std::size_t records = std::size_t(region.x1 - region.x0 - 1) * mapHeight + (region.y1 - region.y0);
    faultInPages(first, records * sizeof(CellLight));
}

int Level::lightGetDepth(int mx, int my, int lx, int ly) const
{
    long long lmx = (long long)lx - originX;
    long long lmy = (long long)ly - originY;
    if (!map || lmx < 0 || lmy < 0 || lmx >= mapWidth || lmy >= mapHeight)
        return 0;
    return marchFromLight(CheckedDepths{this}, mx, my, int(lmx), int(lmy));
}

int Level::lightGetDirectionalDepth(float mx, float my, float dirX, float dirY) const
{
    float px = mx - float(directionalSteps) * dirX;
    float py = my - float(directionalSteps) * dirY;
    bool started = false;
    int d = baseDepth;
    for (int k = 0; k <= directionalSteps; k++) {
        float sx = px + float(k) * dirX;
        float sy = py + float(k) * dirY;
        // Samples truncate toward zero: (-1, width) holds the map's columns.
        if (!map || !(sx > -1.0f && sx < float(mapWidth) && sy > -1.0f && sy < float(mapHeight)))
            continue;
        int sample = map[int(sx) * mapHeight + int(sy)].depth;
        if (!started) {
            d = sample;
            started = true;
            continue;
        }
        if (d == baseDepth)
            return baseDepth;
        d = sample >= d ? sample : d - 1;
    }
    return d;
}

void Level::addLight(Light* l)
{
    std::lock_guard<std::mutex> hold(lightsLock);
    lights.push_back(l);
}

void Level::deleteLight(int i)
{
    std::lock_guard<std::mutex> hold(lightsLock);
    removeLight(*this, i);
}

void Level::copyLight(Light* listed, const Light& from)
{
    std::lock_guard<std::mutex> hold(lightsLock);
    // Who deletes the listed light stays as it was.
    bool external = listed->external;
    *listed = from;
    listed->external = external;
}

void Level::setTempQuality(int cell, float q)
{
    LevelPixel& p = map[cell];
    if (q > p.tempQuality && p.depth < baseDepth)
        p.tempQuality = q;
}

void Level::addInMemory(int cell)
{
    map[cell].quality = 1.0f;
}

void Level::mulBySimpleLighting(Screen* s, int ox, int oy) const
{
    if (!map)
        return;
    const int b = front.load();
    // Screen pixel (sx, sy) shows map cell (sx - ox - originX, sy - oy - originY).
    long long shiftX = -(long long)ox - originX, shiftY = -(long long)oy - originY;
    CELL_BOX cells = clipToMap(*this, shiftX, shiftY, shiftX + s->width, shiftY + s->height);
    // Layers are mostly empty: only pixels with colour read their cell's light.
    for (int mx = cells.x0; mx < cells.x1; mx++) {
        int* pixel = s->pixels + (mx - shiftX) * s->height + (cells.y0 - shiftY);
        const CellLight* received = light[b] + (long long)mx * mapHeight + cells.y0;
        for (int i = 0; i < cells.y1 - cells.y0; i++)
            if ((pixel[i] & 0x00FFFFFF) != 0)
                Screen::multiply(pixel[i], received[i].unshadowed);
    }
}

void Level::showAll(int wx, int wy)
{
    Light* ring = new Light;
    ring->createSpecial(int(0xFFFFFFFFu), 1.0f, wx, wy, 300);
    addLight(ring);
}
