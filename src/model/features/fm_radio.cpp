#include "features/fm_radio.h"

#include "image/address_map.h"
#include "image/codecs.h"

#include <QtGlobal>

#include <cmath>

namespace quillon {

namespace {

constexpr int kEmptyCode = 0xFFFF;
constexpr int kHighestChannelCode = 640;   // 108.00 MHz
constexpr double kLowest = 76.0;
constexpr double kHighestCell = 107.95;
constexpr double kFrequencyModeLimit = 108.0;   // itself refused

int readCode(const MemoryImage &image, int address)
{
    return image.at(address) * 256 + image.at(address + 1);   // high byte first
}

void writeCode(MemoryImage &image, int address, int code)
{
    image.set(address, static_cast<std::uint8_t>(code >> 8));
    image.set(address + 1, static_cast<std::uint8_t>(code & 0xFF));
}

// A text that can be stored: a number with a code, else the erased value.
int codeOrEmpty(const QString &text)
{
    return fmFrequencyCode(text).value_or(kEmptyCode);
}

} // namespace

QString fmFrequencyText(int code)
{
    if (code < 0 || code > kHighestChannelCode)
        return {};
    // In hundredths of a MHz the raster is exact: 7600 + 5 v.
    const int hundredths = 7600 + 5 * code;
    return QString::number(hundredths / 100) + u'.'
        + QString::number(hundredths % 100).rightJustified(2, u'0');
}

std::optional<int> fmFrequencyCode(const QString &text)
{
    if (!isDecimalNumber(text))
        return std::nullopt;
    const double value = leadingNumber(text.trimmed());
    if (value < kLowest)
        return std::nullopt;
    // Range first: a long digit text must not reach the rounding as a huge value.
    const double code = (value - kLowest) * 20.0;
    if (code >= kEmptyCode - 0.5)
        return std::nullopt;
    return static_cast<int>(std::lround(code));
}

FmRadio::FmRadio()
{
    // The window starts out showing the (empty) store.
    m_controls.presentChannelText = QString::number(m_store.presentChannel);
    m_controls.displayModeIndex = m_store.displayMode;
    m_controls.stepIndex = m_store.step;
}

QString FmRadio::cell(int channel) const
{
    Q_ASSERT(channel >= 1 && channel <= kChannels);
    return m_controls.cells[channel - 1];
}

void FmRadio::selectPresentChannel(const QString &text)
{
    m_controls.presentChannelText = text;
}

void FmRadio::selectDisplayMode(int index)
{
    m_controls.displayModeIndex = index;
}

void FmRadio::selectStep(int index)
{
    m_controls.stepIndex = index;
}

void FmRadio::typeFrequencyMode(const QString &text)
{
    m_controls.frequencyModeText = text;
}

FmEdit FmRadio::commitCell(int channel, const QString &text)
{
    Q_ASSERT(channel >= 1 && channel <= kChannels);
    QString &cell = m_controls.cells[channel - 1];
    if (text.isEmpty()) {
        cell.clear();
        return FmEdit::Changed;
    }
    if (!isDecimalNumber(text))
        return FmEdit::Unchanged;
    const double value = leadingNumber(text.trimmed());
    if (value < kLowest || value > kHighestCell)
        return FmEdit::OutOfRange;
    cell = fmText(text.trimmed());
    return FmEdit::Changed;
}

FmEdit FmRadio::commitFrequencyMode()
{
    QString &text = m_controls.frequencyModeText;
    if (text.isEmpty())
        return FmEdit::Unchanged;
    if (!isDecimalNumber(text))
        return FmEdit::Unchanged;
    const double value = leadingNumber(text.trimmed());
    if (value < kLowest || value >= kFrequencyModeLimit) {
        text.clear();
        return FmEdit::OutOfRange;
    }
    text = fmText(text.trimmed());
    return FmEdit::Changed;
}

void FmRadio::ok()
{
    const double present = leadingNumber(m_controls.presentChannelText);
    if (present >= 0 && present <= 0xFFFF)
        m_store.presentChannel = static_cast<int>(present);
    m_store.displayMode = m_controls.displayModeIndex;
    m_store.step = m_controls.stepIndex;
    m_store.frequencyMode = m_controls.frequencyModeText;
    m_store.channels = m_controls.cells;
}

void FmRadio::decode(const MemoryImage &image)
{
    for (int m = 0; m < kChannels; ++m) {
        const QString text = fmFrequencyText(readCode(image, kFmChannels.address(m)));
        m_store.channels[m] = text;
        m_controls.cells[m] = text;
    }

    m_store.presentChannel = image.at(kFmPresentChannel);
    m_controls.presentChannelText = QString::number(m_store.presentChannel);

    // The store takes any byte; a list only takes a position it has.
    m_store.displayMode = image.at(kFmDisplayMode);
    if (m_store.displayMode < kDisplayModes)
        m_controls.displayModeIndex = m_store.displayMode;
    m_store.step = image.at(kFmStep);
    if (m_store.step < kSteps)
        m_controls.stepIndex = m_store.step;

    m_store.frequencyMode = fmFrequencyText(readCode(image, kFmFrequencyMode));
    m_controls.frequencyModeText = m_store.frequencyMode;
}

void FmRadio::encode(MemoryImage &image) const
{
    for (int m = 0; m < kChannels; ++m) {
        // A cell filled in but never confirmed has no value in the store; it
        // is written as empty rather than as a made-up frequency.
        const int code = m_controls.cells[m].isEmpty() ? kEmptyCode : codeOrEmpty(m_store.channels[m]);
        writeCode(image, kFmChannels.address(m), code);
    }

    if (m_store.presentChannel >= 0 && m_store.presentChannel <= 0xFF)
        image.set(kFmPresentChannel, static_cast<std::uint8_t>(m_store.presentChannel));
    // Only positions 0..9 are written: no selection (-1) or an erased byte
    // taken over by decoding (255) leaves the byte as it was.
    if (m_store.displayMode >= 0 && m_store.displayMode <= 9)
        image.set(kFmDisplayMode, static_cast<std::uint8_t>(m_store.displayMode));
    if (m_store.step >= 0 && m_store.step <= 9)
        image.set(kFmStep, static_cast<std::uint8_t>(m_store.step));
    image.set(kFmUnused, 0xFF);

    // 0, empty and anything that is no number mean "no frequency".
    writeCode(image, kFmFrequencyMode, codeOrEmpty(m_store.frequencyMode));
}

} // namespace quillon
