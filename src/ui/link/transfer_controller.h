#pragma once

#include "document/radio_history.h"
#include "link/transfer_protocol.h"
#include "transfer_session.h"

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
class SerialTrace;
class TransferSession;
class VerifyWindow;

// Reads, writes and verifies the radio for the windows: port check,
// pending-edit commit, the modal progress window, the messages, the forced
// write question, the radio history and the serial trace, over a
// TransferSession that runs the protocol, the line and the watchdog.
class TransferController : public QObject {
    Q_OBJECT
public:
    // Returns the path the trace is to be saved under; empty: cancelled.
    using PathChooser = std::function<QString(const QString &suggestedPath)>;

    TransferController(AppContext &context, QWidget *dialogParent, QObject *parent = nullptr);
    ~TransferController() override;

    // Closes the current port and opens port number (1..16). On failure the
    // port stays closed and reason holds the system's words.
    bool openPort(int number, QString *reason = nullptr);
    void closePort();
    bool isPortOpen() const;
    int portNumber() const;
    // The device of the port number last opened; empty when it has none.
    QString device() const;
    // The device behind a port number ("/dev/ttyUSB0", "COM3").
    static QString deviceName(int number);
    // The device of the open port; empty when none is open.
    QString openDevice() const;

    // Each returns when the transfer has ended and its message was answered.
    void readRadio();
    void writeRadio();
    // Reads the radio into a buffer of its own (the windows do not change)
    // and compares it with the image last written in this run, or with what
    // Save would write now, over the blocks a write sends.
    void verifyRadio();
    // Verify right after every successful write; off at start.
    void setVerifyAfterWriting(bool on) { m_verifyAfterWriting = on; }
    bool verifiesAfterWriting() const { return m_verifyAfterWriting; }

    // Asks where (or asks the chooser) and writes the serial trace of the
    // last transfers there.
    void saveTrace();
    void setTraceFileChooser(PathChooser chooser) { m_traceChooser = std::move(chooser); }
    const SerialTrace &trace() const;

    bool isTransferring() const;
    // How the last transfer ended; nullopt before the first or when the port
    // check refused it.
    std::optional<TransferEnd> lastEnd() const { return m_lastEnd; }
    // The progress window while a transfer runs, else nullptr.
    ProgressWindow *progressWindow() const { return m_window; }
    // The list of differences of the last verify that found any; nullptr before.
    VerifyWindow *verifyWindow() const { return m_verifyWindow; }
    TransferSession &session() const { return *m_session; }

    // Replaces the serial line (an in-process radio in tests). Closes the old one.
    void setLink(std::unique_ptr<SerialLink> link);
    // The milliseconds the protocol counts its silences in, from a monotonic
    // clock; tests set the time. An empty clock restores the real one.
    void setClock(TransferSession::MillisecondClock clock);

signals:
    // A read, write or verify ended (after its message was answered).
    void transferFinished(quillon::TransferEnd end);

private:
    enum class Purpose { Read, Write, Verify };

    void run(Purpose purpose);
    void finishRead();
    void finishWrite();
    void showVerifyResult(const MemoryImage &reference, bool calibration, bool againstWrite);
    void askForcedWrite();
    void storeHistory(HistoryDirection direction, const MemoryImage &image);

    AppContext &m_context;
    QWidget *m_dialogParent;
    TransferSession *m_session;
    ProgressWindow *m_window = nullptr;
    VerifyWindow *m_verifyWindow = nullptr;
    std::optional<TransferEnd> m_lastEnd;
    bool m_verifyAfterWriting = false;
    PathChooser m_traceChooser;
};

} // namespace quillon
