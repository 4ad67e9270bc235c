// read, write, verify: the windows' transfers over a serial port.

#include "command.h"
#include "radio_link.h"

#include "document/document.h"
#include "document/image_summary.h"
#include "files/dat_file.h"
#include "i18n/link_texts.h"

#include <QDir>
#include <QFileInfo>

namespace quillon::cli {

namespace {

// A file the command will write, checked before the radio is spoken to: a
// read is not worth doing when its result has nowhere to go.
bool folderExists(const Invocation &invocation, const QString &path)
{
    const QDir folder = QFileInfo(path).absoluteDir();
    if (folder.exists())
        return true;
    invocation.console.error(path + QStringLiteral(": cannot be written: the folder %1 does not exist")
                                        .arg(QDir::toNativeSeparators(folder.path())));
    return false;
}

bool traceFolderExists(const Invocation &invocation)
{
    const QString trace = invocation.parser.value(QStringLiteral("trace"));
    return trace.isEmpty() || folderExists(invocation, trace);
}

// The result of a command that talked to the radio: a trace that cannot be
// written turns success into a file error, never a radio's failure into one.
int withTrace(const RadioRun &radio, int code)
{
    const bool traced = radio.saveTrace();
    return code == kExitSuccess && !traced ? kExitFile : code;
}

// What the windows write after opening the file: the image decoded as Open
// decodes it, then encoded as Write encodes it; its band is the band byte
// as decoded.
struct ImageToWrite {
    MemoryImage image;
    int band = 0;
};

std::optional<ImageToWrite> imageToWrite(const Invocation &invocation, const QString &path)
{
    const std::optional<MemoryImage> file = loadImage(invocation, path);
    if (!file)
        return std::nullopt;
    Document document;
    document.openImage(*file);
    return ImageToWrite{document.encode(), document.workspace().band.index};
}

int runRead(const Invocation &invocation)
{
    const std::optional<PortChoice> port = portOption(invocation);
    if (!port)
        return kExitUsage;
    const QString output = invocation.parser.value(QStringLiteral("o"));
    if (output.isEmpty())
        return invocation.usageError(QStringLiteral("-o OUT.dat is missing"));
    if (!folderExists(invocation, output) || !traceFolderExists(invocation))
        return kExitFile;

    RadioRun radio(invocation);
    if (!radio.open(*port))
        return kExitRadio;
    const TransferEnd end = radio.read(QStringLiteral("read"));
    if (end != TransferEnd::ReadComplete)
        return withTrace(radio, radio.failed(end));
    // The bytes as the radio sent them, not decoded and encoded again.
    if (!writeOutput(invocation, output, datFileBytes(radio.received())))
        return withTrace(radio, kExitFile);
    const ImageSummary summary = summarizeImage(radio.received(), Language::English);
    invocation.console.print(QStringLiteral("%1: read from %2, band %3, %4 channels")
                                 .arg(output, radio.portName(), summary.band)
                                 .arg(summary.channels.size()));
    return withTrace(radio, kExitSuccess);
}

int runWrite(const Invocation &invocation)
{
    const std::optional<PortChoice> port = portOption(invocation);
    if (!port)
        return kExitUsage;
    const QString path = invocation.arguments[0];
    const std::optional<ImageToWrite> written = imageToWrite(invocation, path);
    if (!written || !traceFolderExists(invocation))
        return kExitFile;

    RadioRun radio(invocation);
    if (!radio.open(*port))
        return kExitRadio;
    const TransferEnd end = radio.write(written->image, written->band, QStringLiteral("write"));
    if (end != TransferEnd::WriteComplete)
        return withTrace(radio, radio.failed(end));
    invocation.console.print(QStringLiteral("%1: written to %2, band %3")
                                 .arg(path, radio.portName(), bandText(written->band)));
    if (!invocation.parser.isSet(QStringLiteral("verify")))
        return withTrace(radio, kExitSuccess);

    // A separate read session, as Verify after writing runs it.
    const TransferEnd readBack = radio.read(QStringLiteral("verify"));
    if (readBack != TransferEnd::ReadComplete)
        return withTrace(radio, radio.failed(readBack));
    if (const int differences = printVerifyDifferences(invocation, written->image, radio.received())) {
        invocation.console.error(QStringLiteral("%1: verify after the write found %2 %3 from %4 "
                                                "(listed on standard output as written -> in the radio)")
                                     .arg(radio.portName())
                                     .arg(differences)
                                     .arg(differences == 1 ? QStringLiteral("difference")
                                                           : QStringLiteral("differences"),
                                          path));
        return withTrace(radio, kExitVerifyFailed);
    }
    invocation.console.print(link_text::kVerifySame.text(Language::English));
    return withTrace(radio, kExitSuccess);
}

int runVerify(const Invocation &invocation)
{
    const std::optional<PortChoice> port = portOption(invocation);
    if (!port)
        return kExitUsage;
    const QString path = invocation.arguments[0];
    const std::optional<ImageToWrite> expected = imageToWrite(invocation, path);
    if (!expected || !traceFolderExists(invocation))
        return kExitFile;

    RadioRun radio(invocation);
    if (!radio.open(*port))
        return kExitRadio;
    const TransferEnd end = radio.read(QStringLiteral("verify"));
    if (end != TransferEnd::ReadComplete)
        return withTrace(radio, radio.failed(end));
    if (printVerifyDifferences(invocation, expected->image, radio.received()) > 0)
        return withTrace(radio, kExitDifferent);
    invocation.console.print(QStringLiteral("The radio holds exactly what a write of %1 sends.").arg(path));
    return withTrace(radio, kExitSuccess);
}

QString help(const char *what, bool trace)
{
    QString text = QString::fromUtf8(what) + QStringLiteral("\n\n") + QLatin1String(kPortOptionsHelp);
    if (trace)
        text += u'\n' + QLatin1String(kTraceOptionHelp);
    return text;
}

const char kProgressHelp[] =
    "The progress goes to standard error: a bar on a terminal, else one line per 10 %.\n"
    "When the radio stays silent for more than 3000 ms the transfer ends (exit 4).";

const CommandRegistration readRegistration({
    QStringLiteral("read"),
    10,
    QStringLiteral("read (--port N | --device PATH) -o OUT.dat [--trace FILE]"),
    QStringLiteral("Read the radio's memory into an image file."),
    help("Runs the windows' Read frame for frame. OUT.dat holds the bytes exactly as the radio\n"
         "sent them, after the file's header; it is written (atomically) only after a\n"
         "complete read.",
         false)
        + QStringLiteral("\n  -o OUT.dat          the image file to write\n") + QLatin1String(kTraceOptionHelp)
        + QStringLiteral("\n\n") + QLatin1String(kProgressHelp),
    0,
    portOptionSpecs()
        + QList<QCommandLineOption>{QCommandLineOption(QStringLiteral("o"), QStringLiteral("Output image."),
                                                       QStringLiteral("OUT.dat")),
                                    traceOptionSpec()},
    runRead,
});

const CommandRegistration writeRegistration({
    QStringLiteral("write"),
    20,
    QStringLiteral("write IMAGE.dat (--port N | --device PATH) [--verify] [--trace FILE]"),
    QStringLiteral("Write an image file into the radio."),
    help("Runs the windows' Write frame for frame, with what the windows write after opening\n"
         "IMAGE.dat: 188 blocks, never 0x07C0-0x07EF, the radio's own calibration kept. The\n"
         "band check is the windows': a radio that reports another band than the image's\n"
         "band byte (0x0716) is told so and nothing is written (exit 5).",
         true)
        + QStringLiteral("\n  --verify            half a second after the write, read the radio back and compare\n"
                         "                      the written blocks; differences are listed as written -> in\n"
                         "                      the radio (exit 6)\n\n")
        + QLatin1String(kProgressHelp),
    1,
    portOptionSpecs()
        + QList<QCommandLineOption>{QCommandLineOption(QStringLiteral("verify"), QStringLiteral("Read back and compare.")),
                                    traceOptionSpec()},
    runWrite,
});

const CommandRegistration verifyRegistration({
    QStringLiteral("verify"),
    30,
    QStringLiteral("verify IMAGE.dat (--port N | --device PATH) [--trace FILE]"),
    QStringLiteral("Read the radio and compare it with an image; exit 0 when equal, 1 when different."),
    help("Compares the blocks a write of IMAGE.dat sends (188, without the calibration block):\n"
         "each difference as decoded values, the image's value -> the radio's, with the\n"
         "addresses:\n"
         "  channel 5 rx: 446.00625 -> 446.50000 (0x0034-0x0037)",
         true)
        + QStringLiteral("\n\n") + QLatin1String(kProgressHelp),
    1,
    portOptionSpecs() + QList<QCommandLineOption>{traceOptionSpec()},
    runVerify,
});

} // namespace

} // namespace quillon::cli
