#include "features/optional_features_rules.h"

#include "image/codecs.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

constexpr int kHighestChannel = 128;
constexpr double kMaxOffset = 99.995;

// The raster snap of a value written with five decimals, written back the same way.
QString snappedFiveDecimals(double value)
{
    const QString text = formatFiveDecimals(value);
    const std::optional<double> snapped = snapToRaster(text);
    return snapped ? formatFiveDecimals(*snapped) : text;
}

QString channelNumberLeft(const QString &text)
{
    // The change rule already keeps the value at 128 or below; the clamp only
    // keeps the conversion to an integer safe whatever reaches this point.
    const double whole = std::floor(std::min(leadingNumber(text), double(kHighestChannel)));
    return whole < 1 ? QString() : QString::number(static_cast<int>(whole));
}

QString vfoFrequencyLeft(const QString &text, const BandState &band)
{
    const double value = leadingNumber(text);
    if (band.contains(value))
        return snappedFiveDecimals(value);
    return formatFiveDecimals(band.low);
}

QString vfoOffsetLeft(const QString &text)
{
    return snappedFiveDecimals(std::clamp(leadingNumber(text), 0.0, kMaxOffset));
}

} // namespace

QString channelNumberChanged(const QString &text)
{
    return leadingNumber(text) > kHighestChannel ? QString::number(kHighestChannel) : text;
}

QString featureTextLeft(Feature id, const QString &text, const BandState &band)
{
    switch (id) {
    case Feature::PriorityChannel:
    case Feature::PresentChannel: return channelNumberLeft(text);
    case Feature::VfoFrequency: return vfoFrequencyLeft(text, band);
    case Feature::VfoOffset: return vfoOffsetLeft(text);
    default: return text;
    }
}

} // namespace quillon
