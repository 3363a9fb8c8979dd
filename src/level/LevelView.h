#pragma once

class Level;
class Screen;

// Composes a room into the main buffer for one frame, with two layers of
// its own: one for moving things and one for the front decoration, cloud
// and water. Each layer is lit without the depth softening of the baked
// picture, then merged. The level's `drawing` flag is held from the first
// step to the last, so the lighting thread starts no pass meanwhile.
//
// The world draws its player between the stages:
//   beginLevel  picture, memory and glow; moving things; self-lit pixels
//   (the player)
//   drawFrontLayer  front decoration, cloud and water on the front layer
//   (effects on frontLayer)
//   finishLevel  the front layer merged; rock and the outside painted
//   (the dying player)
//   endLevel  releases the level to the lighting thread
// `draw` runs all of them with nothing in between.
class LevelView {
public:
    // Layers of width x height, made again when a target of another size comes.
    LevelView(int width, int height);
    ~LevelView();
    LevelView(const LevelView&) = delete;
    LevelView& operator=(const LevelView&) = delete;

    void beginLevel(Level* level, Screen* screen, int ox, int oy);
    void drawFrontLayer(Level* level, int ox, int oy);
    void finishLevel(Level* level, Screen* screen, int ox, int oy);
    void endLevel(Level* level);
    void draw(Level* level, Screen* screen, int ox, int oy);

    // Layers scale as the world's off-screen layers do; never presented.
    static const int layerScale = 3;

    Screen* frontLayer = nullptr;
    Screen* entityLayer = nullptr;

private:
    void fit(const Screen* screen);
};
