// import: channels from a CSV file of the common format into an image.

#include "command.h"

#include "document/channel_import.h"
#include "files/dat_file.h"

namespace quillon::cli {

namespace {

QString where(const QString &path, const CsvNotice &notice)
{
    QString text = path + QStringLiteral(": line ") + QString::number(notice.line);
    if (notice.channel > 0)
        text += QStringLiteral(" (channel %1)").arg(notice.channel);
    return text;
}

int run(const Invocation &invocation)
{
    const QCommandLineParser &parser = invocation.parser;
    const QString csvPath = invocation.arguments[0];
    const QString basePath = parser.value(QStringLiteral("base"));
    const bool fresh = parser.isSet(QStringLiteral("new"));
    const QString output = parser.value(QStringLiteral("o"));
    if (basePath.isEmpty() == !fresh)
        return invocation.usageError(QStringLiteral("give either --base IMAGE.dat or --new --band N"));
    if (fresh != parser.isSet(QStringLiteral("band")))
        return invocation.usageError(QStringLiteral("--new and --band N go together"));
    if (output.isEmpty())
        return invocation.usageError(QStringLiteral("-o OUT.dat is missing"));
    bool bandOk = true;
    const int band = fresh ? parser.value(QStringLiteral("band")).toInt(&bandOk) : 0;
    if (!bandOk || band < 0 || band >= kBandCount)
        return invocation.usageError(QStringLiteral("--band must be a band index 0..9, not \"%1\"")
                                         .arg(parser.value(QStringLiteral("band"))));

    Console &console = invocation.console;
    const ChannelCsvRead rows = loadChannelCsv(csvPath, parser.isSet(QStringLiteral("sequential")));
    switch (rows.status) {
    case ChannelCsvRead::Status::Ok:
        break;
    case ChannelCsvRead::Status::ReadError:
        console.error(csvPath + QStringLiteral(": cannot be read: ") + rows.systemReason);
        return kExitFile;
    case ChannelCsvRead::Status::BadFile:
        console.error(csvPath + (rows.errorLine > 0 ? QStringLiteral(": line %1: ").arg(rows.errorLine)
                                                     : QStringLiteral(": "))
                      + rows.error.en);
        return kExitFile;
    }

    Document document;
    if (fresh) {
        startNewImage(document, band);
    } else {
        const std::optional<MemoryImage> image = loadImage(invocation, basePath);
        if (!image)
            return kExitFile;
        document.openImage(*image);
    }

    const ChannelImportReport preview = previewChannelImport(document.workspace(), rows);
    for (const CsvNotice &notice : preview.rejected)
        console.error(where(csvPath, notice) + QStringLiteral(": rejected: ") + notice.text.en);
    for (const CsvNotice &notice : preview.warnings)
        console.error(where(csvPath, notice) + QStringLiteral(": note: ") + notice.text.en);
    if (!preview.rejected.isEmpty() && !parser.isSet(QStringLiteral("skip-bad"))) {
        console.error(QStringLiteral("%1: %2 rows rejected, %3 not written (--skip-bad imports the others)")
                          .arg(csvPath)
                          .arg(preview.rejected.size())
                          .arg(output));
        return kExitRowsRejected;
    }

    const ChannelImportReport report = importChannels(document, rows);
    if (!writeOutput(invocation, output, datFileBytes(document.encode())))
        return kExitFile;
    console.print(QStringLiteral("%1: %2 rows imported, %3 rejected; changed channels: %4")
                      .arg(output)
                      .arg(report.imported)
                      .arg(report.rejected.size())
                      .arg(report.changedChannels.isEmpty() ? QStringLiteral("none")
                                                            : channelRanges(report.changedChannels)));
    return kExitSuccess;
}

const CommandRegistration registration({
    QStringLiteral("import"),
    80,
    QStringLiteral("import IN.csv (--base IMAGE.dat | --new --band N) -o OUT.dat [--sequential] [--skip-bad]"),
    QStringLiteral("Type the channels of a CSV file into an image and save it."),
    QStringLiteral("Each row replaces its channel as if the channel had been cleared and the row typed\n"
                   "into the grid: the RX must lie inside the band, frequencies are snapped onto the\n"
                   "raster, names follow the name editor's rule (changed names are noted), tones\n"
                   "must be in the tone list. Rows with an empty or zero Frequency are skipped.\n"
                   "Every rejected row is told with its line, channel and reason.\n\n"
                   "  --base IMAGE.dat    start from this image (its band)\n"
                   "  --new --band N      start from a new image of band N (0 136-174MHz, 1 240-260MHz,\n"
                   "                      2 350-390MHz, 3 400-470MHz, 4 400-420MHz, 5 450-470MHz,\n"
                   "                      6 440-480MHz, 7 450-490MHz, 8 400-490MHz, 9 134-260MHz)\n"
                   "  -o OUT.dat          the image to write (atomically)\n"
                   "  --sequential        rows go to channels 1, 2, ... in file order, whatever Location says\n"
                   "  --skip-bad          write the good rows even when rows are rejected (exit 0)"),
    1,
    {QCommandLineOption(QStringLiteral("base"), QStringLiteral("Start image."), QStringLiteral("IMAGE.dat")),
     QCommandLineOption(QStringLiteral("new"), QStringLiteral("Start from a new image.")),
     QCommandLineOption(QStringLiteral("band"), QStringLiteral("Band of the new image."), QStringLiteral("N")),
     QCommandLineOption(QStringLiteral("o"), QStringLiteral("Output image."), QStringLiteral("OUT.dat")),
     QCommandLineOption(QStringLiteral("sequential"), QStringLiteral("Rows in file order from channel 1.")),
     QCommandLineOption(QStringLiteral("skip-bad"), QStringLiteral("Import the good rows when rows are rejected."))},
    run,
});

} // namespace

} // namespace quillon::cli
