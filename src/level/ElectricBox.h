#pragma once

// A combination lock: switches set its eight inputs, and while they match
// the solution the box keeps the lights and objects named `target` on.
class ElectricBox {
public:
    static constexpr int inputCount = 8;

    ElectricBox();

    // True when every input equals the solution.
    bool result() const;

    char name[256] = "";
    int state[inputCount];
    int solution[inputCount];
    char target[256] = "";
};
