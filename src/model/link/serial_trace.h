#pragma once

#include "link/transfer_protocol.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <deque>
#include <optional>

namespace quillon {

// What a frame the program sends is, for a person reading a trace: "opening",
// "read request 0x0010", "identification accepted". step is the protocol's
// step right after the frame went out.
QString describeFrame(TransferKind kind, int step, const QByteArray &frame);

// One frame sent or one batch of bytes received.
struct TraceEntry {
    qint64 ms = 0;          // since the transfer started
    bool sent = false;
    int step = 0;           // the protocol's step while the frame waits for its answer
    QString what;           // sent: the frame; received: the frame it answers
    QByteArray bytes;       // the first kEntryBytes of them
    qint64 size = 0;        // bytes in all
    // Received once the transfer's room was used up: the bytes of one or
    // more receive events, counted and not kept.
    bool merged = false;
    int events = 1;
    bool ackAcrossBoundary = false;   // the step after it was taken on an "06" straddling two bytes
};

struct TraceTransfer {
    TransferKind kind = TransferKind::None;
    QDateTime started;
    QString port;           // "port 1 (/dev/ttyUSB0)"
    std::optional<TransferEnd> end;
    QList<TraceEntry> entries;
    qint64 keptBytes = 0;
};

// The frames of the last kTransfers transfers, in memory only. Every frame
// sent is kept; what the radio sends is kept up to a bound per transfer, and
// beyond it only counted, so a flood on the line cannot fill the memory.
class SerialTrace {
public:
    static constexpr int kTransfers = 10;
    static constexpr int kEntryBytes = 256;
    static constexpr int kEntriesPerTransfer = 4000;
    static constexpr qint64 kBytesPerTransfer = 64 * 1024;

    void begin(TransferKind kind, const QDateTime &started, const QString &port);
    void sent(qint64 ms, int step, const QByteArray &bytes);
    void received(qint64 ms, int step, const QByteArray &bytes);
    // The last bytes received completed an acknowledgement only across a byte boundary.
    void markAckAcrossBoundary();
    void end(TransferEnd how);

    const std::deque<TraceTransfer> &transfers() const { return m_transfers; }
    bool isEmpty() const { return m_transfers.empty(); }
    // The trace as a person reads it, oldest transfer first.
    QString text() const;

private:
    std::deque<TraceTransfer> m_transfers;
    QString m_lastSent;
};

// Writes trace.text() to path atomically; false with the system's words in reason.
bool saveSerialTrace(const QString &path, const SerialTrace &trace, QString *reason = nullptr);

} // namespace quillon
