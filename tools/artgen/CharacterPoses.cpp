#include "CharacterPoses.h"

#include <fstream>
#include <sstream>

int CharacterPoses::load(const std::string& file)
{
    std::ifstream in(file);
    if (!in) {
        error = "cannot open " + file;
        return 0;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        number++;
        if (line.empty() || line[0] == '#' || line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        if (!parseLine(line)) {
            error = file + ":" + std::to_string(number) + ": " + error;
            return 0;
        }
    }
    if (width < 1 || height < 1 || sequences.empty()) {
        error = file + ": no size or no sequence";
        return 0;
    }
    for (const POSE_SEQUENCE& s : sequences)
        if (s.frames.empty()) {
            error = file + ": sequence " + s.name + " has no frame";
            return 0;
        }
    return 1;
}

bool CharacterPoses::parseLine(const std::string& line)
{
    std::istringstream words(line);
    std::string keyword;
    words >> keyword;
    if (keyword == "size") {
        words >> width >> height;
    } else if (keyword == "outline") {
        words >> outline;
    } else if (keyword == "colour") {
        int digit = -1;
        std::string value;
        words >> digit >> value;
        if (digit < 0 || digit > 9 || value.empty()) {
            error = "a colour needs a digit and a value";
            return false;
        }
        palette[digit] = uint32_t(std::stoul(value, nullptr, 0));
    } else if (keyword == "sequence") {
        std::string rest;
        std::getline(words, rest);
        return parseSequence(rest);
    } else if (keyword == "frame") {
        POSE p;
        words >> p.moveX >> p.moveY >> p.hipX >> p.hipY >> p.lean >> p.nearThigh >> p.nearKnee >> p.farThigh >>
            p.farKnee >> p.nearArm >> p.nearElbow >> p.farArm >> p.farElbow;
        if (sequences.empty()) {
            error = "a frame before any sequence";
            return false;
        }
        sequences.back().frames.push_back(p);
    } else {
        error = "unknown keyword " + keyword;
        return false;
    }
    if (words.fail()) {
        error = "missing or bad numbers after " + keyword;
        return false;
    }
    return true;
}

bool CharacterPoses::parseSequence(const std::string& rest)
{
    std::istringstream words(rest);
    POSE_SEQUENCE s;
    std::string view;
    words >> s.name >> view;
    if (view == "side" || view == "back") {
        s.back = view == "back";
    } else if (view == "like") {
        std::string other, lamp;
        float arm = 0, elbow = 0;
        words >> other >> lamp >> arm >> elbow;
        const POSE_SEQUENCE* source = find(other);
        if (!source || lamp != "lamp" || words.fail()) {
            error = "\"like\" needs an earlier sequence, \"lamp\" and two angles";
            return false;
        }
        s.back = source->back;
        s.frames = source->frames;
        for (POSE& p : s.frames) {
            p.nearArm = arm;
            p.nearElbow = elbow;
        }
    } else {
        error = "a sequence is drawn from the side, the back, or like another";
        return false;
    }
    if (s.name.empty() || s.name.size() > 31 || find(s.name)) {
        error = "sequence names are unique and at most 31 characters";
        return false;
    }
    sequences.push_back(s);
    return true;
}

const POSE_SEQUENCE* CharacterPoses::find(const std::string& name) const
{
    for (const POSE_SEQUENCE& s : sequences)
        if (s.name == name)
            return &s;
    return nullptr;
}
