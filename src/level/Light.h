#pragma once

// One light source of a room: ambient light, an omni light (a disc around a
// point), a spot light (a cone), directional light (parallel rays) or a
// special light (a ring that grows from a point and reveals the room). The
// style sets the flicker and which channel of phosphorescent pixels the
// light charges.
class Light {
public:
    enum Type { Ambient = 0, Omni = 1, Spot = 2, Directional = 3, Special = 4 };
    enum Style { StyleNone = 0, StyleCandle = 1, StyleElectric = 2, StyleAceto = 3, StyleFire = 4 };

    Light() = default;

    void createAmbient(int colour, float intensity);
    void createOmni(int colour, float intensity, int x, int y, int radius, bool attenuate);
    void createSpot(int colour, float intensity, int x, int y, int radius, bool attenuate, int aperture,
                    int direction);
    void createDirectional(int colour, float intensity, int dirX, int dirY);
    // A ring that starts at radius 0 and grows up to maxRadius; 20 pixels wide.
    void createSpecial(int colour, float intensity, int x, int y, int maxRadius);
    // The steady-coloured flickering disc of a fire.
    void createFire(int x, int y);
    // Turns the light into one of the carried lamps: 1 candle, 2 electric
    // torch, 3 acetylene lamp, placed at (0, 0) for its owner to move. Any
    // other value only clears the style.
    void setStyle(int s);

    // Flickers the intensity by style and grows a special ring. Returns false
    // when a special ring has passed its largest radius and must be deleted.
    bool update();

    char name[256] = "";
    bool on = true;
    int type = Ambient;
    int style = StyleNone;
    int colour = 0;
    float intensity = 0.0f;
    bool attenuate = false;
    int x = 0;
    int y = 0;
    int dirX = 0;
    int dirY = 0;
    // Omni and spot reach; the current radius of a special ring.
    int radius = 0;
    // Spot: opening angle in degrees; special: largest radius.
    int aperture = 0;
    // Spot: central direction in degrees (0 right, 90 down); special: ring width.
    int direction = 0;
    // The light belongs to someone else (the player's lamp): its level never deletes it.
    bool external = false;
};
