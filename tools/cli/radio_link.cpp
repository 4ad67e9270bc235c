#include "radio_link.h"

#include "document/image_compare.h"
#include "image/band.h"
#include "serial_port.h"

#include <QByteArray>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace quillon::cli {

namespace {

bool stderrIsTerminal()
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stderr));
#else
    return ::isatty(STDERR_FILENO) == 1;
#endif
}

void putError(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

// The progress of one transfer on standard error: a bar redrawn in place on
// a terminal, else one line per 10 % (a log or a pipe keeps every line).
class Progress {
public:
    Progress(const QString &label, int lastStep) : m_label(label.toUtf8()), m_lastStep(lastStep) {}

    void step(int step)
    {
        const int percent = std::clamp((step - 1) * 100 / (m_lastStep - 1), 0, 100);
        if (m_terminal) {
            if (percent == m_shown)
                return;
            m_shown = percent;
            const int filled = percent * kBarWidth / 100;
            putError("\r" + m_label + " [" + QByteArray(filled, '#') + QByteArray(kBarWidth - filled, '-') + "] "
                     + QByteArray::number(percent).rightJustified(3) + '%');
            return;
        }
        while (m_nextLine <= percent) {
            putError(m_label + ": " + QByteArray::number(m_nextLine) + "%\n");
            m_nextLine += 10;
        }
    }
    // The transfer ended; complete or not, the bar's line is closed.
    void finish(bool complete)
    {
        if (complete)
            step(m_lastStep);
        if (m_terminal && m_shown >= 0)
            putError("\n");
    }

private:
    static constexpr int kBarWidth = 40;
    QByteArray m_label;
    int m_lastStep;
    bool m_terminal = stderrIsTerminal();
    int m_shown = -1;
    int m_nextLine = 10;
};

const TraceTransfer *lastTransfer(const SerialTrace &trace)
{
    return trace.isEmpty() ? nullptr : &trace.transfers().back();
}

// The frame that waited for an answer when the watchdog ended the transfer:
// the last frame sent before the watchdog's own 0x45.
const TraceEntry *unansweredFrame(const TraceTransfer &transfer)
{
    bool endSeen = false;
    for (auto it = transfer.entries.rbegin(); it != transfer.entries.rend(); ++it) {
        if (!it->sent)
            continue;
        if (endSeen)
            return &*it;
        endSeen = true;
    }
    return nullptr;
}

// The band code of the identification the radio sent: the low digit of its
// seventh byte, as the protocol's band check reads it.
std::optional<int> identifiedBand(const TraceTransfer &transfer)
{
    const QString request = describeFrame(TransferKind::Write, 2, QByteArray(1, kIdentificationRequest));
    QByteArray identification;
    for (const TraceEntry &entry : transfer.entries) {
        if (entry.what != request)
            continue;
        if (entry.sent)
            identification.clear();   // what answers the last request only
        else
            identification += entry.bytes;
    }
    if (identification.size() < 7)
        return std::nullopt;
    return static_cast<quint8>(identification.at(6)) & 0x0F;
}

QString bandName(int code)
{
    return code >= 0 && code < kBandCount ? bandText(code) : QStringLiteral("code %1").arg(code);
}

} // namespace

QList<QCommandLineOption> portOptionSpecs()
{
    return {QCommandLineOption(QStringLiteral("port"), QStringLiteral("Serial port number 1..16."), QStringLiteral("N")),
            QCommandLineOption(QStringLiteral("device"), QStringLiteral("Serial device path."), QStringLiteral("PATH"))};
}

QCommandLineOption traceOptionSpec()
{
    return {QStringLiteral("trace"), QStringLiteral("Write the serial trace."), QStringLiteral("FILE")};
}

std::optional<PortChoice> portOption(const Invocation &invocation)
{
    const QCommandLineParser &parser = invocation.parser;
    const bool byNumber = parser.isSet(QStringLiteral("port"));
    const bool byDevice = parser.isSet(QStringLiteral("device"));
    if (byNumber == byDevice) {
        invocation.usageError(QStringLiteral("give either --port N or --device PATH"));
        return std::nullopt;
    }
    PortChoice port;
    if (byDevice) {
        port.device = parser.value(QStringLiteral("device"));
        if (port.device.isEmpty()) {
            invocation.usageError(QStringLiteral("--device needs a path"));
            return std::nullopt;
        }
        return port;
    }
    bool ok = false;
    port.number = parser.value(QStringLiteral("port")).toInt(&ok);
    if (!ok || port.number < 1 || port.number > kPortCount) {
        invocation.usageError(QStringLiteral("--port must be a port number 1..%1, not \"%2\"")
                                  .arg(kPortCount)
                                  .arg(parser.value(QStringLiteral("port"))));
        return std::nullopt;
    }
    return port;
}

RadioRun::RadioRun(const Invocation &invocation) : m_invocation(invocation)
{
    // Only a forced-write mode asks; here a band mismatch is always refused.
    QObject::connect(&m_session, &TransferSession::forcedWriteQuestion, &m_session,
                     [this] { m_session.answerForcedWrite(false); });
}

