#include "image/band.h"

#include "image/codecs.h"

#include <array>

namespace quillon {

namespace {

constexpr std::array<const char *, kBandCount> kBands{
    "136-174MHz", "240-260MHz", "350-390MHz", "400-470MHz", "400-420MHz",
    "450-470MHz", "440-480MHz", "450-490MHz", "400-490MHz", "134-260MHz",
};

} // namespace

QString bandText(int index)
{
    if (index < 0 || index >= kBandCount)
        return {};
    return QString::fromLatin1(kBands[static_cast<std::size_t>(index)]);
}

bool BandState::select(int newIndex)
{
    const QString text = bandText(newIndex);
    if (text.isEmpty())
        return false;
    index = newIndex;
    // The limits are read from the entry's text, as the list shows it.
    low = text.mid(0, 3).toInt();
    high = text.mid(4, 3).toInt();
    return true;
}

bool BandState::contains(double megahertz) const
{
    return low <= megahertz && megahertz < high;
}

QString BandState::centreText() const
{
    return formatFiveDecimals((low + high) / 2.0);
}

} // namespace quillon
