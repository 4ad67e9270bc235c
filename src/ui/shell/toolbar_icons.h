#pragma once

#include <QIcon>

namespace quillon {

enum class Glyph { New, Open, Save, Read, Write, ForcedWrite, Calibration, Fm, Logo };

// Icons of our own, painted as vector shapes at whatever size and pixel
// ratio the screen asks for, so they stay crisp at any scale.
QIcon glyphIcon(Glyph glyph);

} // namespace quillon
