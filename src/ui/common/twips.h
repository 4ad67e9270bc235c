#pragma once

namespace quillon {

// The windows' geometry is designed in twips; 15 twips make a pixel at 96 dpi.
constexpr int twips(int value) { return value / 15; }

} // namespace quillon
