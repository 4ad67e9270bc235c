// export: an image's channels as a CSV file of the common format.

#include "command.h"

#include "document/workspace.h"
#include "files/channel_csv.h"

namespace quillon::cli {

namespace {

int run(const Invocation &invocation)
{
    const QString path = invocation.arguments[0];
    const std::optional<MemoryImage> image = loadImage(invocation, path);
    if (!image)
        return kExitFile;
    const Workspace ws = decodedWorkspace(*image);

    QByteArray bytes;
    if (invocation.parser.isSet(QStringLiteral("tsv"))) {
        bytes = exportChannelTsv(ws.channels, ws.band, ws.language);
    } else {
        const ChannelCsvExport exported = exportChannelCsv(ws.channels, ws.band);
        for (const CsvNotice &warning : exported.warnings)
            invocation.console.error(QStringLiteral("%1: channel %2: %3").arg(path).arg(warning.channel).arg(warning.text.en));
        bytes = exported.bytes;
    }
    const QString output = invocation.parser.value(QStringLiteral("o"));
    if (output.isEmpty()) {
        invocation.console.write(bytes);
        return kExitSuccess;
    }
    return writeOutput(invocation, output, bytes) ? kExitSuccess : kExitFile;
}

const CommandRegistration registration({
    QStringLiteral("export"),
    70,
    QStringLiteral("export IMAGE.dat [-o OUT.csv] [--tsv]"),
    QStringLiteral("Write the channels of an image as CSV in the common format of radio programmers."),
    QStringLiteral("One row per channel that passes the band check, in channel order, with the header\n"
                   "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,\n"
                   "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n"
                   "and our own BusyLock,TxProhibit,Scramble. Values the format cannot carry are told\n"
                   "on standard error (a tone outside the tone list is written as Off, a TX that is no\n"
                   "number as Duplex off).\n\n"
                   "  -o OUT.csv    write the file (atomically) instead of standard output\n"
                   "  --tsv         the channel grid's own columns and texts, tab separated"),
    1,
    {QCommandLineOption(QStringLiteral("o"), QStringLiteral("Output file."), QStringLiteral("OUT.csv")),
     QCommandLineOption(QStringLiteral("tsv"), QStringLiteral("The grid's columns, tab separated."))},
    run,
});

} // namespace

} // namespace quillon::cli
