#pragma once

#include <QIcon>

namespace quillon {

enum class Glyph { New, Open, Save, Read, Write, ForcedWrite, Calibration, Fm };

// Icons of our own, painted as vector shapes at whatever size and pixel
// ratio the screen asks for, so they stay crisp at any scale.
QIcon glyphIcon(Glyph glyph);

// The program's own icon (window, About box, desktop): the drawing of the
// installed icon, rendered at build time for each size a window asks for
// and kept as pixels ready to show.
QIcon applicationIcon();

} // namespace quillon