bool RadioRun::open(const PortChoice &port)
{
    QString reason;
    const bool opened = port.number > 0 ? m_session.openPort(port.number, &reason)
                                        : m_session.openDevice(port.device, &reason);
    if (opened)
        return true;
    if (port.number > 0 && m_session.portDevice().isEmpty())
        m_invocation.console.error(QStringLiteral("port %1: %2").arg(port.number).arg(reason));
    else
        m_invocation.console.error(portName() + QStringLiteral(": cannot be opened: ") + reason);
    return false;
}

QString RadioRun::portName() const
{
    const QString device = m_session.portDevice();
    return m_session.portNumber() > 0 ? QStringLiteral("port %1 (%2)").arg(m_session.portNumber()).arg(device)
                                      : device;
}

TransferEnd RadioRun::read(const QString &label)
{
    if (!m_session.startRead())
        return TransferEnd::LinkLost;
    return run(label, TransferProtocol::kReadLastStep);
}

TransferEnd RadioRun::write(const MemoryImage &image, int band, const QString &label)
{
    WriteSettings settings;
    settings.bandIndex = band;
    settings.forcedWriteMode = false;
    settings.calibrationMode = false;   // the radio keeps its own calibration
    if (!m_session.startWrite(settings, [&image] { return image; }))
        return TransferEnd::LinkLost;
    return run(label, TransferProtocol::kWriteLastStep);
}

TransferEnd RadioRun::run(const QString &label, int lastStep)
{
    Progress progress(label, lastStep);
    progress.step(1);
    const QMetaObject::Connection shown =
        QObject::connect(&m_session, &TransferSession::progress, &m_session, [&progress](int step) { progress.step(step); });
    const TransferEnd end = m_session.waitForEnd().value_or(TransferEnd::LinkLost);
    QObject::disconnect(shown);
    progress.finish(end == TransferEnd::ReadComplete || end == TransferEnd::WriteComplete);
    return end;
}

int RadioRun::failed(TransferEnd end) const
{
    Console &console = m_invocation.console;
    const TraceTransfer *transfer = lastTransfer(m_session.trace());
    switch (end) {
    case TransferEnd::ReadComplete:
    case TransferEnd::WriteComplete:
        break;
    case TransferEnd::Timeout: {
        QString after;
        if (const TraceEntry *frame = transfer ? unansweredFrame(*transfer) : nullptr)
            after = QStringLiteral(" after the frame \"%1\" (step %2)").arg(frame->what).arg(frame->step);
        const QByteArray heard = m_session.receiveText().text();
        if (heard.isEmpty()) {
            console.error(portName() + QStringLiteral(": the radio did not answer within %1 ms%2")
                                           .arg(TransferProtocol::kSilenceLimitMs)
                                           .arg(after));
        } else {
            const qsizetype shownDigits = 40;
            console.error(portName() + QStringLiteral(": the radio answered wrongly%1: %2%3, no answer the "
                                                      "protocol accepts within %4 ms")
                                           .arg(after, QString::fromLatin1(heard.left(shownDigits)),
                                                heard.size() > shownDigits ? QStringLiteral("...") : QString())
                                           .arg(TransferProtocol::kSilenceLimitMs));
        }
        return kExitRadio;
    }
    case TransferEnd::LinkLost:
        console.error(portName() + QStringLiteral(": the serial port was lost during the transfer"));
        return kExitRadio;
    case TransferEnd::BandMismatch:
    case TransferEnd::ForcedWriteCancelled: {
        QString radioBand;
        if (const std::optional<int> code = transfer ? identifiedBand(*transfer) : std::nullopt)
            radioBand = QStringLiteral(" (the radio reports the band %1)").arg(bandName(*code));
        console.error(portName() + QStringLiteral(": write refused: the radio's band differs from the image's%1; "
                                                  "nothing was written")
                                       .arg(radioBand));
        return kExitWriteRefused;
    }
    }
    return kExitSuccess;
}

bool RadioRun::saveTrace() const
{
    const QString path = m_invocation.parser.value(QStringLiteral("trace"));
    if (path.isEmpty() || m_session.trace().isEmpty())
        return true;
    QString reason;
    if (saveSerialTrace(path, m_session.trace(), &reason))
        return true;
    m_invocation.console.error(path + QStringLiteral(": cannot be written: ") + reason);
    return false;
}

int printVerifyDifferences(const Invocation &invocation, const MemoryImage &image, const MemoryImage &radio)
{
    const QList<ImageDifference> differences = compareImages(
        image, radio, Language::English, [](int address) { return isWrittenAddress(address, false); });
    for (const ImageDifference &d : differences) {
        invocation.console.print(d.area == ImageDifference::Area::Bytes
                                     ? d.line()
                                     : d.line() + QStringLiteral(" (") + addressesText(d.addresses) + u')');
    }
    return int(differences.size());
}

} // namespace quillon::cli
