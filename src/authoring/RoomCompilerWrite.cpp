// Writing the level text of the compiled room.

#include "authoring/RoomCompilerPasses.h"

using namespace roomsource;

void RoomCompiler::Impl::writeLevel()
{
    std::ostringstream out;
    out << "BASE_COLOR " << baseColor << "\n";
    out << "BASE_DEPTH " << baseDepth << "\n";
    if (memories)
        out << "MEMORIES\n";
    if (dirt)
        out << "DIRT\n";
    if (noise)
        out << "NOISE\n";
    if (reveal)
        out << "REVEAL\n";
    if (checkpoint)
        out << "INFO checkpoint\n";
    if (music >= 0)
        out << "MUSIC " << music << "\n";
    if (!special.empty())
        out << "SPECIAL " << special << "\n";

    // The map's top row is one above the highest baked picture.
    int top = 0;
    for (const RECORD& r : records) {
        const Tile* t = owner.tile(r.tile);
        if (!r.bonus && (t->frameCount == 1 || r.text == "background"))
            top = std::min(top, r.y);
    }
    int originY = top - 1;

    char number[128];
    auto element = [&](const RECORD& r) {
        out << (r.bonus ? "BONUS\n  " : "ELEMENT\n") << r.name << "\n";
        out << "  " << r.tile << "\n";
        if (r.bonus)
            out << " 0 0\n";
        else {
            boundedFormat(number, sizeof number, " %g %g\n", double(r.speed), double(r.frame));
            out << number;
        }
        out << " " << r.x << " " << r.y << " " << r.depth << "\n";
        std::string text = r.text;
        if (r.water == 1)
            text = kindText(KindWaterfill, std::to_string(r.waterA - originY + 1));
        else if (r.water == 2)
            text = kindText(KindWaterSwitched, std::to_string(r.waterA - originY) + " " +
                                                   std::to_string(r.waterA - originY) + " " +
                                                   std::to_string(r.waterB - originY));
        out << "  " << text << "\n";
    };
    RECORD room;
    room.name = "room";
    room.tile = "room_" + owner.room + ".til";
    room.text = "room";
    element(room);
    for (const RECORD& r : records)
        if (!r.bonus)
            element(r);
    for (const RECORD& r : records)
        if (r.bonus)
            element(r);
    for (const BOX& b : boxes) {
        out << "ELECTRIC_BOX\n" << b.name << "\n";
        for (int k = 0; k < 2; k++) {
            for (int i = 0; i < 8; i++)
                out << (i ? " " : "") << (k ? b.solution[i] : b.state[i]);
            out << "\n";
        }
        out << b.target << "\n";
    }
    owner.level = out.str();
}
