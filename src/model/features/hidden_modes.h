#pragma once

#include <array>

namespace quillon {

enum class HiddenMode { ForcedWrite = 0, Calibration = 1, Fm = 2 };

// The three service modes, unlocked by clicks on captions of the optional
// features window and locked again by a double press on a toolbar button.
// Times are whole seconds since midnight, passed in so tests control the clock;
// a sequence or a double press that spans midnight is measured across it.
class HiddenModes {
public:
    bool isOn(HiddenMode mode) const;

    // A click on caption `step` (0..2) of the mode's unlock set at time
    // `secondsOfDay`. Returns true when the mode is on afterwards, i.e. the
    // caller performs the mode's actions.
    bool clickCaption(HiddenMode mode, int step, int secondsOfDay);

    // A press on the mode's toolbar button at `secondsOfDay`. Returns true
    // when this press locked the mode (a second press within a second).
    bool pressLockButton(HiddenMode mode, int secondsOfDay);

    // Switches the mode off and clears its unlock progress.
    void lock(HiddenMode mode);

private:
    struct Unlock {
        bool on = false;
        std::array<bool, 3> steps{};
        int startTime = 0;
        int lastPress = -1;   // recorded toolbar press, -1 none
    };
    std::array<Unlock, 3> m_modes;
};

} // namespace quillon
