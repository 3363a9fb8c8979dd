#include "level/Light.h"

#include <cstdlib>

void Light::createAmbient(int c, float i)
{
    type = Ambient;
    colour = c;
    intensity = i;
}

void Light::createOmni(int c, float i, int px, int py, int r, bool att)
{
    type = Omni;
    colour = c;
    intensity = i;
    x = px;
    y = py;
    radius = r;
    attenuate = att;
}

void Light::createSpot(int c, float i, int px, int py, int r, bool att, int ap, int dir)
{
    createOmni(c, i, px, py, r, att);
    type = Spot;
    aperture = ap;
    direction = dir;
}

void Light::createDirectional(int c, float i, int dx, int dy)
{
    type = Directional;
    colour = c;
    intensity = i;
    dirX = dx;
    dirY = dy;
}

void Light::createSpecial(int c, float i, int px, int py, int maxRadius)
{
    type = Special;
    colour = c;
    intensity = i;
    x = px;
    y = py;
    radius = 0;
    aperture = maxRadius;
    direction = 20;
}

void Light::createFire(int px, int py)
{
    createOmni(int(0xFFFFCC66u), 1.0f, px, py, 70, false);
    style = StyleFire;
}

void Light::setStyle(int s)
{
    switch (s) {
    case StyleCandle:
        createOmni(int(0xFFFFEE66u), 1.0f, 0, 0, 40, false);
        break;
    case StyleElectric:
        // The torch keeps its attenuation: only the cone's shape is set here.
        createSpot(int(0xFFFFFFFFu), 1.0f, 0, 0, 100, attenuate, 120, 0);
        break;
    case StyleAceto:
        createOmni(int(0xFFFFEE88u), 1.0f, 0, 0, 80, attenuate);
        break;
    default:
        style = StyleNone;
        return;
    }
    style = s;
}

bool Light::update()
{
    if (intensity > 0) {
        float r = float(std::rand() % 255) / 255.0f;
        if (style == StyleCandle || style == StyleFire)
            intensity = 0.8f + r * (1.0f - 0.8f);
        else if (style == StyleAceto)
            intensity = 0.9f + r * (1.0f - 0.9f);
    }
    if (type == Special) {
        radius += 10;
        return radius <= aperture;
    }
    return true;
}
