// Every text codec, input rule and field check of the model with arbitrary
// strings, and the texts of the program with arbitrary arguments.
//
// Input: the families of checks to run, a language, a band, a typing limit, a cursor and two texts (each a
// length, a form and the bytes: Latin-1, UTF-8 or raw UTF-16 with lone
// surrogates), then bytes for the byte codecs.
//
// Properties: the byte codecs and their texts convert back to the same
// bytes; a text a codec accepts has the shape it documents (five decimals,
// on the raster, two decimals on the 0.05 raster, inside the band);
// snapping and the field checks change a text they made no further; what a
// rule lets through passes the rule again, is cut to the limit and never
// holds control characters; removing text is always allowed; a channel
// name, a frequency and the texts of the optional features come back from
// the image as they went in.

#include "fuzz_support.h"

#include "document/input_rules.h"
#include "features/fm_radio.h"
#include "features/optional_features.h"
#include "features/optional_features_rules.h"
#include "i18n/field_texts.h"
#include "i18n/messages.h"
#include "image/address_map.h"
#include "image/band.h"
#include "image/channel_sheet.h"
#include "image/codecs.h"
#include "image/tone_list.h"

#include <QRegularExpression>

#include <cmath>

using namespace quillon;
using fuzz::Input;

namespace {

QString shown(const QString &s)
{
    QString out;
    for (QChar c : s)
        out += c.unicode() >= 0x20 && c.unicode() < 0x7F ? QString(c) : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return u'"' + out + u'"';
}

bool isFiveDecimals(const QString &s)
{
    static const QRegularExpression form(QStringLiteral("^[0-9]+\\.[0-9]{5}$"));
    return form.match(s).hasMatch();
}

// The last four digits of a five-decimal text lie on the 5 kHz or the 6.25 kHz raster.
bool onRaster(const QString &fiveDecimals)
{
    const int a = fiveDecimals.right(4).toInt();
    return a % 500 == 0 || a % 625 == 0;
}

constexpr InputRule kRules[] = {InputRule::ChannelFrequency, InputRule::ChannelName, InputRule::DtmfCode,
                                InputRule::FmFrequency,      InputRule::ChannelNumber, InputRule::Digits,
                                InputRule::DisplayText,      InputRule::VfoFrequency};

// Once: the whole tone list through its codes and back.
bool checkToneList()
{
    for (Language language : {Language::Chinese, Language::English}) {
        for (int i = 1; i < kToneCount; ++i) {
            const QString entry = toneEntry(i, language);
            const auto bytes = toneBytes(entry);
            FUZZ_CHECK(bytes.has_value(), QStringLiteral("tone %1 has no code").arg(entry));
            FUZZ_CHECK(toneText(bytes->first, bytes->second, language) == entry, QStringLiteral("tone %1 through its code").arg(entry));
            FUZZ_CHECK(toneIndexOf(entry, language) == i, QStringLiteral("position of tone %1").arg(entry));
        }
        FUZZ_CHECK(toneIndexOf(toneEntry(0, language), language) == 0, QStringLiteral("position of Off"));
    }
    return true;
}

void checkHexCodecs(const QString &s, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3)
{
    for (std::uint8_t b : {b0, b1, b2, b3}) {
        FUZZ_CHECK(parseHexByte(hex(b)) == b && parseHexByte(hex2(b)) == b && hex2(b).size() == 2, QStringLiteral("hex of %1").arg(b));
    }
    // The byte of a text: one or two significant hexadecimal digits, nothing else.
    QString digits = s;
    bool allHex = !s.isEmpty();
    for (QChar c : s)
        allHex = allHex && QStringLiteral("0123456789abcdefABCDEF").contains(c);
    while (digits.size() > 1 && digits.startsWith(u'0'))
        digits.remove(0, 1);
    const std::optional<std::uint8_t> parsed = parseHexByte(s);
    FUZZ_CHECK(parsed.has_value() == (allHex && digits.size() <= 2), QStringLiteral("parseHexByte(%1)").arg(shown(s)));
    if (parsed)
        FUZZ_CHECK(hex(*parsed) == digits.toUpper(), QStringLiteral("parseHexByte(%1) = %2").arg(shown(s)).arg(*parsed));

    const QString frequency = frequencyText(b0, b1, b2, b3);
    FUZZ_CHECK(frequency.size() == 9 && frequency[3] == u'.', frequency);
    const std::uint8_t stored[] = {b3, b2, b1, b0};
    for (int k = 1; k <= 4; ++k)
        FUZZ_CHECK(frequencyByte(frequency, k) == stored[k - 1], QStringLiteral("frequencyByte(%1, %2)").arg(frequency).arg(k));
    FUZZ_CHECK(frequencyByte(s, 0) == 0 && frequencyByte(s, 5) == 0, QStringLiteral("frequencyByte with no digit pair"));
    for (int k = 1; k <= 4; ++k)
        frequencyByte(s, k);

    const QString tone = toneText(b0, b1, Language::English);
    const int index = toneIndexOf(tone, Language::English);
    if (index > 0) {
        const auto bytes = toneBytes(toneEntry(index, Language::English));
        FUZZ_CHECK(bytes && bytes->first == b0 && bytes->second == b1, QStringLiteral("tone %1 from %2 %3").arg(tone, hex2(b0), hex2(b1)));
    }
    if (const std::optional<QString> code = toneCode(s)) {
        FUZZ_CHECK(code->size() == 4 && parseHexByte(code->left(2)) && parseHexByte(code->right(2)), QStringLiteral("toneCode(%1) = %2").arg(shown(s), *code));
        FUZZ_CHECK(toneBytes(s).has_value(), QStringLiteral("toneBytes(%1)").arg(shown(s)));
    }
}

void checkNumbers(const QString &s)
{
    const double leading = leadingNumber(s);
    FUZZ_CHECK(std::isfinite(leading), QStringLiteral("leadingNumber(%1) = %2").arg(shown(s)).arg(leading));
    if (isDecimalNumber(s)) {
        const QString t = s.trimmed();
        FUZZ_CHECK(leadingNumber(t) >= 0 && leadingNumber(t) == t.toDouble(), QStringLiteral("value of %1").arg(shown(s)));
    }
    snapToRaster(s);

    // A value as the frequency editor formats it, snapped down onto the raster.
    if (leading >= 0 && leading < 1e6) {
        const QString typed = formatFiveDecimals(leading);
        FUZZ_CHECK(isFiveDecimals(typed), QStringLiteral("formatFiveDecimals(%1) = %2").arg(leading).arg(typed));
        const std::optional<double> snapped = snapToRaster(typed);
        FUZZ_CHECK(snapped.has_value(), QStringLiteral("snapToRaster(%1)").arg(typed));
        const QString stored = formatFiveDecimals(*snapped);
        FUZZ_CHECK(*snapped <= typed.toDouble() && typed.toDouble() - *snapped < 0.00625 + 1e-9 && onRaster(stored),
                   QStringLiteral("snapToRaster(%1) = %2").arg(typed, stored));
        FUZZ_CHECK(snapToRaster(stored) == *snapped, QStringLiteral("snapToRaster(%1) moved again").arg(stored));
    }

    FUZZ_CHECK(trimPadding(s).size() <= s.size() && s.startsWith(trimPadding(s)) && !trimPadding(s).endsWith(QChar(0xFF))
                   && s.mid(trimPadding(s).size()).count(QChar(0xFF)) == s.size() - trimPadding(s).size(),
               QStringLiteral("trimPadding(%1)").arg(shown(s)));

    // FM texts as the FM editors make them (of a length whose values a
    // double tells apart to far below the raster).
    if (isDecimalNumber(s) && s.trimmed().size() <= 15) {
        const QString t = s.trimmed();
        const QString fm = fmText(t);
        const qsizetype point = fm.indexOf(u'.');
        FUZZ_CHECK(point >= 0 && fm.size() - point - 1 == 2 && (fm.endsWith(u'0') || fm.endsWith(u'5')),
                   QStringLiteral("fmText(%1) = %2").arg(shown(t), fm));
        FUZZ_CHECK(fm.toDouble() <= t.toDouble() + 1e-9 && t.toDouble() - fm.toDouble() < 0.05 + 1e-9,
                   QStringLiteral("fmText(%1) = %2 is not cut down onto the raster").arg(shown(t), fm));
        FUZZ_CHECK(fmText(fm) == fm, QStringLiteral("fmText(%1) moved again").arg(fm));
    }
    if (const std::optional<int> code = fmFrequencyCode(s))
        FUZZ_CHECK(*code >= 0 && *code < 0xFFFF, QStringLiteral("fmFrequencyCode(%1) = %2").arg(shown(s)).arg(*code));
}

void checkFmEditors(const QString &s, int channel, int code)
{
    FUZZ_CHECK(fmFrequencyCode(fmFrequencyText(code)) == code, QStringLiteral("FM code %1").arg(code));
    FmRadio fm;
    const FmEdit edit = fm.commitCell(channel, s);
    const QString cell = fm.cell(channel);
    if (edit == FmEdit::Changed && !cell.isEmpty()) {
        const double value = cell.toDouble();
        FUZZ_CHECK(value >= 76.0 && value <= 107.95, QStringLiteral("FM cell %1 from %2").arg(cell, shown(s)));
        fm.ok();
        MemoryImage image;
        fm.encode(image);
        FmRadio decoded;
        decoded.decode(image);
        FUZZ_CHECK(std::abs(decoded.cell(channel).toDouble() - value) < 1e-9,
                   QStringLiteral("FM cell %1 came back as %2").arg(cell, decoded.cell(channel)));
    } else if (edit != FmEdit::Changed) {
        FUZZ_CHECK(cell.isEmpty(), QStringLiteral("refused FM text %1 changed the cell").arg(shown(s)));
    }
    fm.typeFrequencyMode(s);
    if (fm.commitFrequencyMode() == FmEdit::Changed) {
        const double value = fm.controls().frequencyModeText.toDouble();
        FUZZ_CHECK(value >= 76.0 && value < 108.0, QStringLiteral("FM frequency mode %1").arg(fm.controls().frequencyModeText));
    }
}

void checkRules(const QString &before, const QString &after, int limit, int cursor)
{
    for (InputRule rule : kRules) {
        for (QChar c : after) {
            if (const std::optional<QChar> kept = acceptInputCharacter(rule, c))
                FUZZ_CHECK(acceptInputCharacter(rule, *kept) == kept, QStringLiteral("rule %1 on %2").arg(int(rule)).arg(shown(QString(c))));
        }

        const InputResult edited = applyInput(rule, limit, before, after, cursor);
        FUZZ_CHECK(edited.cursor >= 0 && edited.cursor <= edited.text.size(),
                   QStringLiteral("rule %1: cursor %2 in %3").arg(int(rule)).arg(edited.cursor).arg(shown(edited.text)));
        FUZZ_CHECK(edited.text.size() <= std::max(after.size(), qsizetype(3)), QStringLiteral("rule %1 made the text longer").arg(int(rule)));

        // Typed into an empty field.
        const InputResult typed = applyInput(rule, limit, QString(), after, int(after.size()));
        const QString &t = typed.text;
        FUZZ_CHECK(limit == 0 || t.size() <= limit, QStringLiteral("rule %1: %2 beyond the limit %3").arg(int(rule)).arg(shown(t)).arg(limit));
        for (QChar c : t) {
            FUZZ_CHECK(c.unicode() >= 0x20 && !c.isSurrogate() && acceptInputCharacter(rule, c) == c,
                       QStringLiteral("rule %1 let %2 through in %3").arg(int(rule)).arg(shown(QString(c)), shown(t)));
        }
        if (rule == InputRule::ChannelNumber)
            FUZZ_CHECK(leadingNumber(t) <= 128, QStringLiteral("channel number %1").arg(t));
        FUZZ_CHECK(applyInput(rule, limit, t, t, typed.cursor).text == t, QStringLiteral("rule %1 changed %2 again").arg(int(rule)).arg(shown(t)));

        // Taking characters out of what the rule made is always allowed.
        if (!t.isEmpty()) {
            const int from = cursor < 0 ? 0 : cursor % int(t.size());
            const int count = 1 + (limit % int(t.size() - from));
            const QString shorter = QString(t).remove(from, count);
            FUZZ_CHECK(applyInput(rule, limit, t, shorter, from).text == shorter,
                       QStringLiteral("rule %1 refused taking %2 characters out of %3").arg(int(rule)).arg(count).arg(shown(t)));
        }

        // An insertion of characters the rule keeps as they are, without a
        // limit, is taken whole.
        bool passes = true;
        for (QChar c : after)
            passes = passes && c.unicode() >= 0x20 && !c.isSurrogate() && acceptInputCharacter(rule, c) == c;
        if (passes && rule != InputRule::ChannelNumber) {
            const int at = cursor < 0 ? 0 : cursor % int(before.size() + 1);
            const QString inserted = before.left(at) + after + before.mid(at);
            FUZZ_CHECK(applyInput(rule, 0, before, inserted, int(at + after.size())).text == inserted,
                       QStringLiteral("rule %1 refused inserting %2 into %3").arg(int(rule)).arg(shown(after), shown(before)));
        }
    }
}

// Texts the editors make, stored in an image and decoded again.
void checkImageTexts(const QString &s, const QString &other, const BandState &band, Language language)
{
    // A channel name typed into the name editor.
    const QString name = applyInput(InputRule::ChannelName, 5, QString(), s, int(s.size())).text;
    FUZZ_CHECK(channelCode(s).size() == 16 && channelNameBytes(s).size() == 8, QStringLiteral("channel code of %1").arg(shown(s)));
    ChannelSheet sheet;
    sheet.commitName(7, name);
    FUZZ_CHECK(sheet.commitFrequency(7, kColumnRx, formatFiveDecimals(band.low), band, language) == FrequencyCommit::Stored,
               QStringLiteral("the band's lower limit"));

    // A typed receive frequency and transmit frequency.
    const FrequencyCommit rx = sheet.commitFrequency(9, kColumnRx, s, band, language);
    const QString rxCell = sheet.cell(9, kColumnRx);
    if (rx == FrequencyCommit::Stored) {
        FUZZ_CHECK(isFiveDecimals(rxCell) && onRaster(rxCell) && band.contains(rxCell.toDouble()),
                   QStringLiteral("receive frequency %1 from %2 in %3").arg(rxCell, shown(s), bandText(band.index)));
        FUZZ_CHECK(sheet.commitFrequency(9, kColumnRx, rxCell, band, language) == FrequencyCommit::Stored && sheet.cell(9, kColumnRx) == rxCell,
                   QStringLiteral("receive frequency %1 moved again").arg(rxCell));
        sheet.commitFrequency(9, kColumnTx, other, band, language);
    } else {
        FUZZ_CHECK(rxCell.isEmpty(), QStringLiteral("a refused frequency %1 filled the cell").arg(shown(s)));
    }
    MemoryImage image;
    sheet.encodeRecords(image);
    sheet.encodeNames(image);
    ChannelSheet decoded;
    decoded.setNumOf(image, language);
    decoded.setGrid(band);
    decoded.decodeNames(image);
    FUZZ_CHECK(decoded.row(7).name == name, QStringLiteral("name %1 came back as %2").arg(shown(name), shown(decoded.row(7).name)));
    // A new channel's row keeps indices only; the decoded one has the texts too.
    const ChannelRow &typedRow = sheet.row(9);
    const ChannelRow &decodedRow = decoded.row(9);
    FUZZ_CHECK(decodedRow.rxText == typedRow.rxText && decodedRow.txText == typedRow.txText
                   && decodedRow.rxToneIndex == typedRow.rxToneIndex && decodedRow.txToneIndex == typedRow.txToneIndex
                   && decodedRow.optionIndex == typedRow.optionIndex,
               QStringLiteral("channel %1 / %2 came back as %3 / %4")
                   .arg(typedRow.rxText, typedRow.txText, decodedRow.rxText, decodedRow.txText));

    // The optional features' text fields, left as the window leaves them.
    OptionalFeatures features;
    for (Feature id : {Feature::PriorityChannel, Feature::PresentChannel, Feature::VfoFrequency, Feature::VfoOffset}) {
        const InputRule rule = *featureInputRule(id);
        const QString typed = applyInput(rule, featureField(id).maxLength, QString(), s, int(s.size())).text;
        for (const QString &t : {s, typed}) {
            const QString left = featureTextLeft(id, t, band);
            FUZZ_CHECK(featureTextLeft(id, left, band) == left, QStringLiteral("field %1 moved %2 again").arg(int(id)).arg(left));
            if (id == Feature::VfoFrequency) {
                FUZZ_CHECK(isFiveDecimals(left) && (band.contains(left.toDouble()) || left == formatFiveDecimals(band.low)),
                           QStringLiteral("VFO frequency %1 from %2").arg(left, shown(t)));
            } else if (id == Feature::VfoOffset) {
                FUZZ_CHECK(isFiveDecimals(left) && left.toDouble() <= 99.995, QStringLiteral("VFO offset %1 from %2").arg(left, shown(t)));
            } else {
                FUZZ_CHECK(left.isEmpty() || (left.toInt() >= 1 && left.toInt() <= 128 && QString::number(left.toInt()) == left),
                           QStringLiteral("channel number %1 from %2").arg(left, shown(t)));
            }
            features.setText(id, left);
        }
    }
    features.setText(Feature::PowerOnText, applyInput(InputRule::DisplayText, featureField(Feature::PowerOnText).maxLength, QString(), s, int(s.size())).text);
    features.setText(Feature::Password, applyInput(InputRule::Digits, featureField(Feature::Password).maxLength, QString(), other, int(other.size())).text);
    MemoryImage block;
    features.encodeBlock(block, band.index);
    features.encodePassword(block);
    OptionalFeatures back;
    back.decodeOptionBytes(block);
    back.decodeRest(block, language);
    back.decodePassword(block);
    for (Feature id : {Feature::PriorityChannel, Feature::PresentChannel, Feature::VfoFrequency, Feature::VfoOffset,
                       Feature::PowerOnText, Feature::Password})
        FUZZ_CHECK(back.text(id) == features.text(id), QStringLiteral("field %1: %2 came back as %3").arg(int(id)).arg(shown(features.text(id)), shown(back.text(id))));
    FUZZ_CHECK(channelNumberChanged(s) == s || channelNumberChanged(s) == QStringLiteral("128"), QStringLiteral("channelNumberChanged(%1)").arg(shown(s)));
}

void checkTexts(const QString &s, int number, Language language)
{
    for (int m = 0; m <= int(Message::FmFrequencyRange); ++m) {
        const MessageText message = messageText(Message(m), language, s);
        FUZZ_CHECK(!message.text.isEmpty(), QStringLiteral("message %1 without text").arg(m));
        if (Message(m) == Message::SerialPortUnusable)
            FUZZ_CHECK(message.text.contains(s), QStringLiteral("the port number is missing from its message"));
    }
    FUZZ_CHECK(buttonText(number, language).isEmpty() == (number < kAnswerOk || number > kAnswerNo), QStringLiteral("button %1").arg(number));
    FUZZ_CHECK(bandText(number).isEmpty() == (number < 0 || number >= kBandCount), QStringLiteral("band %1").arg(number));
    FUZZ_CHECK(toneEntry(number, language).isEmpty() == (number < 0 || number >= kToneCount), QStringLiteral("tone entry %1").arg(number));
    toneIndexOf(s, language);
    for (int column = kColumnPower; column <= kColumnScramble; ++column) {
        const bool listed = number >= 0 && number < channelOptionCount(column);
        if (listed)
            FUZZ_CHECK(!channelOptionText(column, number, language).isEmpty(), QStringLiteral("option %1 of column %2").arg(number).arg(column));
    }
    if (const FeatureTexts *texts = featureTextsOf(s))
        FUZZ_CHECK(texts->control == s, QStringLiteral("feature texts of %1").arg(shown(s)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool toneListChecked = checkToneList();
    Q_UNUSED(toneListChecked);

    Input in(data, size);
    // Which families of checks run (0: all): the image round trips pass over
    // the whole channel table and cost more than the rest together.
    const std::uint8_t families = in.byte() & 0x0F;
    const auto runs = [families](int family) { return families == 0 || (families & family); };
    const Language language = in.flag() ? Language::English : Language::Chinese;
    BandState band;
    band.select(in.range(0, kBandCount - 1));
    const int limit = in.range(0, 10);
    const int cursor = in.range(-2, 60);
    const QString before = in.text();
    const QString after = in.text();
    const std::uint8_t b0 = in.byte(), b1 = in.byte(), b2 = in.byte(), b3 = in.byte();
    const int number = static_cast<std::int8_t>(in.byte()) * 3;

    if (runs(1)) {
        for (const QString &s : {after, before}) {
            checkHexCodecs(s, b0, b1, b2, b3);
            checkNumbers(s);
        }
        checkFmEditors(after, 1 + b0 % FmRadio::kChannels, (b1 << 8 | b2) % 641);
    }
    if (runs(2))
        checkRules(before, after, limit, cursor);
    if (runs(4))
        checkImageTexts(after, before, band, language);
    if (runs(8))
        checkTexts(after, number, language);
    return 0;
}
