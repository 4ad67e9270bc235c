#pragma once

#include "command.h"

#include "link/transfer_protocol.h"
#include "transfer_session.h"

#include <QList>
#include <QString>

#include <optional>

// What read, write and verify share: the port options, one transfer session
// run to its end in the event loop, the progress on standard error, the
// error line of a failed transfer and the comparison of a verify.
namespace quillon::cli {

// --port N | --device PATH, and --trace FILE.
QList<QCommandLineOption> portOptionSpecs();
QCommandLineOption traceOptionSpec();
inline constexpr char kPortOptionsHelp[] =
    "  --port N            the serial port numbered N (1..16) as in the windows'\n"
    "                      port list; quillon-cli ports shows what stands behind each\n"
    "  --device PATH       the serial device by its path (/dev/ttyUSB0, COM3)";
inline constexpr char kTraceOptionHelp[] =
    "  --trace FILE        write every frame sent and received with its time in\n"
    "                      milliseconds, direction and protocol step, as hex text (the\n"
    "                      format of the windows' Save serial trace...), also when the\n"
    "                      transfer fails";

struct PortChoice {
    int number = 0;    // 1..16, or 0 for a device given by its path
    QString device;
};
// The port the options name; nullopt after a usage error line.
std::optional<PortChoice> portOption(const Invocation &invocation);

// One or more transfers over one open port, in the order the command runs them.
class RadioRun {
public:
    explicit RadioRun(const Invocation &invocation);

    // Opens the port; on failure an error line naming the port and false.
    bool open(const PortChoice &port);
    // A read session; the image is in received() after TransferEnd::ReadComplete.
    TransferEnd read(const QString &label);
    // A write of image with the band check against band: a radio of another
    // band is told 0x45 and nothing is written (no forced write here).
    TransferEnd write(const MemoryImage &image, int band, const QString &label);
    const MemoryImage &received() const { return m_session.received(); }

    // "port 1 (/dev/ttyUSB0)" or the device.
    QString portName() const;
    // The error line of a transfer that did not complete, and its exit code.
    int failed(TransferEnd end) const;
    // Writes the trace when --trace names a file and a transfer began; false
    // after an error line.
    bool saveTrace() const;

private:
    TransferEnd run(const QString &label, int lastStep);

    const Invocation &m_invocation;
    TransferSession m_session;
};

// Verify: every difference in the blocks a write sends (the calibration
// block is never written here), image against radio, one line each with
// its addresses on standard output. Returns the number of differences.
int printVerifyDifferences(const Invocation &invocation, const MemoryImage &image, const MemoryImage &radio);

} // namespace quillon::cli
