#pragma once

#include <algorithm>

// The pixel contact of two pictures or boxes: true when `hit(wx, wy)` holds
// for some world pixel lying inside both rectangles, columns scanned
// outermost. A rectangle (x, y, w, h) covers columns x to x + w - 1 and rows
// y to y + h - 1, so rectangles that only meet at an edge share no pixel and
// no picture is read beyond its last column or row.
template <typename Hit>
bool anySharedPixel(long long ax, long long ay, long long aw, long long ah, long long bx, long long by, long long bw,
                    long long bh, Hit hit)
{
    long long left = std::max(ax, bx), right = std::min(ax + aw, bx + bw);
    long long top = std::max(ay, by), bottom = std::min(ay + ah, by + bh);
    for (long long wx = left; wx < right; wx++)
        for (long long wy = top; wy < bottom; wy++)
            if (hit(int(wx), int(wy)))
                return true;
    return false;
}
