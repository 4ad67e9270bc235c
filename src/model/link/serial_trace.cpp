#include "link/serial_trace.h"

#include <QSaveFile>

namespace quillon {

namespace {

// The step that follows the calibration block (or the lone 0x06 in its place).
constexpr int kStepAfterCalibration = 128;

QString addressText(const QByteArray &frame)
{
    const int address = (static_cast<quint8>(frame.at(1)) << 8) | static_cast<quint8>(frame.at(2));
    return QStringLiteral("0x") + QString::number(address, 16).toUpper().rightJustified(4, u'0');
}

QString kindText(TransferKind kind)
{
    switch (kind) {
    case TransferKind::Read: return QStringLiteral("read");
    case TransferKind::Write: return QStringLiteral("write");
    case TransferKind::None: break;
    }
    return QStringLiteral("transfer");
}

QString endText(const std::optional<TransferEnd> &end)
{
    if (!end)
        return QStringLiteral("still running");
    switch (*end) {
    case TransferEnd::ReadComplete: return QStringLiteral("read complete");
    case TransferEnd::WriteComplete: return QStringLiteral("write complete");
    case TransferEnd::BandMismatch: return QStringLiteral("band mismatch, nothing written");
    case TransferEnd::ForcedWriteCancelled: return QStringLiteral("forced write declined, nothing written");
    case TransferEnd::Timeout:
        return QStringLiteral("time-out, the radio was silent for more than %1 ms")
            .arg(TransferProtocol::kSilenceLimitMs);
    case TransferEnd::LinkLost: return QStringLiteral("the serial port was lost");
    }
    return {};
}

QString entryLine(const TraceEntry &entry)
{
    QString line = QString::asprintf("%8lld  %s  step %3d  %-28s ", static_cast<long long>(entry.ms),
                                     entry.sent ? "tx" : "rx", entry.step, qPrintable(entry.what));
    line += QString::fromLatin1(entry.bytes.toHex(' ').toUpper());
    if (entry.merged)
        line += QStringLiteral("(%1 bytes in %2 receive events, not kept)").arg(entry.size).arg(entry.events);
    else if (entry.size > entry.bytes.size())
        line += QStringLiteral(" ... (%1 bytes in all)").arg(entry.size);
    if (entry.ackAcrossBoundary)
        line += QStringLiteral("  <- acknowledgement \"06\" found across a byte boundary");
    return line;
}

} // namespace

QString describeFrame(TransferKind kind, int step, const QByteArray &frame)
{
    if (frame == kOpeningFrame)
        return QStringLiteral("opening");
    if (frame.size() == 4 && frame.at(0) == kReadRequest)
        return QStringLiteral("read request ") + addressText(frame);
    if (frame.size() == kDataFrameSize && frame.at(0) == kDataFrame)
        return QStringLiteral("write block ") + addressText(frame);
    if (frame.size() != 1)
        return QStringLiteral("frame");
    switch (frame.at(0)) {
    case kIdentificationRequest: return QStringLiteral("identification request");
    case kEndByte: return QStringLiteral("end");
    case kAck:
        if ((kind == TransferKind::Read && step == 2) || (kind == TransferKind::Write && step == 3))
            return QStringLiteral("identification accepted");
        if (kind == TransferKind::Read && step > 2)
            return QStringLiteral("block received");
        if (kind == TransferKind::Write && step == kStepAfterCalibration)
            return QStringLiteral("calibration block left out");
        return QStringLiteral("acknowledgement");
    default: break;
    }
    return QStringLiteral("frame");
}

void SerialTrace::begin(TransferKind kind, const QDateTime &started, const QString &port)
{
    if (m_transfers.size() == kTransfers)
        m_transfers.pop_front();
    TraceTransfer transfer;
    transfer.kind = kind;
    transfer.started = started;
    transfer.port = port;
    m_transfers.push_back(std::move(transfer));
    m_lastSent.clear();
}

void SerialTrace::sent(qint64 ms, int step, const QByteArray &bytes)
{
    if (m_transfers.empty())
        return;
    // Frames sent are bounded by the protocol itself (at most 390 a transfer): all kept.
    TraceTransfer &transfer = m_transfers.back();
    TraceEntry entry;
    entry.ms = ms;
    entry.sent = true;
    entry.step = step;
    entry.what = describeFrame(transfer.kind, step, bytes);
    entry.bytes = bytes.left(kEntryBytes);
    entry.size = bytes.size();
    m_lastSent = entry.what;
    transfer.keptBytes += entry.bytes.size();
    transfer.entries.append(std::move(entry));
}

void SerialTrace::received(qint64 ms, int step, const QByteArray &bytes)
{
    if (m_transfers.empty() || bytes.isEmpty())
        return;
    TraceTransfer &transfer = m_transfers.back();
    const bool full = transfer.entries.size() >= kEntriesPerTransfer || transfer.keptBytes >= kBytesPerTransfer;
    if (full && !transfer.entries.isEmpty() && transfer.entries.last().merged) {
        TraceEntry &last = transfer.entries.last();
        last.size += bytes.size();
        ++last.events;
        return;
    }
    TraceEntry entry;
    entry.ms = ms;
    entry.step = step;
    entry.what = m_lastSent;
    entry.size = bytes.size();
    entry.merged = full;
    if (!full)
        entry.bytes = bytes.left(kEntryBytes);
    transfer.keptBytes += entry.bytes.size();
    transfer.entries.append(std::move(entry));
}

void SerialTrace::markAckAcrossBoundary()
{
    if (m_transfers.empty())
        return;
    QList<TraceEntry> &entries = m_transfers.back().entries;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (!it->sent) {
            it->ackAcrossBoundary = true;
            return;
        }
    }
}

void SerialTrace::end(TransferEnd how)
{
    if (!m_transfers.empty())
        m_transfers.back().end = how;
}

QString SerialTrace::text() const
{
    QStringList lines;
    lines << QStringLiteral("Quillon serial trace: the last %1 transfers, oldest first.").arg(m_transfers.size())
          << QStringLiteral("Each line: milliseconds since the transfer started, tx (sent to the radio) or rx "
                            "(received from it), the protocol step and its frame, the bytes in hex.");
    int number = 0;
    for (const TraceTransfer &transfer : m_transfers) {
        lines << QString()
              << QStringLiteral("== Transfer %1: %2 on %3, started %4")
                     .arg(++number)
                     .arg(kindText(transfer.kind), transfer.port,
                          transfer.started.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")));
        for (const TraceEntry &entry : transfer.entries)
            lines << entryLine(entry);
        lines << QStringLiteral("== Ended: ") + endText(transfer.end);
    }
    return lines.join(u'\n') + u'\n';
}

bool saveSerialTrace(const QString &path, const SerialTrace &trace, QString *reason)
{
    QSaveFile file(path);
    const QByteArray bytes = trace.text().toUtf8();
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (reason)
        *reason = file.errorString();
    return false;
}

} // namespace quillon
