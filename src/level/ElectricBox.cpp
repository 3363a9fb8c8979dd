#include "level/ElectricBox.h"

ElectricBox::ElectricBox()
{
    for (int i = 0; i < inputCount; i++) {
        state[i] = 1;
        solution[i] = 1;
    }
}

bool ElectricBox::result() const
{
    for (int i = 0; i < inputCount; i++)
        if (state[i] != solution[i])
            return false;
    return true;
}
