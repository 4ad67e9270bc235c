#include "image/codecs.h"

#include "image/tone_list.h"

#include <algorithm>

namespace quillon {

namespace {

// Value of one hexadecimal digit, or -1.
int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool allDigits(QStringView text)
{
    for (QChar c : text) {
        if (!isDigit(c))
            return false;
    }
    return !text.isEmpty();
}

} // namespace

QString hex(std::uint8_t value)
{
    return QString::number(value, 16).toUpper();
}

QString hex2(std::uint8_t value)
{
    return hex(value).rightJustified(2, u'0');
}

std::optional<std::uint8_t> parseHexByte(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + digit;
        if (value > 0xFF)
            return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

double leadingNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    QString number;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        number += text[i++];
    bool point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isDigit(c)) {
            number += c;
        } else if (c == u'.' && !point) {
            point = true;
            number += c;
        } else {
            break;
        }
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok ? value : 0.0;
}

bool isDecimalNumber(const QString &text)
{
    const QString t = text.trimmed();
    bool point = false;
    bool digit = false;
    for (QChar c : t) {
        if (isDigit(c)) {
            digit = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

QString formatFiveDecimals(double value)
{
    return QString::number(value, 'f', 5);
}

QString frequencyText(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3)
{
    const QString s = hex2(b3) + hex2(b2) + hex2(b1) + hex2(b0);
    return s.left(3) + u'.' + s.right(5);
}

std::optional<std::uint8_t> frequencyByte(const QString &frequency, int k)
{
    QString digits = frequency;
    digits.remove(u'.');
    switch (k) {
    case 1: return parseHexByte(frequency.left(2));
    case 2: return parseHexByte(digits.mid(2, 2));
    case 3: return parseHexByte(digits.mid(4, 2));
    case 4: return parseHexByte(frequency.right(2));
    default: return std::uint8_t{0};
    }
}

std::optional<double> snapToRaster(const QString &frequency)
{
    if (frequency.size() < 5 || !isDecimalNumber(frequency))
        return std::nullopt;
    const QString tail = frequency.right(4);
    if (!allDigits(tail))
        return std::nullopt;
    const int a = tail.toInt();
    const int r5 = a % 500;
    const int r6 = a % 625;
    if (r5 == 0 || r6 == 0)
        return frequency.toDouble();
    // On equal remainders both steps land on the same value.
    const int snapped = r5 < r6 ? a - r5 : a - r6;
    const QString text = frequency.left(frequency.size() - 4)
        + QString::number(snapped).rightJustified(4, u'0');
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QString toneText(std::uint8_t lo, std::uint8_t hi, Language language)
{
    if (lo == 0xFF)
        return toneEntry(0, language);
    if (hi >= 0x80 && hi <= 0x8F)
        return u'D' + hex(hi).right(1) + hex2(lo) + u'N';
    const QString h = hex(hi);
    if (h.startsWith(u'C'))
        return u'D' + h.right(1) + hex2(lo) + u'I';
    const QString l = hex2(lo);
    return h + l.left(1) + u'.' + l.right(1);
}

std::optional<QString> toneCode(const QString &tone)
{
    QString code;
    if (tone.contains(u'N') || tone.contains(u'I')) {
        if (tone.size() < 4)
            return std::nullopt;
        const QChar polarity = tone.contains(u'N') ? u'8' : u'C';
        code = tone.mid(2, 2) + polarity + tone.mid(1, 1);
    } else {
        QString u = tone;
        u.remove(u'.');
        // Only a frequency that fits four BCD digits has a code.
        bool ok = false;
        const int value = u.toInt(&ok);
        if (!allDigits(u) || !ok || value > 9999)
            return std::nullopt;
        u = QString::number(value).rightJustified(4, u'0');
        code = u.right(2) + u.left(2);
    }
    for (QChar c : code) {
        if (hexDigit(c) < 0)
            return std::nullopt;
    }
    return code;
}

std::optional<std::pair<std::uint8_t, std::uint8_t>> toneBytes(const QString &tone)
{
    const std::optional<QString> code = toneCode(tone);
    if (!code)
        return std::nullopt;
    const auto lo = parseHexByte(code->left(2));
    const auto hi = parseHexByte(code->right(2));
    if (!lo || !hi)
        return std::nullopt;
    return std::pair{*lo, *hi};
}

QString trimPadding(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QChar(0xFF))
        --end;
    return text.left(end);
}

QString fmText(const QString &text)
{
    const qsizetype point = text.indexOf(u'.');
    if (point < 0)
        return text + QStringLiteral(".00");
    const qsizetype decimals = text.size() - point - 1;
    if (decimals == 0)
        return text + QStringLiteral("00");
    if (decimals == 1)
        return text + u'0';
    // Cut down onto the 0.05 raster: the second decimal becomes 0 or 5.
    const QChar second = text[point + 2];
    const QChar last = second.unicode() >= u'5' && isDigit(second) ? u'5' : u'0';
    return text.left(point + 2) + last;
}

QString channelCode(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("0000000000000000");
    // Count characters, not UTF-16 units, so a character outside the basic
    // plane also takes exactly one byte.
    const QList<uint> characters = name.toUcs4();
    QString code;
    for (qsizetype i = 0; i < 8; ++i) {
        if (i >= characters.size())
            code += QStringLiteral("FF");
        else if (characters[i] <= 0xFF)
            code += hex2(static_cast<std::uint8_t>(characters[i]));
        else
            code += hex2('?');
    }
    return code;
}

QByteArray channelNameBytes(const QString &name)
{
    const QString code = channelCode(name);
    QByteArray bytes(8, '\0');
    for (int k = 0; k < 8; ++k)
        bytes[k] = static_cast<char>(*parseHexByte(code.mid(2 * k, 2)));
    return bytes;
}

QString channelNameFromBytes(const QByteArray &bytes)
{
    // Two leading zero bytes are how an empty name is stored.
    if (bytes.size() >= 2 && bytes.at(0) == 0 && bytes.at(1) == 0)
        return QString();
    return trimPadding(QString::fromLatin1(bytes));
}

QString storedChannelName(const QString &name)
{
    return channelNameFromBytes(channelNameBytes(name));
}

} // namespace quillon
