// quillon-radio-sim: a radio on a pseudo-terminal for the programming tool,
// its tests and its benchmarks.

#include "files/dat_file.h"
#include "radio_sim/pty_radio.h"
#include "radio_sim/simulated_radio.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <optional>

#include <csignal>
#include <cstdio>

using namespace quillon;

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "quillon-radio-sim: %s\n", qPrintable(message));
    return 2;
}

// The option's value as a number in [low, high]; nullopt (with a message) otherwise.
std::optional<int> numberOption(const QCommandLineParser &parser, const QString &name, int low, int high)
{
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < low || value > high) {
        fail(QStringLiteral("--%1 takes a number from %2 to %3").arg(name).arg(low).arg(high));
        return std::nullopt;
    }
    return value;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillon-radio-sim"));
    std::signal(SIGPIPE, SIG_IGN);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated Quillon radio on a pseudo-terminal.\n"
        "Prints \"device: PATH\" as its first line; open PATH as the serial port.\n"
        "Answers the programming dialogue from a 3072-byte memory. Later lines report\n"
        "each session (\"session start\", \"session end ...\", \"saved FILE\")."));
    parser.addHelpOption();
    const QList<QCommandLineOption> options{
        {QStringLiteral("memory"),
         QStringLiteral("Memory image (.dat file) to load and to save after every session that wrote "
                        "blocks. Created when missing. Without it the memory is all 0xFF and never saved."),
         QStringLiteral("file")},
        {QStringLiteral("band"), QStringLiteral("Band code 0..9 reported in the identification (default 0)."),
         QStringLiteral("n"), QStringLiteral("0")},
        {QStringLiteral("paced"),
         QStringLiteral("True 9600-baud timing: every byte in either direction takes 1.0417 ms on the line.")},
        {QStringLiteral("silent-after"),
         QStringLiteral("Fault: answer n frames, then nothing until the next 0x45 (once)."), QStringLiteral("n")},
        {QStringLiteral("delay-ms"), QStringLiteral("Fault: wait n ms before every answer."), QStringLiteral("n"),
         QStringLiteral("0")},
        {QStringLiteral("delay-count"),
         QStringLiteral("With --delay-ms: wait before the answers to the first n frames only (counted over the "
                        "whole run)."),
         QStringLiteral("n")},
        {QStringLiteral("delay-once-ms"),
         QStringLiteral("Fault: wait n ms before the answer to the frame given by --delay-at."),
         QStringLiteral("n"), QStringLiteral("0")},
        {QStringLiteral("delay-at"), QStringLiteral("Frame number (from 1, counted over the whole run) for "
                                                    "--delay-once-ms."),
         QStringLiteral("frame")},
        {QStringLiteral("wrong-id"), QStringLiteral("Fault: identify as another radio model.")},
        {QStringLiteral("split"), QStringLiteral("Fault: send every answer in two parts with a 5 ms pause.")},
        {QStringLiteral("stray-byte"), QStringLiteral("Fault: follow every answer with an extra 0x00 byte.")},
        {QStringLiteral("verbose"), QStringLiteral("Log every frame received (rx) and answer sent (tx).")},
    };
    parser.addOptions(options);
    parser.process(app);

    const std::optional<int> band = numberOption(parser, QStringLiteral("band"), 0, 9);
    const std::optional<int> delay = numberOption(parser, QStringLiteral("delay-ms"), 0, 600000);
    const std::optional<int> delayOnce = numberOption(parser, QStringLiteral("delay-once-ms"), 0, 600000);
    if (!band || !delay || !delayOnce)
        return 2;

    RadioFaults faults;
    faults.wrongId = parser.isSet(QStringLiteral("wrong-id"));
    faults.strayByte = parser.isSet(QStringLiteral("stray-byte"));
    if (parser.isSet(QStringLiteral("silent-after"))) {
        const std::optional<int> n = numberOption(parser, QStringLiteral("silent-after"), 0, 1 << 30);
        if (!n)
            return 2;
        faults.silentAfter = *n;
    }

    LineOptions line;
    line.paced = parser.isSet(QStringLiteral("paced"));
    line.split = parser.isSet(QStringLiteral("split"));
    line.verbose = parser.isSet(QStringLiteral("verbose"));
    line.delayMs = *delay;
    line.delayOnceMs = *delayOnce;
    if (parser.isSet(QStringLiteral("delay-count"))) {
        const std::optional<int> count = numberOption(parser, QStringLiteral("delay-count"), 0, 1 << 30);
        if (!count)
            return 2;
        line.delayCount = *count;
    }
    if (parser.isSet(QStringLiteral("delay-at"))) {
        const std::optional<int> at = numberOption(parser, QStringLiteral("delay-at"), 1, 1 << 30);
        if (!at)
            return 2;
        line.delayAt = *at;
    } else if (line.delayOnceMs > 0) {
        return fail(QStringLiteral("--delay-once-ms needs --delay-at"));
    }

    MemoryImage memory;
    memory.fill(0, kImageSize - 1, 0xFF);
    if (parser.isSet(QStringLiteral("memory"))) {
        line.memoryFile = parser.value(QStringLiteral("memory"));
        if (QFileInfo::exists(line.memoryFile)) {
            const DatResult loaded = loadDatFile(line.memoryFile, memory);
            if (loaded.status == DatStatus::WrongType)
                return fail(QStringLiteral("%1 is no radio image").arg(line.memoryFile));
            if (loaded.status != DatStatus::Ok)
                return fail(QStringLiteral("cannot read %1: %2").arg(line.memoryFile, loaded.systemReason));
        }
    }

    SimulatedRadio radio(memory, *band, faults);
    PtyRadio pty(radio, line);
    QString error;
    if (!pty.open(&error))
        return fail(QStringLiteral("cannot open a pseudo-terminal: %1").arg(error));
    std::printf("device: %s\n", qPrintable(pty.devicePath()));
    std::fflush(stdout);
    return app.exec();
}
