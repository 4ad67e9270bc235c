#include "features/optional_features_rules.h"

#include "image/codecs.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

constexpr QChar kBackspace = u'\b';
constexpr int kHighestChannel = 128;
constexpr double kMaxOffset = 99.995;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The raster snap of a value written with five decimals, written back the same way.
QString snappedFiveDecimals(double value)
{
    const QString text = formatFiveDecimals(value);
    const std::optional<double> snapped = snapToRaster(text);
    return snapped ? formatFiveDecimals(*snapped) : text;
}

} // namespace

std::optional<QChar> filterKey(FieldFilter filter, QChar typed)
{
    if (typed == kBackspace || isDigit(typed))
        return typed;
    switch (filter) {
    case FieldFilter::ChannelNumber:
    case FieldFilter::Digits:
        break;
    case FieldFilter::DisplayText: {
        const QChar c = (typed >= u'a' && typed <= u'z') ? QChar(typed.unicode() - u'a' + u'A') : typed;
        if ((c >= u'A' && c <= u'Z') || c == u'*' || c == u'#' || c == u'-')
            return c;
        break;
    }
    case FieldFilter::Frequency:
        if (typed == u'.')
            return typed;
        break;
    }
    return std::nullopt;
}

QString filterInsertion(FieldFilter filter, const QString &before, const QString &after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;

    QString inserted;
    for (QChar c : after.mid(prefix, after.size() - prefix - suffix)) {
        if (c.unicode() < 0x20)
            continue;   // control characters are no text
        if (const std::optional<QChar> kept = filterKey(filter, c))
            inserted.append(*kept);
    }
    return after.left(prefix) + inserted + after.right(suffix);
}

QString channelNumberChanged(const QString &text)
{
    return leadingNumber(text) > kHighestChannel ? QString::number(kHighestChannel) : text;
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

} // namespace quillon
