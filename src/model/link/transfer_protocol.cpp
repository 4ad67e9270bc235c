#include "link/transfer_protocol.h"

#include "image/address_map.h"

namespace quillon {

namespace {

constexpr char kIdentificationHex[] = "51564D2D374B";   // "QVM-7K"
constexpr int kIdentificationTextSize = 16;              // 8 bytes
constexpr int kDataBlockTextSize = 2 * kDataFrameSize;

// Read: step 2 asks for block 0, steps 3..193 for the next block each, and
// the data answering the request of step s - 1 arrive at step s.
constexpr int kFirstBlockStep = 3;
constexpr int kLastBlockStep = 194;
constexpr int readAddressOfStep(int step) { return (step - kFirstBlockStep) * kBlockSize; }
static_assert(readAddressOfStep(kLastBlockStep) + kBlockSize == kLastAddress + 1);
static_assert(kLastBlockStep + 1 == TransferProtocol::kReadLastStep);

// Write: steps 3..126 send 0x0000..0x07B0, step 127 the calibration block,
// steps 128..191 the names 0x0800..0x0BF0. 0x07C0..0x07EF is never written.
constexpr int kCalibrationStep = 127;
constexpr int kLastFrameStep = 191;
constexpr int writeAddressBefore(int step) { return (step - kFirstBlockStep) * kBlockSize; }
constexpr int writeAddressAfter(int step) { return step * kBlockSize; }
static_assert(writeAddressBefore(kCalibrationStep - 1) == 0x07B0);
static_assert(kCalibrationStep * kBlockSize == kCalibration);
static_assert(writeAddressAfter(kCalibrationStep + 1) == kChannelNames.start);
static_assert(writeAddressAfter(kLastFrameStep) + kBlockSize == kLastAddress + 1);
static_assert(kLastFrameStep + 1 == TransferProtocol::kWriteLastStep);
static_assert(ReceiveText::kKeptDigits >= kDataBlockTextSize);

QByteArray frameHeader(char command, int address)
{
    Q_ASSERT(address >= 0 && address + kBlockSize <= kImageSize);
    QByteArray frame;
    frame.reserve(kDataFrameSize);
    frame.append(command);
    frame.append(static_cast<char>((address >> 8) & 0xFF));
    frame.append(static_cast<char>(address & 0xFF));
    frame.append(static_cast<char>(kBlockSize));
    return frame;
}

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

QByteArray readRequestFrame(int address)
{
    return frameHeader(kReadRequest, address);
}

QByteArray writeFrame(int address, const MemoryImage &image)
{
    return frameHeader(kDataFrame, address) + image.bytes(address, kBlockSize);
}

bool isWrittenAddress(int address, bool calibrationWritten)
{
    if (address < 0 || address > kLastAddress)
        return false;
    if (address >= kCalibration && address < kCalibration + kBlockSize)
        return calibrationWritten;
    return address < writeAddressBefore(kCalibrationStep) || address >= kChannelNames.start;
}

void ReceiveText::append(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    // "06" is either the byte 0x06 or a byte ending in 0 followed by one
    // starting with 6: found on the bytes, without their text.
    for (const char c : bytes) {
        const int byte = static_cast<quint8>(c);
        if (byte == kAck)
            m_byteAck = true;
        if (byte == kAck || (m_lastLowDigit == 0 && (byte >> 4) == 6))
            m_containsAck = true;
        m_lastLowDigit = byte & 0x0F;
    }
    const qsizetype room = kKeptDigits - m_text.size();
    if (room > 0)
        m_text.append(bytes.left((room + 1) / 2).toHex().toUpper().left(room));
    m_size += 2 * qint64(bytes.size());
}

void ReceiveText::clear()
{
    // Released, not only emptied: the text may have been filled by a flood.
    m_text = QByteArray();
    m_size = 0;
    m_lastLowDigit = -1;
    m_containsAck = false;
    m_byteAck = false;
}

bool ReceiveText::isAck() const
{
    return m_size == 2 && m_text == "06";
}

bool ReceiveText::isIdentification() const
{
    return m_size == kIdentificationTextSize && m_text.startsWith(kIdentificationHex);
}

bool ReceiveText::isDataBlock() const
{
    return m_size == kDataBlockTextSize && m_text.startsWith("57");
}

std::optional<int> ReceiveText::identificationBand() const
{
    if (!isIdentification())
        return std::nullopt;
    return hexDigitValue(m_text.at(13));
}

QByteArray ReceiveText::blockData() const
{
    if (!isDataBlock())
        return {};
    return QByteArray::fromHex(m_text.mid(8));
}

std::optional<Message> endMessage(TransferEnd end)
{
    switch (end) {
    case TransferEnd::ReadComplete: return Message::ReadSucceeded;
    case TransferEnd::WriteComplete: return Message::WriteSucceeded;
    case TransferEnd::BandMismatch: return Message::BandMismatch;
    case TransferEnd::ForcedWriteCancelled: return std::nullopt;
    case TransferEnd::Timeout:
    case TransferEnd::LinkLost: return Message::CommunicationError;
    }
    return std::nullopt;
}

TransferProtocol::TransferProtocol(MemoryImage &readImage, const MemoryImage &writeImage)
    : m_readImage(readImage), m_writeImage(writeImage)
{
}

TransferAction TransferProtocol::start(TransferKind kind, qint64 nowMs)
{
    m_kind = kind;
    m_step = 1;
    m_watchdog = true;
    m_awaitingAnswer = false;
    TransferAction action;
    // A previous transfer may have ended with the threshold raised (a lost
    // port) and with stale text (a time-out); neither may leak into this one.
    action.threshold = 1;
    send(action, QByteArray(kOpeningFrame), nowMs);
    return action;
}

TransferAction TransferProtocol::startRead(qint64 nowMs)
{
    return start(TransferKind::Read, nowMs);
}

TransferAction TransferProtocol::startWrite(const WriteSettings &settings, qint64 nowMs)
{
    m_settings = settings;
    return start(TransferKind::Write, nowMs);
}

TransferAction TransferProtocol::onReceive(const QByteArray &bytes, qint64 nowMs)
{
    TransferAction action;
    // Bytes outside a transfer answer nothing we asked; keeping them would
    // only confuse the first step of the next transfer.
    if (!isActive())
        return action;
    m_text.append(bytes);
    action.progress = m_step;
    if (m_awaitingAnswer)
        return action;
    if (m_kind == TransferKind::Write)
        writeSteps(action, nowMs);
    else
        readSteps(action, nowMs);
    return action;
}

void TransferProtocol::readSteps(TransferAction &action, qint64 nowMs)
{
    if (m_step == 1) {
        if (m_text.containsAck()) {
            action.ackAcrossBoundary = m_text.ackOnlyAcrossBytes();
            send(action, QByteArray(1, kIdentificationRequest), nowMs);
            m_step = 2;
        }
    } else if (m_step == 2) {
        // The band code is not examined when reading: the image's own band
        // byte selects the band when it is decoded.
        if (m_text.isIdentification()) {
            send(action, QByteArray(1, kAck), nowMs);
        } else if (m_text.isAck()) {
            action.threshold = kReadThreshold;
            send(action, readRequestFrame(0), nowMs);
            m_step = kFirstBlockStep;
        }
    } else if (m_step <= kLastBlockStep) {
        if (m_text.isDataBlock()) {
            // The reply's own address is not trusted: the data belong to
            // the block that was asked for.
            m_readImage.store(readAddressOfStep(m_step), m_text.blockData());
            action.threshold = 1;
            send(action, QByteArray(1, kAck), nowMs);
        } else if (m_text.isAck()) {
            if (m_step < kLastBlockStep) {
                action.threshold = kReadThreshold;
                send(action, readRequestFrame(readAddressOfStep(m_step + 1)), nowMs);
            } else {
                send(action, QByteArray(1, kEndByte), nowMs);
            }
            ++m_step;
        }
    } else if (m_step == kReadLastStep) {
        if (m_text.isAck()) {
            send(action, QByteArray(1, kEndByte), nowMs);
            end(action, TransferEnd::ReadComplete);
        }
    }
}

void TransferProtocol::writeSteps(TransferAction &action, qint64 nowMs)
{
    if (m_step == 2) {
        if (!m_text.isIdentification())
            return;   // a wrong model ends in the watchdog's time-out
        if (m_text.identificationBand() == m_settings.bandIndex) {
            send(action, QByteArray(1, kAck), nowMs);
            m_step = 3;
        } else if (m_settings.forcedWriteMode) {
            // The question runs a nested event loop; the radio waits meanwhile.
            m_watchdog = false;
            m_awaitingAnswer = true;
            action.askForcedWrite = true;
        } else {
            send(action, QByteArray(1, kEndByte), nowMs);
            end(action, TransferEnd::BandMismatch);
        }
        return;
    }
    if (!m_text.containsAck())
        return;
    action.ackAcrossBoundary = m_text.ackOnlyAcrossBytes();
    if (m_step == 1) {
        send(action, QByteArray(1, kIdentificationRequest), nowMs);
    } else if (m_step < kCalibrationStep) {
        send(action, writeFrame(writeAddressBefore(m_step), m_writeImage), nowMs);
    } else if (m_step == kCalibrationStep) {
        // Without the calibration mode the radio's own calibration stays;
        // a lone 0x06 keeps the exchange in step.
        send(action, m_settings.calibrationMode ? writeFrame(kCalibration, m_writeImage) : QByteArray(1, kAck),
             nowMs);
    } else if (m_step <= kLastFrameStep) {
        send(action, writeFrame(writeAddressAfter(m_step), m_writeImage), nowMs);
    } else {
        send(action, QByteArray(1, kEndByte), nowMs);
        end(action, TransferEnd::WriteComplete);
        return;
    }
    ++m_step;
}

TransferAction TransferProtocol::answerForcedWrite(bool ok, qint64 nowMs)
{
    TransferAction action;
    if (!m_awaitingAnswer || m_kind != TransferKind::Write)
        return action;   // the transfer ended while the question was open
    m_awaitingAnswer = false;
    if (ok) {
        m_watchdog = true;
        send(action, QByteArray(1, kAck), nowMs);
        m_step = 3;
    } else {
        send(action, QByteArray(1, kEndByte), nowMs);
        end(action, TransferEnd::ForcedWriteCancelled);
    }
    return action;
}

TransferAction TransferProtocol::watchdogTick(qint64 nowMs)
{
    TransferAction action;
    if (!isActive() || !m_watchdog || silenceMs(nowMs) <= kSilenceLimitMs)
        return action;
    // The text is kept on purpose: it shows what the radio last said.
    action.threshold = 1;
    action.send = QByteArray(1, kEndByte);
    m_lastStepMs = nowMs;
    end(action, TransferEnd::Timeout);
    return action;
}

TransferAction TransferProtocol::linkLost()
{
    TransferAction action;
    if (!isActive())
        return action;
    action.threshold = 1;
    end(action, TransferEnd::LinkLost);
    return action;
}

void TransferProtocol::send(TransferAction &action, QByteArray bytes, qint64 nowMs)
{
    m_text.clear();
    m_lastStepMs = nowMs;
    action.send = std::move(bytes);
}

void TransferProtocol::end(TransferAction &action, TransferEnd how)
{
    m_kind = TransferKind::None;
    m_watchdog = false;
    m_awaitingAnswer = false;
    action.end = how;
}

} // namespace quillon
