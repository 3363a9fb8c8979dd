#pragma once

struct DOOR;
class Element;
class Level;
class Screen;

// The player's body in every collision question: an axis-aligned rectangle
// in level pixels. The far edges x + w and y + h belong to the box in the
// rectangle tests; the level tests sample only its outline, whose corner
// (x + w, y + h) is left out. The fields hold whatever the owner last set.
class BoundingBox {
public:
    // Most steps of the search for free space.
    static constexpr int maxSearchSteps = 500;

    // The outline in red, for looking at collisions while debugging.
    void draw(int ox, int oy, Screen* s) const;

    // 1 when the outline touches solid rock (depth 10) or the box touches a
    // movable element, touching edges included.
    int getCollision(Level* level) const;
    // Index in the level's movable elements of the first one within 2
    // pixels of the box, or -1.
    int getActiveTouch(Level* level) const;
    // Index of the first movable element overlapping the box, or -1.
    int getActiveCollision(Level* level) const;
    // 1 when the outline meets cloud gas; 0 in a level without cloud.
    int getCloudCollision(Level* level) const;
    // Corner tests: 1 when a corner of either rectangle lies inside the
    // other. Rectangles crossing like a plus sign do not collide.
    int getCollisionWithDoor(const DOOR* door) const;
    int getCollisionWithElement(const Element* e) const;
    // 1 when the box covers a non-transparent pixel of the element's
    // current picture; here, as in every pixel contact, the columns x + w
    // and the row y + h lie outside the box.
    int getCollisionWithElementPixels(const Element* e) const;
    // What the action key can use: the element's rectangle grown by
    // `margin` pixels on every side shares a pixel with the box, however
    // the two cross.
    bool reaches(const Element* e, int margin) const;
    // Walks a spiral around the box's position, one pixel per step, and
    // stops at the first place where the box is free; after
    // maxSearchSteps blocked places the box goes back where it was.
    void findSpace(Level* level);

    int x;
    int y;
    int w;
    int h;

private:
    // Index of the first movable element whose centre lies closer than the
    // half sizes plus `margin` on both axes, or -1.
    int firstActiveWithin(Level* level, int margin) const;
    // Whether `hit` is true for any pixel of the outline.
    template <class HIT> bool outlineHits(HIT hit) const;
};
