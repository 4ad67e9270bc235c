#include "features/hidden_modes.h"

namespace quillon {

namespace {

constexpr int kSecondsPerDay = 24 * 60 * 60;
constexpr int kUnlockWindow = 5;   // seconds from the first click of a sequence

// Seconds from `earlier` to `later` on the time-of-day clock. The clock
// restarts at midnight, so a later time that reads smaller lies in the next day.
int elapsed(int earlier, int later)
{
    return ((later - earlier) % kSecondsPerDay + kSecondsPerDay) % kSecondsPerDay;
}

} // namespace

bool HiddenModes::isOn(HiddenMode mode) const
{
    return m_modes[static_cast<int>(mode)].on;
}

bool HiddenModes::clickCaption(HiddenMode mode, int step, int secondsOfDay)
{
    Unlock &u = m_modes[static_cast<int>(mode)];
    if (step < 0 || step >= int(u.steps.size()))
        return false;
    if (!u.steps[0] && !u.steps[1] && !u.steps[2])
        u.startTime = secondsOfDay;
    if (elapsed(u.startTime, secondsOfDay) > kUnlockWindow) {
        // Too late for this attempt: the click starts a new one.
        u.steps = {};
        u.steps[static_cast<std::size_t>(step)] = true;
        u.startTime = secondsOfDay;
        return false;
    }
    u.steps[static_cast<std::size_t>(step)] = true;
    if (u.steps[0] && u.steps[1] && u.steps[2])
        u.on = true;
    return u.on;
}

bool HiddenModes::pressLockButton(HiddenMode mode, int secondsOfDay)
{
    Unlock &u = m_modes[static_cast<int>(mode)];
    if (u.lastPress < 0 || elapsed(u.lastPress, secondsOfDay) >= 1) {
        u.lastPress = secondsOfDay;
        return false;
    }
    lock(mode);
    return true;
}

void HiddenModes::lock(HiddenMode mode)
{
    m_modes[static_cast<int>(mode)] = Unlock{};
}

} // namespace quillon
