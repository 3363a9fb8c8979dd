#pragma once

class Animation;
class Screen;

// Plays an Animation for one character: the current fractional frame within
// the current sequence, advanced by the play speed each update and wrapped
// inside the sequence. Each frame's movement offset is handed out once, when
// the frame becomes the shown one, so that the character moves as drawn.
class AnimationControler {
public:
    AnimationControler() = default;
    explicit AnimationControler(Animation* a) : anim(a) {}

    // Frames advanced per update; negative plays backwards.
    void play(float newSpeed) { speed = newSpeed; }
    // Chooses the sequence by name (sequence 0 when none has it); the frame
    // position is kept and wraps into the sequence at the next update.
    void setSeqByName(const char* name);
    // Moves to the first frame of the current sequence.
    void setToStart();
    // Advances by the speed, wrapping within the sequence.
    void update();
    // The movement offset to apply now: the shown frame's offset the first
    // time it is asked for after the frame changed (negated while playing
    // backwards), (0, 0) otherwise.
    void moveCoords(int* dx, int* dy);
    // Light anchor of the shown frame.
    void lightCoords(int* x, int* y) const;

    // Draw the shown frame plainly, with a colour mask, or jittered with its
    // colours whitened by `white` (0..1) and rows shifted by up to `amplitude`.
    void draw(int x, int y, int mirror, Screen* s) const;
    void draw(int x, int y, int mirror, Screen* s, int mask) const;
    void draw(int x, int y, int mirror, Screen* s, float amplitude, float white) const;

    float getFrame() const { return frame; }
    // The frame shown: the truncated position.
    int shownFrame() const { return int(frame); }

    float frame = 0;
    int seq = 0;
    float speed = 0;
    Animation* anim = nullptr;
    int moved = 1;
};
