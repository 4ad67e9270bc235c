#include "features/hidden_modes.h"

namespace quillon {
bool HiddenModes::isOn(HiddenMode mode) const { return m_modes[static_cast<int>(mode)].on; }
bool HiddenModes::clickCaption(HiddenMode, int, int) { return false; }
bool HiddenModes::pressLockButton(HiddenMode, int) { return false; }
void HiddenModes::lock(HiddenMode mode) { m_modes[static_cast<int>(mode)] = Unlock{}; }
} // namespace quillon
