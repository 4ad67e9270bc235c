#include "document/channel_import.h"

#include "document/input_rules.h"
#include "i18n/csv_texts.h"
#include "image/codecs.h"

#include <algorithm>
#include <array>

namespace quillon {

namespace {

constexpr int kNameLimit = 5;   // the name editor's length

class Typist {
public:
    Typist(ChannelSheet &sheet, const BandState &band, Language language, ChannelImportReport &report)
        : m_sheet(sheet), m_band(band), m_language(language), m_report(report)
    {
    }

    void type(const ChannelCsvEntry &entry)
    {
        const int channel = entry.channel > 0 ? entry.channel : m_next;
        auto reject = [&](const Bilingual &reason) { m_report.rejected.append({entry.line, channel, reason}); };
        if (channel > ChannelSheet::kChannels)
            return reject(csv_text::arg(csv_text::kBeyondLastChannel, QString::number(channel)));
        if (const int line = m_takenBy[channel - 1])
            return reject(csv_text::arg(csv_text::kChannelTaken, QString::number(channel), QString::number(line)));

        // The row replaces the whole channel, as if it were cleared and typed.
        const ChannelSheet before = m_sheet;
        m_sheet.clearNo(channel);
        if (commit(channel, kColumnRx, entry.receive) != FrequencyCommit::Stored) {
            m_sheet = before;
            return reject(csv_text::arg(csv_text::kOutOfBand, entry.receive, bandText(m_band.index)));
        }
        QList<CsvNotice> warnings;
        switch (entry.transmit) {
        case ChannelCsvEntry::Transmit::SameAsReceive:
            break;   // a new channel transmits on its RX
        case ChannelCsvEntry::Transmit::None:
            m_sheet.clearTransmit(channel);
            break;
        case ChannelCsvEntry::Transmit::Typed:
            // The editor refuses a TX outside the band and keeps the one it had.
            if (commit(channel, kColumnTx, entry.transmitText) != FrequencyCommit::Stored)
                warnings.append({entry.line, channel,
                                 csv_text::arg(csv_text::kTxOutOfBand, transmitShown(entry.transmitText),
                                               bandText(m_band.index))});
            break;
        }
        if (entry.receiveTone != 0)
            m_sheet.chooseTone(channel, kColumnRxTone, entry.receiveTone, m_language);
        if (entry.transmitTone != 0)
            m_sheet.chooseTone(channel, kColumnTxTone, entry.transmitTone, m_language);
        for (int column = kColumnPower; column <= kColumnScramble; ++column) {
            if (const std::optional<int> index = entry.options[column - kColumnPower])
                m_sheet.chooseOption(channel, column, *index, m_language);
        }
        const QString name = applyInput(InputRule::ChannelName, kNameLimit, QString(), entry.name,
                                        int(entry.name.size())).text;
        if (!name.isEmpty())
            m_sheet.commitName(channel, name);
        if (name != entry.name)
            warnings.append({entry.line, channel, csv_text::arg(csv_text::kNameChanged, entry.name, name)});

        m_report.warnings.append(warnings);
        m_takenBy[channel - 1] = entry.line;
        ++m_report.imported;
        if (entry.channel == 0)
            ++m_next;
    }

private:
    FrequencyCommit commit(int channel, int column, const QString &text)
    {
        return m_sheet.commitFrequency(channel, column, text, m_band, m_language);
    }

    // A computed TX is long; tell it with six decimals like the file's own.
    static QString transmitShown(const QString &text)
    {
        bool ok = false;
        const double value = text.trimmed().toDouble(&ok);
        return ok ? QString::number(value, 'f', 6) : text;
    }

    ChannelSheet &m_sheet;
    const BandState &m_band;
    Language m_language;
    ChannelImportReport &m_report;
    std::array<int, ChannelSheet::kChannels> m_takenBy{};   // the line that took each channel
    int m_next = 1;   // the channel the next row in file order goes to
};

} // namespace

ChannelImportReport importChannelRows(ChannelSheet &sheet, const ChannelCsvRead &rows, const BandState &band,
                                      Language language)
{
    ChannelImportReport report;
    report.rejected = rows.rejected;
    const ChannelSheet before = sheet;
    Typist typist(sheet, band, language, report);
    for (const ChannelCsvEntry &entry : rows.entries)
        typist.type(entry);
    std::stable_sort(report.rejected.begin(), report.rejected.end(),
                     [](const CsvNotice &a, const CsvNotice &b) { return a.line < b.line; });
    for (int channel = 1; channel <= ChannelSheet::kChannels; ++channel) {
        if (!before.sameChannel(sheet, channel))
            report.changedChannels.append(channel);
    }
    return report;
}

ChannelImportReport previewChannelImport(const Workspace &workspace, const ChannelCsvRead &rows)
{
    ChannelSheet sheet = workspace.channels;
    return importChannelRows(sheet, rows, workspace.band, workspace.language);
}

ChannelImportReport importChannels(Document &document, const ChannelCsvRead &rows)
{
    return document.step(EditKind::Import, [&rows](Workspace &ws) {
        return importChannelRows(ws.channels, rows, ws.band, ws.language);
    });
}

bool startNewImage(Document &document, int band)
{
    if (bandText(band).isEmpty())
        return false;
    // Right after start the user picks the band from the list and confirms:
    // the VFO frequency follows the band.
    document.confirmBandChange(band);
    return true;
}

QString channelRanges(const QList<int> &channels)
{
    QStringList parts;
    for (qsizetype i = 0; i < channels.size();) {
        qsizetype j = i;
        while (j + 1 < channels.size() && channels[j + 1] == channels[j] + 1)
            ++j;
        parts << (j == i ? QString::number(channels[i])
                         : QString::number(channels[i]) + u'-' + QString::number(channels[j]));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace quillon
