// Channel lists in the CSV format through reading, the import into a new
// image, the export and the import of that export.
//
// Input: one byte of options (bits 0..3 the band, modulo 10; bit 4 file
// order; bit 5 English), then the file's bytes.
//
// Properties: a table written out reads back as the same fields; what the
// import does is what its preview said; every channel it types passes the
// band check and the editors' rules; the export lists exactly the channels
// the band check keeps; the export reads back without a rejected row, and
// its import gives the same channels and the same export again.

#include "fuzz_support.h"

#include "document/channel_import.h"
#include "document/document.h"
#include "files/channel_csv.h"
#include "files/csv_table.h"
#include "image/codecs.h"

using namespace quillon;
using fuzz::Input;

namespace {

QList<QStringList> rowsOf(const CsvTable &table)
{
    QList<QStringList> rows{table.header};
    for (const CsvRecord &record : table.records)
        rows.append(record.fields);
    return rows;
}

void checkTableRoundTrip(const QByteArray &bytes)
{
    const CsvParse parse = parseCsv(bytes);
    if (!parse.ok) {
        FUZZ_CHECK(!parse.error.en.isEmpty(), QStringLiteral("a refused table without a reason"));
        return;
    }
    const QList<QStringList> rows = rowsOf(parse.table);
    // A byte-order mark at the start of the first field would be taken for the file's own.
    if (rows.first().first().startsWith(QChar(0xFEFF)))
        return;
    const QByteArray written = writeCsv(rows);
    const CsvParse again = parseCsv(written);
    FUZZ_CHECK(again.ok && rowsOf(again.table) == rows, QStringLiteral("a table written out read back otherwise: ") + fuzz::hexText(written.left(200)));
    FUZZ_CHECK(writeCsv(rowsOf(again.table)) == written, QStringLiteral("a table written twice"));
}

bool sameReport(const ChannelImportReport &a, const ChannelImportReport &b)
{
    return a.imported == b.imported && a.changedChannels == b.changedChannels && a.rejected.size() == b.rejected.size()
        && a.warnings.size() == b.warnings.size();
}

void checkChannels(const Workspace &ws, const ChannelImportReport &report)
{
    int previous = 0;
    for (int channel : report.changedChannels) {
        FUZZ_CHECK(channel > previous && channel <= ChannelSheet::kChannels, QStringLiteral("changed channel %1").arg(channel));
        previous = channel;
    }
    for (int channel = 1; channel <= ChannelSheet::kChannels; ++channel) {
        const ChannelRow &row = ws.channels.row(channel);
        if (row.rxText.isEmpty())
            continue;
        FUZZ_CHECK(ws.channels.passesBandCheck(channel, ws.band), QStringLiteral("channel %1 at %2 outside the band").arg(channel).arg(row.rxText));
        FUZZ_CHECK(row.txText.isEmpty() || ws.band.contains(row.txText.toDouble()), QStringLiteral("channel %1 transmits at %2").arg(channel).arg(row.txText));
        FUZZ_CHECK(row.name.size() <= 5, QStringLiteral("channel %1 named %2").arg(channel).arg(row.name));
        for (QChar c : row.name)
            FUZZ_CHECK(c.unicode() >= 0x23 && c.unicode() <= 0x60, QStringLiteral("channel %1 named %2").arg(channel).arg(row.name));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Input in(data, size);
    const std::uint8_t options = in.byte();
    const int band = (options & 0x0F) % kBandCount;
    const bool sequential = options & 0x10;
    const Language language = options & 0x20 ? Language::English : Language::Chinese;
    const QByteArray bytes = in.rest();

    checkTableRoundTrip(bytes);
    const ChannelCsvRead read = readChannelCsv(bytes, sequential);
    FUZZ_CHECK(read.status != ChannelCsvRead::Status::ReadError, QStringLiteral("a read error without a file"));
    if (read.status != ChannelCsvRead::Status::Ok)
        return 0;

    Document document;
    document.setLanguage(language);
    FUZZ_CHECK(startNewImage(document, band), QStringLiteral("band %1").arg(band));
    const ChannelImportReport preview = previewChannelImport(document.workspace(), read);
    const ChannelImportReport report = importChannels(document, read);
    FUZZ_CHECK(sameReport(preview, report), QStringLiteral("the import did otherwise than its preview"));
    FUZZ_CHECK(report.imported <= read.entries.size(), QStringLiteral("%1 rows imported of %2").arg(report.imported).arg(read.entries.size()));
    checkChannels(document.workspace(), report);
    exportChannelTsv(document.workspace().channels, document.workspace().band, language);

    const ChannelCsvExport exported = exportChannelCsv(document.workspace().channels, document.workspace().band);
    int kept = 0;
    for (int channel = 1; channel <= ChannelSheet::kChannels; ++channel)
        kept += document.workspace().channels.passesBandCheck(channel, document.workspace().band) ? 1 : 0;
    FUZZ_CHECK(exported.channels == kept, QStringLiteral("%1 channels exported, %2 kept").arg(exported.channels).arg(kept));

    // The export is a file of this program: it reads back whole.
    const ChannelCsvRead back = readChannelCsv(exported.bytes, false);
    FUZZ_CHECK(back.status == ChannelCsvRead::Status::Ok && back.rejected.isEmpty() && back.entries.size() == kept,
               QStringLiteral("the export read back with %1 rejected rows").arg(back.rejected.size()));
    Document again;
    again.setLanguage(language);
    startNewImage(again, band);
    const ChannelImportReport second = importChannels(again, back);
    FUZZ_CHECK(second.rejected.isEmpty() && second.imported == kept, QStringLiteral("the export imported %1 of %2").arg(second.imported).arg(kept));
    // The rows, not the cells: a value the file left out shows the new
    // channel's text ("Wide"), the same value chosen from the list the
    // list's ("wide").
    for (int channel = 1; channel <= ChannelSheet::kChannels; ++channel) {
        FUZZ_CHECK(again.workspace().channels.row(channel) == document.workspace().channels.row(channel),
                   QStringLiteral("channel %1 came back from the export otherwise").arg(channel));
    }
    FUZZ_CHECK(exportChannelCsv(again.workspace().channels, again.workspace().band).bytes == exported.bytes,
               QStringLiteral("the export of the export's import differs"));
    return 0;
}
