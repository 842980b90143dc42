#pragma once

namespace vindrel {

enum WaveType : int {
    Sine = 0,
    Square = 1,
    NoiseBandPass = 2,
};

} // namespace vindrel
