#pragma once

#include "image/band.h"

#include <QChar>
#include <QString>

#include <optional>

// The input rules of the optional-features window's text fields, as pure
// functions: the window only routes typed characters and focus changes here.
namespace quillon {

enum class FieldFilter {
    ChannelNumber,   // priority and present channel: digits
    Digits,          // password: digits
    DisplayText,     // power-on text: digits, A-Z, * # -, lower case raised
    Frequency,       // VFO frequency and offset: digits and "."
};

// The character a typed character becomes in the field, or nullopt when the
// field drops it. Backspace always passes.
std::optional<QChar> filterKey(FieldFilter filter, QChar typed);

// A field changed from `before` to `after` by something other than a typed key
// (a paste, a drop): the inserted characters go through the same filter, so
// no way of entering text bypasses it.
QString filterInsertion(FieldFilter filter, const QString &before, const QString &after);

// Channel-number fields: while typing a value above 128 becomes "128"; on
// leaving, the whole part of the value, and empty for anything below 1.
QString channelNumberChanged(const QString &text);
QString channelNumberLeft(const QString &text);

// VFO frequency on leaving: inside the band snapped down onto the raster,
// outside the band the band's lower limit; five decimals either way.
QString vfoFrequencyLeft(const QString &text, const BandState &band);
// VFO offset on leaving: at most 99.995 MHz, snapped onto the raster.
QString vfoOffsetLeft(const QString &text);

} // namespace quillon
