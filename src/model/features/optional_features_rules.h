#pragma once

#include "features/optional_features.h"
#include "image/band.h"

#include <QString>

// The checks of the optional-features window's text fields, as pure
// functions: the window only hands over what the user typed.
namespace quillon {

// Channel-number fields while typing: a value above 128 becomes "128".
QString channelNumberChanged(const QString &text);

// The text a field keeps when the user leaves it (or presses Enter):
// - priority and present channel: the whole part of the value, empty below 1;
// - VFO frequency: inside the band snapped down onto the raster, outside the
//   band the band's lower limit, five decimals either way;
// - VFO offset: at most 99.995 MHz, snapped onto the raster;
// - every other field keeps its text.
QString featureTextLeft(Feature id, const QString &text, const BandState &band);

} // namespace quillon
