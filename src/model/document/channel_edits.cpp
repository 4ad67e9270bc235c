#include "document/channel_edits.h"

#include "document/input_rules.h"
#include "i18n/edit_texts.h"
#include "image/codecs.h"
#include "image/tone_list.h"

#include <algorithm>
#include <optional>

namespace quillon {

namespace {

constexpr int kNameLimit = 5;

bool validChannel(int channel)
{
    return channel >= 1 && channel <= ChannelSheet::kChannels;
}

QList<int> sortedChannels(QList<int> channels)
{
    channels.erase(std::remove_if(channels.begin(), channels.end(), [](int c) { return !validChannel(c); }),
                   channels.end());
    std::sort(channels.begin(), channels.end());
    channels.erase(std::unique(channels.begin(), channels.end()), channels.end());
    return channels;
}

// The position of text in the tone list, in either language, whatever its case.
std::optional<int> matchTone(const QString &text)
{
    const QString wanted = text.trimmed();
    for (Language language : {Language::English, Language::Chinese}) {
        for (int i = 0; i < kToneCount; ++i) {
            if (toneEntry(i, language).compare(wanted, Qt::CaseInsensitive) == 0)
                return i;
        }
    }
    return std::nullopt;
}

// The position of text in the option list of column 5..10.
std::optional<int> matchOption(int column, const QString &text)
{
    const QString wanted = text.trimmed();
    for (Language language : {Language::English, Language::Chinese}) {
        for (int i = 0; i < channelOptionCount(column); ++i) {
            if (channelOptionText(column, i, language).compare(wanted, Qt::CaseInsensitive) == 0)
                return i;
        }
    }
    return std::nullopt;
}

QString withText(const Bilingual &text, Language language, const QString &value)
{
    return text.text(language).arg(value);
}

QString withText(const Bilingual &text, Language language, const QString &value, const QString &band)
{
    return text.text(language).arg(value, band);
}

// What setting one cell did.
struct CellOutcome {
    bool rowRefused = false;   // the receive frequency was refused: leave the row alone
    QString reason;            // empty: taken (or nothing to take)
};

// One cell set as typing or choosing it would set it.
CellOutcome setCell(Workspace &ws, int channel, int column, const QString &text)
{
    ChannelSheet &sheet = ws.channels;
    const Language language = ws.language;
    const QString value = text.trimmed();
    switch (column) {
    case kColumnRx:
    case kColumnTx: {
        if (column == kColumnTx && !value.isEmpty() && sheet.row(channel).rxText.isEmpty())
            return {false, edit_text::kNoReceiveFrequency.text(language)};
        switch (sheet.commitFrequency(channel, column, value, ws.band, language)) {
        case FrequencyCommit::Stored:
        case FrequencyCommit::Cleared:
            return {};
        case FrequencyCommit::OutOfBand:
            return {column == kColumnRx, withText(edit_text::kOutOfBand, language, value, bandText(ws.band.index))};
        case FrequencyCommit::Unchanged:
            if (value.isEmpty())
                return {};   // an empty transmit frequency cannot be entered
            return {column == kColumnRx, withText(edit_text::kNotANumber, language, value)};
        }
        return {};
    }
    case kColumnRxTone:
    case kColumnTxTone: {
        if (value.isEmpty())
            return {};
        const std::optional<int> index = matchTone(value);
        if (!index)
            return {false, withText(edit_text::kNotInList, language, value)};
        if (!sheet.chooseTone(channel, column, *index, language))
            return {false, edit_text::kNoReceiveFrequency.text(language)};
        return {};
    }
    case kColumnName:
        sheet.commitName(channel, applyInput(InputRule::ChannelName, kNameLimit, QString(), value, int(value.size())).text);
        return {};
    default: {
        if (column < kColumnPower || column > kColumnScramble || value.isEmpty())
            return {};
        const std::optional<int> index = matchOption(column, value);
        if (!index)
            return {false, withText(edit_text::kNotInList, language, value)};
        if (!sheet.chooseOption(channel, column, *index, language))
            return {false, edit_text::kNoReceiveFrequency.text(language)};
        return {};
    }
    }
}

// The cells of one row, the receive frequency first so a new channel has its
// defaults before the other values land.
void setRow(Workspace &ws, int channel, QList<std::pair<int, QString>> cells, PasteResult &result)
{
    std::stable_partition(cells.begin(), cells.end(), [](const auto &cell) { return cell.first == kColumnRx; });
    QStringList reasons;
    for (const auto &[column, text] : cells) {
        const CellOutcome outcome = setCell(ws, channel, column, text);
        if (!outcome.reason.isEmpty())
            reasons << outcome.reason;
        if (outcome.rowRefused)
            break;
    }
    if (!reasons.isEmpty())
        result.notTaken.append({channel, reasons.join(QStringLiteral("; "))});
}

QStringList tableLines(const QString &text)
{
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (normalized.endsWith(u'\n'))
        normalized.chop(1);
    return normalized.split(u'\n');
}

} // namespace

bool isSingleValue(const QString &text)
{
    const QStringList lines = tableLines(text);
    return lines.size() == 1 && !lines.first().contains(u'\t');
}

QString copyCells(const ChannelSheet &sheet, const CellBlock &block)
{
    QString text;
    for (int channel = block.firstChannel; channel <= block.lastChannel; ++channel) {
        QStringList fields;
        for (int column = block.firstColumn; column <= block.lastColumn; ++column)
            fields << sheet.cell(channel, column);
        text += fields.join(u'\t') + u'\n';
    }
    return text;
}

QString copyChannels(const ChannelSheet &sheet, const QList<int> &channels)
{
    QString text;
    for (int channel : channels)
        text += copyCells(sheet, {channel, channel, kColumnRx, kColumnName});
    return text;
}

PasteResult pasteText(Document &document, int channel, int column, const QString &text,
                      const QList<CellBlock> &selection)
{
    PasteResult result;
    if (!validChannel(channel) || column < kColumnRx || column > kColumnName)
        return result;
    const ChannelSheet before = document.workspace().channels;
    document.step(EditKind::ChannelRows, [&](Workspace &ws) {
        if (!selection.isEmpty() && isSingleValue(text)) {
            const QString value = tableLines(text).first();
            for (const CellBlock &block : selection) {
                const int lastChannel = std::min(block.lastChannel, int(ChannelSheet::kChannels));
                const int lastColumn = std::min(block.lastColumn, int(kColumnName));
                for (int c = std::max(block.firstChannel, 1); c <= lastChannel; ++c) {
                    QList<std::pair<int, QString>> cells;
                    for (int col = std::max(block.firstColumn, int(kColumnRx)); col <= lastColumn; ++col)
                        cells.append({col, value});
                    setRow(ws, c, cells, result);
                }
            }
            return;
        }
        const QStringList lines = tableLines(text);
        for (int i = 0; i < lines.size(); ++i) {
            const int target = channel + i;
            if (!validChannel(target)) {
                result.notTaken.append({target, edit_text::kBeyondLastChannel.text(ws.language)});
                break;
            }
            QList<std::pair<int, QString>> cells;
            const QStringList fields = lines[i].split(u'\t');
            for (int f = 0; f < fields.size() && column + f <= kColumnName; ++f)
                cells.append({column + f, fields[f]});
            setRow(ws, target, cells, result);
        }
    });
    result.changed = !(before == document.workspace().channels);
    return result;
}

QString pasteSummary(const PasteResult &result, Language language)
{
    if (result.notTaken.isEmpty())
        return {};
    QStringList lines{edit_text::kPasteSummary.text(language)};
    for (const NotTaken &row : result.notTaken)
        lines << edit_text::kRowNotTaken.text(language).arg(row.channel).arg(row.reason);
    return lines.join(u'\n');
}

void clearChannels(Document &document, const QList<int> &channels)
{
    document.step(EditKind::ChannelRows, [&](Workspace &ws) {
        for (int channel : channels)
            ws.channels.clearNo(channel);
    });
}

bool insertChannel(Document &document, int channel)
{
    if (!validChannel(channel) || !document.workspace().channels.isBlank(ChannelSheet::kChannels))
        return false;
    document.step(EditKind::ChannelRows, [&](Workspace &ws) {
        for (int c = ChannelSheet::kChannels; c > channel; --c)
            ws.channels.setEntry(c, ws.channels.entry(c - 1));
        ws.channels.setEntry(channel, {});
    });
    return true;
}

void removeChannels(Document &document, QList<int> channels)
{
    channels = sortedChannels(channels);
    document.step(EditKind::ChannelRows, [&](Workspace &ws) {
        // From the last, so the numbers of the others still hold.
        for (auto it = channels.rbegin(); it != channels.rend(); ++it) {
            for (int c = *it; c < ChannelSheet::kChannels; ++c)
                ws.channels.setEntry(c, ws.channels.entry(c + 1));
            ws.channels.setEntry(ChannelSheet::kChannels, {});
        }
    });
}

QList<int> moveChannels(Document &document, QList<int> channels, int delta)
{
    channels = sortedChannels(channels);
    if (channels.isEmpty() || (delta != -1 && delta != 1))
        return channels;
    if ((delta < 0 && channels.first() == 1) || (delta > 0 && channels.last() == ChannelSheet::kChannels))
        return channels;
    document.step(EditKind::ChannelRows, [&](Workspace &ws) {
        ChannelSheet &sheet = ws.channels;
        // Each channel swaps with its neighbour in the direction of the move,
        // nearest the edge first, so a block moves as one.
        if (delta < 0) {
            for (int c : channels) {
                const ChannelSheet::Entry moving = sheet.entry(c);
                sheet.setEntry(c, sheet.entry(c - 1));
                sheet.setEntry(c - 1, moving);
            }
        } else {
            for (auto it = channels.rbegin(); it != channels.rend(); ++it) {
                const ChannelSheet::Entry moving = sheet.entry(*it);
                sheet.setEntry(*it, sheet.entry(*it + 1));
                sheet.setEntry(*it + 1, moving);
            }
        }
    });
    for (int &c : channels)
        c += delta;
    return channels;
}

void sortByReceiveFrequency(Document &document, QList<int> channels)
{
    if (channels.isEmpty()) {
        for (int c = 1; c <= ChannelSheet::kChannels; ++c)
            channels.append(c);
    }
    channels = sortedChannels(channels);
    document.step(EditKind::ChannelRows, [&](Workspace &ws) {
        QList<ChannelSheet::Entry> entries;
        for (int c : channels)
            entries.append(ws.channels.entry(c));
        std::stable_sort(entries.begin(), entries.end(), [](const auto &a, const auto &b) {
            const bool aEmpty = a.row.rxText.isEmpty();
            const bool bEmpty = b.row.rxText.isEmpty();
            if (aEmpty || bEmpty)
                return !aEmpty && bEmpty;
            return leadingNumber(a.row.rxText) < leadingNumber(b.row.rxText);
        });
        for (int i = 0; i < channels.size(); ++i)
            ws.channels.setEntry(channels[i], entries[i]);
    });
}

PasteResult fillDown(Document &document, QList<int> channels, int column)
{
    PasteResult result;
    channels = sortedChannels(channels);
    if (channels.size() < 2 || column < kColumnRx || column > kColumnName)
        return result;
    const QString value = document.workspace().channels.cell(channels.first(), column);
    const ChannelSheet before = document.workspace().channels;
    document.step(EditKind::ChannelRows, [&](Workspace &ws) {
        for (int i = 1; i < channels.size(); ++i)
            setRow(ws, channels[i], {{column, value}}, result);
    });
    result.changed = !(before == document.workspace().channels);
    return result;
}

} // namespace quillon
