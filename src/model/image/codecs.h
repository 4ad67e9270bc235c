#pragma once

#include "i18n/language.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <utility>

// Text-based field codecs. The windows keep values as display texts and the
// image keeps bytes; these conversions decide both, so their exact text rules
// matter. A conversion that can fail returns std::nullopt and the caller skips
// that one step.
namespace quillon {

// Upper-case hexadecimal without leading zeros ("6", "70") and padded to two digits ("06").
QString hex(std::uint8_t value);
QString hex2(std::uint8_t value);

// A hexadecimal text of one or two digits as a byte; nullopt for anything else
// (empty, a non-hex character, more than two significant digits).
std::optional<std::uint8_t> parseHexByte(const QString &text);

// The leading decimal number of a text, as the radio's old tool read numbers:
// leading blanks skipped, an optional sign, digits with at most one point;
// reading stops at the first other character. No number at all gives 0.
double leadingNumber(const QString &text);
// True when the whole text (blanks around it allowed) is one decimal number.
bool isDecimalNumber(const QString &text);
// value with exactly five decimals and "." as point ("435.10000").
QString formatFiveDecimals(double value);

// 4 packed-BCD bytes, b0 at the lowest address, as ddd.ddddd.
QString frequencyText(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3);
// Selector k = 1..4 picks one digit pair of the frequency text (k = 1 the
// first pair, stored at record byte +3). Other selectors give 0.
std::optional<std::uint8_t> frequencyByte(const QString &frequency, int k);
// Rounds down onto the 5 kHz or the 6.25 kHz raster, whichever is nearer below.
std::optional<double> snapToRaster(const QString &frequency);

// Tone code bytes to text; lo == 0xFF is Off in the given language.
QString toneText(std::uint8_t lo, std::uint8_t hi, Language language);
// Tone text to its 4-character code text, low byte first ("7006" for 67.0).
std::optional<QString> toneCode(const QString &tone);
// toneCode split into the two bytes to store (lo, hi).
std::optional<std::pair<std::uint8_t, std::uint8_t>> toneBytes(const QString &tone);

// Removes trailing characters of code 0xFF.
QString trimPadding(const QString &text);

// A decimal FM frequency text cut down onto the 0.05 raster with two decimals.
QString fmText(const QString &text);

// The 8 name bytes as 16 hexadecimal digits. Every character becomes exactly
// one byte (a character without a single-byte code becomes "?"), so a name
// always fills 8 bytes: unused positions 0xFF, an empty name eight 0x00.
QString channelCode(const QString &name);
// The 8 bytes channelCode describes.
QByteArray channelNameBytes(const QString &name);
// The name that 8 stored bytes read as: empty when the first two are 0x00,
// otherwise Latin-1 without the 0xFF padding.
QString channelNameFromBytes(const QByteArray &bytes);
// What a name reads back as once stored: cut to 8 characters, "?" for a
// character without a single-byte code, empty when nothing of it survives the
// padding rules ("\u00FF", two leading NULs).
QString storedChannelName(const QString &name);

} // namespace quillon
