#pragma once

#include "i18n/messages.h"
#include "image/memory_image.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace quillon {

// Bytes on the wire.
inline constexpr char kOpeningFrame[] = "PROGRAM";
inline constexpr char kAck = 0x06;
inline constexpr char kIdentificationRequest = 0x02;
inline constexpr char kReadRequest = 0x52;   // 'R'
inline constexpr char kDataFrame = 0x57;     // 'W': the radio's data reply and our write frame
inline constexpr char kEndByte = 0x45;       // 'E'
inline constexpr int kBlockSize = 16;
inline constexpr int kDataFrameSize = 4 + kBlockSize;

// The 4-byte request for the block at address.
QByteArray readRequestFrame(int address);
// The 20-byte frame that writes image[address .. address + 15].
QByteArray writeFrame(int address, const MemoryImage &image);

// Whether a write sends the byte at address to the radio: everything but
// 0x07C0..0x07EF, and the calibration block only when calibration is on.
bool isWrittenAddress(int address, bool calibrationWritten);

// Everything the radio has sent since the last step, as upper-case hex
// digits. The radio's answers are recognised on this text, not on bytes.
// The longest answer accepted is 40 digits and the text only ever grows
// until the next step, so digits beyond the first kKeptDigits can never
// make an answer: they are counted, not kept (a flood keeps no memory).
class ReceiveText {
public:
    static constexpr qsizetype kKeptDigits = 4096;

    void append(const QByteArray &bytes);
    void clear();
    // The first kKeptDigits digits.
    const QByteArray &text() const { return m_text; }
    // Digits received since the last step, kept or not.
    qint64 size() const { return m_size; }

    // "06" anywhere, also straddling two bytes (0xA0 0x6B).
    bool containsAck() const { return m_containsAck; }
    // The "06" found straddles two bytes: no byte was 0x06.
    bool ackOnlyAcrossBytes() const { return m_containsAck && !m_byteAck; }
    bool isAck() const;
    // "QVM-7K", the band byte and one more: exactly 8 bytes.
    bool isIdentification() const;
    // 0x57 and exactly 20 bytes.
    bool isDataBlock() const;
    // The low digit of the band byte (0..15); nullopt without an identification.
    std::optional<int> identificationBand() const;
    // The 16 data bytes of a data block; empty without one.
    QByteArray blockData() const;

private:
    QByteArray m_text;
    qint64 m_size = 0;
    int m_lastLowDigit = -1;   // of the last byte received, -1 before the first
    bool m_containsAck = false;
    bool m_byteAck = false;
};

enum class TransferKind { None, Read, Write };

enum class TransferEnd {
    ReadComplete,
    WriteComplete,
    BandMismatch,          // the radio was told 0x45, nothing written
    ForcedWriteCancelled,  // the user declined the forced write
    Timeout,               // the radio fell silent
    LinkLost,              // the port vanished under the transfer
};

// The message that announces an end; none after a declined forced write.
std::optional<Message> endMessage(TransferEnd end);

// What the caller must do after an event, in this order: show the progress
// value, set the receive threshold, send the bytes, then ask the question or
// close the transfer.
struct TransferAction {
    int progress = 0;    // 0: leave the progress bar
    int threshold = 0;   // 0: leave the receive threshold
    QByteArray send;
    bool askForcedWrite = false;   // caller answers with answerForcedWrite()
    // The step was taken on an acknowledgement that straddles two bytes.
    bool ackAcrossBoundary = false;
    std::optional<TransferEnd> end;
};

// What a write needs to know about the program's state.
struct WriteSettings {
    int bandIndex = 0;             // selected entry of the band list
    bool forcedWriteMode = false;  // a band mismatch may be overridden
    bool calibrationMode = false;  // the calibration block goes to the radio
};

// The dialogue with the radio as a state machine without clock or I/O: the
// caller feeds received bytes and watchdog ticks (with a millisecond time of
// its own monotonic clock) and carries out the returned actions.
class TransferProtocol {
public:
    static constexpr int kReadLastStep = 195;
    static constexpr int kWriteLastStep = 192;
    static constexpr int kReadThreshold = kDataFrameSize;
    static constexpr qint64 kSilenceLimitMs = 3000;

    // Data replies go into readImage; write frames come from writeImage,
    // which the caller may still fill after starting a write.
    TransferProtocol(MemoryImage &readImage, const MemoryImage &writeImage);

    TransferAction startRead(qint64 nowMs);
    TransferAction startWrite(const WriteSettings &settings, qint64 nowMs);
    TransferAction onReceive(const QByteArray &bytes, qint64 nowMs);
    TransferAction answerForcedWrite(bool ok, qint64 nowMs);
    // Every 50 ms while watchdogEnabled(): ends the transfer once the radio
    // has been silent for more than kSilenceLimitMs.
    TransferAction watchdogTick(qint64 nowMs);
    // The port is gone: end at once, nothing can be sent any more.
    TransferAction linkLost();

    TransferKind kind() const { return m_kind; }
    bool isActive() const { return m_kind != TransferKind::None; }
    int step() const { return m_step; }
    bool watchdogEnabled() const { return m_watchdog; }
    bool awaitingAnswer() const { return m_awaitingAnswer; }
    qint64 silenceMs(qint64 nowMs) const { return nowMs - m_lastStepMs; }
    const ReceiveText &receiveText() const { return m_text; }

private:
    TransferAction start(TransferKind kind, qint64 nowMs);
    void readSteps(TransferAction &action, qint64 nowMs);
    void writeSteps(TransferAction &action, qint64 nowMs);
    // A completed step: the text starts afresh and the silence count restarts.
    void send(TransferAction &action, QByteArray bytes, qint64 nowMs);
    void end(TransferAction &action, TransferEnd how);

    MemoryImage &m_readImage;
    const MemoryImage &m_writeImage;
    WriteSettings m_settings;
    ReceiveText m_text;
    TransferKind m_kind = TransferKind::None;
    int m_step = 0;
    bool m_watchdog = false;
    bool m_awaitingAnswer = false;
    qint64 m_lastStepMs = 0;
};

} // namespace quillon
