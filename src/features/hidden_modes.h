#pragma once

namespace quillon {

enum class HiddenMode { ForcedWrite = 0, Calibration = 1, Fm = 2 };

// The three service modes, unlocked by clicks on captions of the optional
// features window and locked again by a double press on a toolbar button.
// Times are whole seconds since midnight, passed in so tests control the clock.
class HiddenModes {
public:
    bool isOn(HiddenMode mode) const;
};

} // namespace quillon
