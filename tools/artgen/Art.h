#pragma once

#include "Album.h"

// The pictures of the game, drawn in code. Each adds its pictures to the
// album in container order.
void addItemArt(Album& album);     // bonuses, HUD icons, lamps, menu pictures
void addCreatureArt(Album& album); // dog, cat, police car, people
void addRoomArt(Album& album);     // walls, rock, floors, doors, switches, effects
void addTitleArt(Album& album);    // the title and the credits picture
void addKeyArt(Album& album);      // key caps of the control container
void addPurpleArt(Album& album);   // the car park and the dark rooms: its people, cars, ramps
void addPinkTealArt(Album& album); // vats, the night sky and the moon
void addCryptArt(Album& album);    // Orsolan's tomb and his ghost
void addLandmarkArt(Album& album); // street plaques, station plates and the hubs' pieces

// The credits picture (the cat under a lamp), drawn by the creature art.
void drawCreditsCat(Picture& p);

// The whole album, always drawn the same way.
void drawAllArt(Album& album);
