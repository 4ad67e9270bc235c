#pragma once

#include "i18n/language.h"
#include "link/serial_trace.h"
#include "link/transfer_protocol.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

namespace quillon {

class SerialLink;

// A read or a write of the radio without any window: the protocol, the
// serial line, the 50 ms watchdog (TimerW) and the serial trace. The windows
// put their progress window and messages on top of it; the command-line
// tool runs the same transfers, frame for frame, through it.
class TransferSession : public QObject {
    Q_OBJECT
public:
    static constexpr int kWatchdogIntervalMs = 50;

    // The image of the last write that sent blocks in this run, and whether
    // its calibration block was among them.
    struct Written {
        MemoryImage image;
        bool calibration = false;
    };

    explicit TransferSession(QObject *parent = nullptr);
    ~TransferSession() override;

    // ---- the port

    // Replaces the serial line (an in-process radio in tests). Closes the old one.
    void setLink(std::unique_ptr<SerialLink> link);
    // Closes the current port and opens port number (1..16). On failure the
    // port stays closed and reason holds the system's words.
    bool openPort(int number, QString *reason = nullptr, Language language = Language::English);
    // Opens a device by its name ("/dev/ttyUSB0"); port number 0.
    bool openDevice(const QString &device, QString *reason = nullptr);
    void closePort();
    bool isPortOpen() const;
    int portNumber() const { return m_portNumber; }
    // The device of the open port; empty when none is open.
    QString openDeviceName() const;
    // The device of the port number (or device) last opened, also when the
    // open failed; empty when the number has no device.
    QString portDevice() const { return m_portDevice; }
    // The milliseconds the protocol counts its silences in, from a monotonic
    // clock; tests set the time. An empty clock restores the real one.
    using MillisecondClock = std::function<qint64()>;
    void setClock(MillisecondClock clock) { m_clockOverride = std::move(clock); }
    // A cable pulled during an earlier transfer closed the port; once it is
    // back it opens again without being chosen anew. True when the port is open.
    bool ensurePortOpen();

    // ---- transfers

    // Sends "PROGRAM"; false (nothing sent) when the port is not open or a
    // transfer runs. The end is announced by finished().
    bool startRead();
    // Sends "PROGRAM", then takes the image to write from image(): the
    // radio's answer is handled only once the event loop runs again.
    bool startWrite(const WriteSettings &settings, const std::function<MemoryImage()> &image);
    // The answer to forcedWriteQuestion().
    void answerForcedWrite(bool ok);
    // Runs an event loop of its own until the transfer ends (for a caller
    // without a modal window); returns how it ended.
    std::optional<TransferEnd> waitForEnd();

    bool isActive() const { return m_protocol.isActive(); }
    TransferKind kind() const { return m_kind; }
    // How the last transfer ended; nullopt before the first and while one runs.
    std::optional<TransferEnd> lastEnd() const { return m_lastEnd; }
    // What the last read received; after a complete read exactly the bytes the radio sent.
    const MemoryImage &received() const { return m_received; }
    const std::optional<Written> &lastWritten() const { return m_lastWritten; }
    const SerialTrace &trace() const { return m_trace; }
    const ReceiveText &receiveText() const { return m_protocol.receiveText(); }

signals:
    // The protocol's step at every event of a transfer: the progress bar's value.
    void progress(int step);
    // The radio's band differs and a forced write is allowed: answer with
    // answerForcedWrite(). The watchdog waits meanwhile.
    void forcedWriteQuestion();
    void finished(quillon::TransferEnd end);

private:
    bool begin(TransferKind kind);
    void apply(const TransferAction &action);
    void askForcedWrite();
    void onBytes(const QByteArray &bytes);
    void onWatchdogTick();
    void onLinkLost();
    qint64 now() const { return m_clockOverride ? m_clockOverride() : m_clock.elapsed(); }
    qint64 sinceStart() const { return now() - m_startMs; }

    std::unique_ptr<SerialLink> m_link;
    MemoryImage m_received;
    MemoryImage m_writeImage;
    TransferProtocol m_protocol;
    WriteSettings m_writeSettings;
    QTimer m_watchdog;   // TimerW
    QElapsedTimer m_clock;
    MillisecondClock m_clockOverride;
    qint64 m_startMs = 0;
    QElapsedTimer m_sinceEnd;   // real time, whatever clock the protocol is given
    TransferKind m_kind = TransferKind::None;
    SerialTrace m_trace;
    std::optional<TransferEnd> m_lastEnd;
    std::optional<Written> m_lastWritten;
    QString m_device;
    QString m_portDevice;
    int m_portNumber = 0;
    bool m_portLost = false;
};

} // namespace quillon
