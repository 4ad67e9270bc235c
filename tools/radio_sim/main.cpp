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
                        "blocks. Created when missing. A radio whose memory comes from no file (this option "
                        "not given, or its file not there yet) starts with a small sample of channels in its "
                        "band; without this option the memory is never saved."),
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
        {QStringLiteral("late-end-answer"),
         QStringLiteral("Fault: answer every 0x45 only n ms later, out of turn: the answers to the frames that "
                        "follow it go out first."),
         QStringLiteral("n"), QStringLiteral("0")},
        {QStringLiteral("wrong-id"), QStringLiteral("Fault: identify as another radio model.")},
        {QStringLiteral("split"), QStringLiteral("Fault: send every answer in two parts with a 5 ms pause.")},
        {QStringLiteral("stray-byte"), QStringLiteral("Fault: follow every answer with an extra 0x00 byte.")},
        {QStringLiteral("corrupt-block"),
         QStringLiteral("Fault: store every write of the block at ADDR (0x0000..0x0BF0, a multiple of 16) with "
                        "bit 0 of its first byte flipped, so a read afterwards differs from what was written."),
         QStringLiteral("ADDR")},
        {QStringLiteral("garbage-after"),
         QStringLiteral("Fault: answer n frames, then answer with noise that holds no 0x06 until the next "
                        "0x45 (once)."),
         QStringLiteral("n")},
        {QStringLiteral("cut-after"),
         QStringLiteral("Fault: answer n frames, then close the line for good, as a pulled cable does."),
         QStringLiteral("n")},
        {QStringLiteral("flood-after"),
         QStringLiteral("Fault: answer n frames, then send nothing but noise, as fast as the line takes it, "
                        "until the next 0x45 (once)."),
         QStringLiteral("n")},
        {QStringLiteral("verbose"), QStringLiteral("Log every frame received (rx) and answer sent (tx).")},
    };
    parser.addOptions(options);
    parser.process(app);

    const std::optional<int> band = numberOption(parser, QStringLiteral("band"), 0, 9);
    const std::optional<int> delay = numberOption(parser, QStringLiteral("delay-ms"), 0, 600000);
    const std::optional<int> delayOnce = numberOption(parser, QStringLiteral("delay-once-ms"), 0, 600000);
    const std::optional<int> lateEnd = numberOption(parser, QStringLiteral("late-end-answer"), 0, 600000);
    if (!band || !delay || !delayOnce || !lateEnd)
        return 2;

    RadioFaults faults;
    faults.wrongId = parser.isSet(QStringLiteral("wrong-id"));
    faults.strayByte = parser.isSet(QStringLiteral("stray-byte"));
    // A frame count given with --name, or -1 when the option is absent.
    bool badCount = false;
    const auto frameCount = [&](const char *name) {
        const QString option = QLatin1String(name);
        if (!parser.isSet(option))
            return -1;
        const std::optional<int> n = numberOption(parser, option, 0, 1 << 30);
        badCount |= !n;
        return n.value_or(-1);
    };
    faults.silentAfter = frameCount("silent-after");
    faults.garbageAfter = frameCount("garbage-after");
    if (parser.isSet(QStringLiteral("corrupt-block"))) {
        bool ok = false;
        const int address = parser.value(QStringLiteral("corrupt-block")).toInt(&ok, 0);
        if (!ok || address < 0 || address > kImageSize - 16 || address % 16 != 0)
            return fail(QStringLiteral("--corrupt-block takes a block address from 0x0000 to 0x0BF0, "
                                       "a multiple of 16"));
        faults.corruptBlock = address;
    }

    LineOptions line;
    line.cutAfter = frameCount("cut-after");
    line.floodAfter = frameCount("flood-after");
    if (badCount)
        return 2;
    line.paced = parser.isSet(QStringLiteral("paced"));
    line.split = parser.isSet(QStringLiteral("split"));
    line.verbose = parser.isSet(QStringLiteral("verbose"));
    line.delayMs = *delay;
    line.delayOnceMs = *delayOnce;
    line.lateEndAnswerMs = *lateEnd;
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

    MemoryImage memory = sampleMemory(*band);
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
