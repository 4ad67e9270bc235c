#include "document/input_rules.h"

#include "features/optional_features_rules.h"

#include <algorithm>

namespace quillon {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QChar raised(QChar c)
{
    return (c >= u'a' && c <= u'z') ? QChar(c.unicode() - u'a' + u'A') : c;
}

} // namespace

std::optional<QChar> acceptInputCharacter(InputRule rule, QChar typed)
{
    if (typed == u'\b')
        return typed;
    switch (rule) {
    case InputRule::ChannelFrequency:
    case InputRule::FmFrequency:
    case InputRule::VfoFrequency:
        if (isDigit(typed) || typed == u'.')
            return typed;
        break;
    case InputRule::ChannelNumber:
    case InputRule::Digits:
        if (isDigit(typed))
            return typed;
        break;
    case InputRule::ChannelName: {
        // The radio's single-byte characters from '#' on; after raising,
        // the digits, the capitals and the signs up to the grave accent.
        const QChar c = raised(typed);
        if (c.unicode() >= 0x23 && c.unicode() <= 0x7A)
            return c;
        break;
    }
    case InputRule::DtmfCode: {
        const QChar c = raised(typed);
        if (isDigit(c) || (c >= u'A' && c <= u'D') || c == u'*' || c == u'#')
            return c;
        break;
    }
    case InputRule::DisplayText: {
        const QChar c = raised(typed);
        if (isDigit(c) || (c >= u'A' && c <= u'Z') || c == u'*' || c == u'#' || c == u'-')
            return c;
        break;
    }
    }
    return std::nullopt;
}

std::optional<InputRule> featureInputRule(Feature id)
{
    switch (id) {
    case Feature::PriorityChannel:
    case Feature::PresentChannel: return InputRule::ChannelNumber;
    case Feature::Password: return InputRule::Digits;
    case Feature::PowerOnText: return InputRule::DisplayText;
    case Feature::VfoFrequency:
    case Feature::VfoOffset: return InputRule::VfoFrequency;
    default: return std::nullopt;
    }
}

InputResult applyInput(InputRule rule, int limit, const QString &before, const QString &after, int cursor)
{
    // What the edit kept of the old text: a common end that does not reach
    // back past the cursor (the inserted part ends there), then a common start.
    const qsizetype shorter = std::min(before.size(), after.size());
    const qsizetype at = std::clamp<qsizetype>(cursor, 0, after.size());
    qsizetype suffix = 0;
    while (suffix < shorter && suffix < after.size() - at
           && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    qsizetype prefix = 0;
    while (prefix < shorter - suffix && prefix < at && before[prefix] == after[prefix])
        ++prefix;

    const QString inserted = after.mid(prefix, after.size() - prefix - suffix);
    const qsizetype keptLength = prefix + suffix;
    const qsizetype room = limit > 0 ? std::max<qsizetype>(0, limit - keptLength) : inserted.size();
    QString accepted;
    for (QChar c : inserted) {
        if (accepted.size() >= room)
            break;
        if (c.unicode() < 0x20 || c.isSurrogate())
            continue;
        if (const std::optional<QChar> kept = acceptInputCharacter(rule, c))
            accepted.append(*kept);
    }
    InputResult result{after.left(prefix) + accepted + after.right(suffix), int(prefix + accepted.size())};
    // Typing a channel number above 128 shows 128 at once.
    if (rule == InputRule::ChannelNumber) {
        const QString capped = channelNumberChanged(result.text);
        if (capped != result.text)
            result = {capped, int(capped.size())};
    }
    return result;
}

} // namespace quillon
