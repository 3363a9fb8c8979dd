#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The choreography of a character sheet, read from a text file under
// content/: the frame size, the ten palette colours, and for every named
// sequence its frames as poses of a jointed figure with the movement
// offset each frame hands to the character.
//
// File lines (blank lines and lines starting with '#' are skipped):
//   size W H
//   colour D 0xAARRGGBB           palette entry of digit D
//   outline 0|1                   a dark rim around the figure
//   sequence NAME side|back       a new sequence drawn from the side or the back
//   sequence NAME like OTHER lamp ARM ELBOW
//                                 OTHER's frames with the near arm holding the
//                                 lamp forward at these two angles
//   frame MX MY  X Y LEAN  NT NK FT FK  NA NE FA FE
//     MX MY  movement offset of the frame
//     X Y    shift of the hips from their standing place
//     LEAN   torso angle from upright, forward positive
//     NT NK  near thigh angle from straight down (forward positive), knee bend
//     FT FK  far thigh and knee
//     NA NE  near upper arm angle from straight down (forward positive), elbow bend
//     FA FE  far upper arm and elbow
// Seen from the back, "near" is the left side and limb angles open outward.
struct POSE {
    int moveX = 0;
    int moveY = 0;
    float hipX = 0;
    float hipY = 0;
    float lean = 0;
    float nearThigh = 0, nearKnee = 0, farThigh = 0, farKnee = 0;
    float nearArm = 0, nearElbow = 0, farArm = 0, farElbow = 0;
};

struct POSE_SEQUENCE {
    std::string name;
    bool back = false;
    std::vector<POSE> frames;
};

struct CharacterPoses {
    // Reads the file; returns 1, or 0 with the reason (and line) in `error`.
    int load(const std::string& file);

    int width = 0;
    int height = 0;
    bool outline = false;
    uint32_t palette[10] = {};
    std::vector<POSE_SEQUENCE> sequences;
    std::string error;

private:
    bool parseLine(const std::string& line);
    bool parseSequence(const std::string& rest);
    const POSE_SEQUENCE* find(const std::string& name) const;
};
