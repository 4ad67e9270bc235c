#pragma once

#include "link/transfer_protocol.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace quillon {

class AppContext;
class ProgressWindow;
class SerialLink;

// Reads and writes the radio: port check, pending-edit commit, the modal
// progress window, the watchdog and the ends of a transfer.
class TransferController : public QObject {
    Q_OBJECT
public:
    TransferController(AppContext &context, QWidget *dialogParent, QObject *parent = nullptr);
    ~TransferController() override;

    // Closes the current port and opens port number (1..16). On failure the
    // port stays closed and reason holds the system's words.
    bool openPort(int number, QString *reason = nullptr);
    void closePort();
    bool isPortOpen() const;
    int portNumber() const;
    // The device of the port number last opened; empty when it has none.
    QString device() const { return m_device; }
    // The device behind a port number ("/dev/ttyUSB0", "COM3").
    static QString deviceName(int number);

    // Each returns when the transfer has ended and its message was answered.
    void readRadio();
    void writeRadio();

    // How the last transfer ended; nullopt before the first or when the port
    // check refused it.
    std::optional<TransferEnd> lastEnd() const { return m_lastEnd; }
    // The progress window while a transfer runs, else nullptr.
    ProgressWindow *progressWindow() const { return m_window; }

    // Replaces the serial line (an in-process radio in tests). Closes the old one.
    void setLink(std::unique_ptr<SerialLink> link);
    // The milliseconds the protocol counts its silences in, from a monotonic
    // clock; tests set the time. An empty clock restores the real one.
    using MillisecondClock = std::function<qint64()>;
    void setClock(MillisecondClock clock) { m_clockOverride = std::move(clock); }

private:
    void run(TransferKind kind);
    bool ensurePortOpen();
    void apply(const TransferAction &action);
    void askForcedWrite();
    void onBytes(const QByteArray &bytes);
    void onWatchdogTick();
    void onLinkLost();
    qint64 now() const { return m_clockOverride ? m_clockOverride() : m_clock.elapsed(); }

    AppContext &m_context;
    QWidget *m_dialogParent;
    std::unique_ptr<SerialLink> m_link;
    // What a read receives, decoded only once the read is complete.
    MemoryImage m_received;
    TransferProtocol m_protocol;
    QTimer m_watchdog;   // TimerW, a child of the controller
    QElapsedTimer m_clock;
    MillisecondClock m_clockOverride;
    ProgressWindow *m_window = nullptr;
    std::optional<TransferEnd> m_lastEnd;
    int m_portNumber = 0;
    QString m_device;
    bool m_portLost = false;
};

} // namespace quillon
