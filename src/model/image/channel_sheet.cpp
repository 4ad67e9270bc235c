#include "image/channel_sheet.h"

#include "i18n/field_texts.h"
#include "image/address_map.h"
#include "image/codecs.h"
#include "image/tone_list.h"

namespace quillon {

namespace {

constexpr int kFirstOption = kColumnPower;
constexpr int kLastOption = kColumnScramble;

bool isToneColumn(int column) { return column == kColumnRxTone || column == kColumnTxTone; }

// A channel is kept only when its receive frequency is a real number inside
// the band. Checking the whole text (not just its leading digits) also drops
// records whose BCD has a letter in the decimals, which the leading digits
// alone would let through as, say, 462.5.
bool receiveInBand(const QString &rxText, const BandState &band)
{
    return !rxText.isEmpty() && isDecimalNumber(rxText) && band.contains(leadingNumber(rxText));
}

void storeIfValue(MemoryImage &image, int address, std::optional<std::uint8_t> value)
{
    if (value)
        image.set(address, *value);
}

// The four BCD bytes of a frequency text, lowest address first; a pair that
// is no hexadecimal leaves its byte as it was.
void storeFrequency(MemoryImage &image, int address, const QString &frequency)
{
    for (int i = 0; i < 4; ++i)
        storeIfValue(image, address + i, frequencyByte(frequency, 4 - i));
}

void storeTone(MemoryImage &image, int address, int toneIndex, const QString &toneText)
{
    // The index decides Off or not; the text decides the code.
    if (toneIndex == 0) {
        image.set(address, 0xFF);
        image.set(address + 1, 0xFF);
        return;
    }
    if (const auto bytes = toneBytes(toneText)) {
        image.set(address, bytes->first);
        image.set(address + 1, bytes->second);
    }
}

} // namespace

ChannelSheet::ChannelSheet() = default;

const ChannelRow &ChannelSheet::row(int channel) const
{
    static const ChannelRow empty;
    return validChannel(channel) ? m_rows[channel - 1] : empty;
}

ChannelSheet::Entry ChannelSheet::entry(int channel) const
{
    if (!validChannel(channel))
        return {};
    return {m_rows[channel - 1], m_cells[channel - 1]};
}

bool ChannelSheet::sameChannel(const ChannelSheet &other, int channel) const
{
    if (!(row(channel) == other.row(channel)))
        return false;
    for (int column = 1; column < kColumns; ++column) {
        if (cell(channel, column) != other.cell(channel, column))
            return false;
    }
    return true;
}

void ChannelSheet::setEntry(int channel, const Entry &entry)
{
    if (!validChannel(channel))
        return;
    rowRef(channel) = entry.row;
    m_cells[channel - 1] = entry.cells;
    cellRef(channel, kColumnNumber).clear();   // the number is the row's, never stored
}

bool ChannelSheet::isBlank(int channel) const
{
    const ChannelRow &r = row(channel);
    return r.rxText.isEmpty() && r.name.isEmpty() && cell(channel, kColumnName).isEmpty();
}

QString ChannelSheet::cell(int channel, int column) const
{
    if (!validChannel(channel) || column < 0 || column >= kColumns)
        return {};
    if (column == kColumnNumber)
        return QString::number(channel);
    return m_cells[channel - 1][column];
}

void ChannelSheet::clearNo(int channel)
{
    if (!validChannel(channel))
        return;
    for (int column = 1; column < kColumns; ++column)
        cellRef(channel, column).clear();
    rowRef(channel) = ChannelRow{};
}

bool ChannelSheet::passesBandCheck(int channel, const BandState &band) const
{
    return validChannel(channel) && receiveInBand(m_rows[channel - 1].rxText, band);
}

void ChannelSheet::clearGrid()
{
    for (int channel = 1; channel <= kChannels; ++channel)
        clearNo(channel);
}

void ChannelSheet::setNumOf(const MemoryImage &image, Language language)
{
    for (int channel = 1; channel <= kChannels; ++channel) {
        const int r = kChannelRecords.address(channel - 1);
        auto b = [&](int offset) { return image.at(r + offset); };
        if (b(0) == 0xFF) {
            clearNo(channel);
            continue;
        }
        ChannelRow &row = rowRef(channel);
        row.rxText = frequencyText(b(0), b(1), b(2), b(3));
        row.txText = b(4) == 0xFF ? QString() : frequencyText(b(4), b(5), b(6), b(7));

        auto decodeTone = [&](int offset, QString &text, int &index, int column) {
            if (b(offset) == 0xFF) {
                text = toneEntry(0, language);
                index = 0;
                cellRef(channel, column) = text;
                return;
            }
            text = toneText(b(offset), b(offset + 1), language);
            index = toneIndexOf(text, language);
        };
        decodeTone(8, row.rxToneText, row.rxToneIndex, kColumnRxTone);
        decodeTone(10, row.txToneText, row.txToneIndex, kColumnTxTone);

        const int flags = b(12);
        row.optionIndex[0] = flags & 0x03;
        for (int k = 1; k < 6; ++k)
            row.optionIndex[k] = (flags >> (k + 1)) & 1;
        for (int k = 0; k < 6; ++k)
            row.optionText[k] = channelOptionText(kFirstOption + k, row.optionIndex[k], language);
    }
}

void ChannelSheet::setGrid(const BandState &band)
{
    for (int channel = 1; channel <= kChannels; ++channel) {
        const ChannelRow &row = rowRef(channel);
        if (!receiveInBand(row.rxText, band)) {
            clearNo(channel);
            continue;
        }
        cellRef(channel, kColumnRx) = row.rxText;
        cellRef(channel, kColumnTx) = row.txText;
        cellRef(channel, kColumnRxTone) = row.rxToneText;
        cellRef(channel, kColumnTxTone) = row.txToneText;
        for (int k = 0; k < 6; ++k)
            cellRef(channel, kFirstOption + k) = row.optionText[k];
    }
}

void ChannelSheet::decodeNames(const MemoryImage &image)
{
    for (int channel = 1; channel <= kChannels; ++channel) {
        const QString name =
            channelNameFromBytes(image.bytes(kChannelNames.address(channel - 1), kChannelNames.recordSize));
        rowRef(channel).name = name;
        cellRef(channel, kColumnName) = name;
    }
}

void ChannelSheet::encodeRecords(MemoryImage &image) const
{
    for (int channel = 1; channel <= kChannels; ++channel) {
        const int r = kChannelRecords.address(channel - 1);
        const ChannelRow &row = m_rows[channel - 1];
        if (row.rxText.isEmpty()) {
            image.fill(r, r + kChannelRecords.recordSize - 1, 0xFF);
            continue;
        }
        storeFrequency(image, r, row.rxText);
        if (row.txText.isEmpty())
            image.fill(r + 4, r + 7, 0xFF);
        else
            storeFrequency(image, r + 4, row.txText);
        storeTone(image, r + 8, row.rxToneIndex, row.rxToneText);
        storeTone(image, r + 10, row.txToneIndex, row.txToneText);

        int flags = 0x80;   // bit 7 is always set
        flags |= row.optionIndex[0] & 0x03;
        for (int k = 1; k < 6; ++k)
            flags |= (row.optionIndex[k] & 1) << (k + 1);
        image.set(r + 12, static_cast<std::uint8_t>(flags));
    }
}

void ChannelSheet::encodeNames(MemoryImage &image) const
{
    for (int channel = 1; channel <= kChannels; ++channel)
        image.store(kChannelNames.address(channel - 1), channelNameBytes(m_rows[channel - 1].name));
}

void ChannelSheet::refreshLanguage(Language language)
{
    for (int channel = 1; channel <= kChannels; ++channel) {
        if (rowRef(channel).rxText.isEmpty())
            clearNo(channel);
    }
    showInLanguage(language);
}

void ChannelSheet::showInLanguage(Language language)
{
    for (int channel = 1; channel <= kChannels; ++channel) {
        const ChannelRow &row = rowRef(channel);
        if (row.rxText.isEmpty())
            continue;
        cellRef(channel, kColumnRx) = row.rxText;
        cellRef(channel, kColumnTx) = row.txText;
        cellRef(channel, kColumnRxTone) = toneEntry(row.rxToneIndex, language);
        cellRef(channel, kColumnTxTone) = toneEntry(row.txToneIndex, language);
        for (int k = 0; k < 6; ++k)
            cellRef(channel, kFirstOption + k) = channelOptionText(kFirstOption + k, row.optionIndex[k], language);
    }
}

int ChannelSheet::editorColumn(int channel, int column) const
{
    if (validChannel(channel) && cell(channel, kColumnRx).isEmpty())
        return kColumnRx;
    return column;
}

QString ChannelSheet::newChannelText(int column, Language language)
{
    if (isToneColumn(column))
        return toneEntry(0, language);
    return newChannelOptionText(column, language);
}

FrequencyCommit ChannelSheet::commitFrequency(int channel, int column, const QString &text,
                                              const BandState &band, Language language)
{
    if (!validChannel(channel) || (column != kColumnRx && column != kColumnTx))
        return FrequencyCommit::Unchanged;
    ChannelRow &row = rowRef(channel);
    if (text.isEmpty()) {
        // Erasing the receive frequency deletes the channel; an empty
        // transmit frequency cannot be entered this way.
        if (column != kColumnRx)
            return FrequencyCommit::Unchanged;
        clearNo(channel);
        return FrequencyCommit::Cleared;
    }
    // A channel starts with its receive frequency; a transmit frequency
    // alone would never reach the radio.
    if (column == kColumnTx && row.rxText.isEmpty())
        return FrequencyCommit::Unchanged;
    if (!isDecimalNumber(text))
        return FrequencyCommit::Unchanged;
    const double typed = leadingNumber(text);
    if (!band.contains(typed))
        return FrequencyCommit::OutOfBand;
    const std::optional<double> snapped = snapToRaster(formatFiveDecimals(typed));
    if (!snapped)
        return FrequencyCommit::Unchanged;
    // Rounding a pasted value with more than five decimals can reach the
    // upper band limit itself, which the radio would not accept.
    if (!band.contains(*snapped))
        return FrequencyCommit::OutOfBand;
    const QString stored = formatFiveDecimals(*snapped);

    cellRef(channel, column) = stored;
    (column == kColumnRx ? row.rxText : row.txText) = stored;
    if (column == kColumnRx && cell(channel, kColumnRxTone).isEmpty()) {
        cellRef(channel, kColumnTx) = stored;
        row.txText = stored;
        for (int c = kColumnRxTone; c <= kLastOption; ++c)
            cellRef(channel, c) = newChannelText(c, language);
        row.rxToneIndex = 0;
        row.txToneIndex = 0;
        row.optionIndex.fill(1);
    }
    return FrequencyCommit::Stored;
}

bool ChannelSheet::clearTransmit(int channel)
{
    if (!validChannel(channel) || rowRef(channel).rxText.isEmpty())
        return false;
    rowRef(channel).txText.clear();
    cellRef(channel, kColumnTx).clear();
    return true;
}

void ChannelSheet::editName(int channel, const QString &text)
{
    if (validChannel(channel))
        rowRef(channel).name = storedChannelName(text);
}

void ChannelSheet::commitName(int channel, const QString &text)
{
    if (!validChannel(channel))
        return;
    // The name kept is the one the radio will hold, so a save opened again
    // shows and saves the same name.
    const QString name = storedChannelName(text);
    rowRef(channel).name = name;
    cellRef(channel, kColumnName) = name;
}

bool ChannelSheet::chooseTone(int channel, int column, int toneIndex, Language language)
{
    if (!validChannel(channel) || !isToneColumn(column) || toneIndex < 0 || toneIndex >= kToneCount
        || rowRef(channel).rxText.isEmpty())
        return false;
    ChannelRow &row = rowRef(channel);
    const QString text = toneEntry(toneIndex, language);
    cellRef(channel, column) = text;
    if (column == kColumnRxTone) {
        row.rxToneIndex = toneIndex;
        row.rxToneText = text;
    } else {
        row.txToneIndex = toneIndex;
        row.txToneText = text;
    }
    return true;
}

bool ChannelSheet::chooseOption(int channel, int column, int index, Language language)
{
    if (!validChannel(channel) || index < 0 || index >= channelOptionCount(column)
        || rowRef(channel).rxText.isEmpty())
        return false;
    rowRef(channel).optionIndex[column - kFirstOption] = index;
    cellRef(channel, column) = channelOptionText(column, index, language);
    return true;
}

} // namespace quillon
