// The transfer protocol in read and write mode against the simulated radio,
// in process, with the line and the clock in the input's hands.
//
// Input: the first transfer's kind and settings, the radio's band, faults
// and memory, then a script of line events: the radio's bytes arriving in
// chunks of any size (also below the receive threshold), noise, lost,
// flipped and doubled bytes, a flood, the clock jumping or ticking, the port
// vanishing, answers to the forced-write question and new transfers. When
// the script ends the line is drained and the watchdog ticks until the
// transfer ends.
//
// Properties: the protocol sends only its own frames; read requests ask for
// 0x0000, 0x0010 ... in order and never past 0x0BFF; write frames go out
// only during a write, in the write's block order, never for 0x07C0..0x07EF
// (nor for the calibration block without the calibration mode), never past
// 0x0BFF and with the write image's bytes; a read never changes the radio,
// a write never changes the read image; an end is one the events can
// explain, and every transfer ends; the bytes kept while waiting stay
// bounded; the serial trace holds every frame sent, in order. On a line
// without faults the read brings the radio's memory and the write leaves
// exactly the written blocks in the radio.

#include "fuzz_support.h"

#include "image/address_map.h"
#include "image/band.h"
#include "link/serial_trace.h"
#include "link/transfer_protocol.h"
#include "radio_sim/simulated_radio.h"

#include <QDateTime>

using namespace quillon;
using fuzz::Input;

namespace {

constexpr int kScriptLimit = 4000;        // line events per input
constexpr int kDrainLimit = 200000;       // drain iterations before a transfer counts as hung
constexpr qsizetype kFloodUnit = 1024;
constexpr int kUnwrittenFirst = 0x07C0;
constexpr int kUnwrittenLast = 0x07EF;

MemoryImage patternImage(int seed)
{
    MemoryImage image;
    for (int a = 0; a < kImageSize; ++a)
        image.set(a, static_cast<std::uint8_t>((a * 7 + seed * 13 + (a >> 8)) % 251));
    return image;
}

// The blocks a write sends, in the order it sends them.
QList<int> writeOrder(bool calibration)
{
    QList<int> order;
    for (int a = 0; a < kImageSize; a += kBlockSize) {
        if (a + kBlockSize - 1 < kUnwrittenFirst || a > kUnwrittenLast) {
            if (a != kCalibration || calibration)
                order.append(a);
        }
    }
    return order;
}

QString at(int address)
{
    return QStringLiteral("0x%1").arg(address, 4, 16, QLatin1Char('0'));
}

class Harness {
public:
    Harness(const MemoryImage &radioMemory, int radioBand, RadioFaults faults, bool faulty)
        : m_radio(radioMemory, radioBand, faults), m_radioBand(radioBand), m_interfered(faulty) {}

    bool active() const { return m_protocol.isActive(); }
    bool awaitingAnswer() const { return m_protocol.awaitingAnswer(); }

    void start(bool write, const WriteSettings &settings, int writeSeed, bool fillAfterStart)
    {
        m_kind = write ? TransferKind::Write : TransferKind::Read;
        m_settings = settings;
        m_nextRead = 0;
        m_written = 0;
        m_order = writeOrder(settings.calibrationMode);
        m_asked = false;
        m_forcedYes = false;
        m_lastStep = 0;
        m_sent.clear();
        // The session empties the port before "PROGRAM"; bytes still on the
        // line arrive later.
        m_port.clear();
        m_clean = !m_interfered && m_wire.isEmpty() && !m_radio.inSession();
        m_readAtStart = m_readImage;
        m_radioAtStart = m_radio.memory();
        m_trace.begin(m_kind, QDateTime(), QStringLiteral("fuzz"));
        if (!fillAfterStart)
            m_writeImage = patternImage(writeSeed);
        apply(write ? m_protocol.startWrite(settings, m_clock) : m_protocol.startRead(m_clock), true);
        // A write's image may be completed after "PROGRAM" went out, as the session does.
        if (fillAfterStart)
            m_writeImage = patternImage(writeSeed);
    }

    void carry(qsizetype n)
    {
        const qsizetype count = qMin(n, m_wire.size());
        m_port.append(m_wire.left(count));
        m_wire.remove(0, count);
        deliverIfReady();
    }
    void carryAll() { carry(m_wire.size()); }

    // Part of what waits in the port, whatever the threshold: any cut of
    // the bytes must do.
    void deliverPart(qsizetype n)
    {
        if (m_port.isEmpty())
            return;
        const qsizetype count = qBound<qsizetype>(1, n, m_port.size());
        // Below the threshold the real port hands nothing over: the rest may
        // then wait for bytes that never come.
        if (count < m_threshold)
            interfere();
        const QByteArray bytes = m_port.left(count);
        m_port.remove(0, count);
        receive(bytes);
    }

    void noise(const QByteArray &bytes, int position)
    {
        if (bytes.isEmpty())
            return;
        m_wire.insert(position % (m_wire.size() + 1), bytes);
        interfere();
    }
    void flood(char byte, int units)
    {
        m_wire.append(QByteArray(units * kFloodUnit, byte));
        interfere();
    }
    void lose(qsizetype n)
    {
        if (m_wire.isEmpty())
            return;
        m_wire.remove(0, qMin(n, m_wire.size()));
        interfere();
    }
    void flip(int position, std::uint8_t mask)
    {
        if (m_wire.isEmpty() || mask == 0)
            return;
        const qsizetype i = position % m_wire.size();
        m_wire[i] = static_cast<char>(m_wire.at(i) ^ mask);
        interfere();
    }
    void doubleByte(int position)
    {
        if (m_wire.isEmpty())
            return;
        const qsizetype i = position % m_wire.size();
        m_wire.insert(i, m_wire.at(i));
        interfere();
    }

    // The clock moves on and the watchdog looks. On a clean line the radio
    // answers at once, so there the clock stays well inside the silence
    // limit (each delivery takes a millisecond too).
    void advance(qint64 ms)
    {
        if (m_clean && active())
            ms = qMin(ms, qMax<qint64>(0, TransferProtocol::kSilenceLimitMs / 2 - m_protocol.silenceMs(m_clock)));
        m_clock += ms;
        tick();
    }

    void lostLink()
    {
        const bool wasActive = active();
        const TransferAction action = m_protocol.linkLost();
        FUZZ_CHECK(!action.end || wasActive, QStringLiteral("a lost port ended a transfer that was not running"));
        FUZZ_CHECK(!wasActive || action.end == TransferEnd::LinkLost, QStringLiteral("a lost port did not end the transfer"));
        FUZZ_CHECK(action.send.isEmpty(), QStringLiteral("sent on a port that is gone"));
        if (wasActive)
            interfere();
        apply(action, false);
    }

    void answer(bool ok)
    {
        const bool asked = awaitingAnswer();
        const TransferAction action = m_protocol.answerForcedWrite(ok, m_clock);
        FUZZ_CHECK(asked || (action.send.isEmpty() && !action.end), QStringLiteral("an answer nobody asked for acted"));
        m_forcedYes = m_forcedYes || (asked && ok);
        apply(action, false);
    }

    // Until the transfer ends: everything on the line is carried, the
    // watchdog ticks every 50 ms, a question is answered.
    void drain(bool answerYes)
    {
        for (int i = 0; active(); ++i) {
            FUZZ_CHECK(i < kDrainLimit, QStringLiteral("the transfer never ended (step %1)").arg(m_protocol.step()));
            if (awaitingAnswer())
                answer(answerYes);
            else if (!m_wire.isEmpty())
                carryAll();
            else
                advance(50);
        }
    }

    // The trace as a person reads it, once all transfers are over.
    void finish()
    {
        FUZZ_CHECK(!m_trace.text().isEmpty(), QStringLiteral("an empty trace"));
    }

private:
    // Something happened on the line that a radio without faults never does.
    void interfere()
    {
        m_interfered = true;
        m_clean = false;
    }

    void tick()
    {
        const bool wasActive = active();
        const qint64 silence = m_protocol.silenceMs(m_clock);
        const bool watching = m_protocol.watchdogEnabled();
        const TransferAction action = m_protocol.watchdogTick(m_clock);
        if (action.end) {
            FUZZ_CHECK(wasActive && watching && silence > TransferProtocol::kSilenceLimitMs,
                       QStringLiteral("time-out after %1 ms of silence").arg(silence));
            FUZZ_CHECK(action.end == TransferEnd::Timeout, QStringLiteral("the watchdog ended otherwise than by a time-out"));
        }
        apply(action, false);
    }

    void deliverIfReady()
    {
        // The port hands over everything it holds once the threshold is reached.
        while (!m_port.isEmpty() && m_port.size() >= m_threshold) {
            const QByteArray bytes = m_port;
            m_port.clear();
            receive(bytes);
        }
    }

    void receive(const QByteArray &bytes)
    {
        const bool wasActive = active();
        const bool write = m_kind == TransferKind::Write;
        const int step = m_protocol.step();
        const bool waiting = awaitingAnswer();
        if (wasActive)
            m_trace.received(m_clock, step, bytes);
        // "06" as a byte or across two, in what came since the last step.
        for (const char c : bytes) {
            const int byte = static_cast<quint8>(c);
            m_heardAckByte = m_heardAckByte || byte == kAck;
            m_heardAckAcross = m_heardAckAcross || (m_heardLowDigit == 0 && byte >> 4 == 6);
            m_heardLowDigit = byte & 0x0F;
        }
        const TransferAction action = m_protocol.onReceive(bytes, ++m_clock);
        // The steps taken on an acknowledgement found anywhere in the text
        // are taken on the first one, and tell whether it straddled two bytes.
        const bool onAnyAck = wasActive && !waiting && (write ? step != 2 : step == 1);
        if (onAnyAck && (m_heardAckByte || m_heardAckAcross))
            FUZZ_CHECK(!action.send.isEmpty(), QStringLiteral("step %1 not taken on \"06\" in %2").arg(step).arg(fuzz::hexText(bytes.left(64))));
        if (onAnyAck && !action.send.isEmpty()) {
            FUZZ_CHECK(action.ackAcrossBoundary == (!m_heardAckByte && m_heardAckAcross),
                       QStringLiteral("step %1 marked %2 an acknowledgement across bytes").arg(step).arg(action.ackAcrossBoundary ? "as" : "not as"));
        } else {
            FUZZ_CHECK(!action.ackAcrossBoundary, QStringLiteral("step %1 taken on an acknowledgement across bytes").arg(step));
        }
        FUZZ_CHECK(wasActive || (action.send.isEmpty() && !action.end && !action.progress),
                   QStringLiteral("bytes outside a transfer were answered"));
        FUZZ_CHECK(m_protocol.receiveText().text().size() <= ReceiveText::kKeptDigits,
                   QStringLiteral("%1 digits kept while waiting").arg(m_protocol.receiveText().text().size()));
        if (action.ackAcrossBoundary)
            m_trace.markAckAcrossBoundary();
        apply(action, false);
    }

    void apply(const TransferAction &action, bool starting)
    {
        const bool write = m_kind == TransferKind::Write;
        FUZZ_CHECK(action.progress >= 0 && action.progress <= TransferProtocol::kReadLastStep,
                   QStringLiteral("progress %1").arg(action.progress));
        FUZZ_CHECK(action.threshold == 0 || action.threshold == 1 || action.threshold == TransferProtocol::kReadThreshold,
                   QStringLiteral("threshold %1").arg(action.threshold));
        if (action.threshold)
            m_threshold = action.threshold;
        FUZZ_CHECK(!active() || m_protocol.step() >= m_lastStep, QStringLiteral("the step went back from %1 to %2").arg(m_lastStep).arg(m_protocol.step()));
        FUZZ_CHECK(m_protocol.step() <= TransferProtocol::kReadLastStep, QStringLiteral("step %1").arg(m_protocol.step()));
        m_lastStep = m_protocol.step();
        if (!action.send.isEmpty())
            send(action.send, starting);
        if (action.askForcedWrite) {
            FUZZ_CHECK(write && m_settings.forcedWriteMode && m_written == 0,
                       QStringLiteral("forced-write question outside a forced write's band check"));
            FUZZ_CHECK(awaitingAnswer() && !m_protocol.watchdogEnabled(), QStringLiteral("question without waiting for its answer"));
            m_asked = true;
        }
        if (action.end)
            ended(*action.end);
        // Bytes that waited in the port count against a new threshold.
        if (action.threshold)
            deliverIfReady();
    }

    void send(const QByteArray &frame, bool starting)
    {
        const bool write = m_kind == TransferKind::Write;
        const char command = frame.at(0);
        const int address = frame.size() >= 3 ? (static_cast<quint8>(frame.at(1)) << 8) | static_cast<quint8>(frame.at(2)) : -1;
        if (frame == kOpeningFrame) {
            FUZZ_CHECK(starting, QStringLiteral("\"PROGRAM\" in the middle of a transfer"));
        } else if (frame.size() == 1 && (command == kIdentificationRequest || command == kAck || command == kEndByte)) {
            FUZZ_CHECK(!starting, QStringLiteral("a transfer started without \"PROGRAM\""));
        } else if (frame.size() == 4 && command == kReadRequest && frame.at(3) == kBlockSize) {
            FUZZ_CHECK(!write, QStringLiteral("read request %1 during a write").arg(at(address)));
            FUZZ_CHECK(address == m_nextRead, QStringLiteral("read request %1, expected %2").arg(at(address), at(m_nextRead)));
            FUZZ_CHECK(address + kBlockSize - 1 <= kLastAddress, QStringLiteral("read request past 0x0BFF: ") + at(address));
            m_nextRead += kBlockSize;
        } else if (frame.size() == kDataFrameSize && command == kDataFrame && frame.at(3) == kBlockSize) {
            FUZZ_CHECK(write, QStringLiteral("write frame %1 during a read").arg(at(address)));
            FUZZ_CHECK(address + kBlockSize - 1 <= kLastAddress, QStringLiteral("write frame past 0x0BFF: ") + at(address));
            FUZZ_CHECK(address + kBlockSize - 1 < kUnwrittenFirst || address > kUnwrittenLast,
                       QStringLiteral("write frame for ") + at(address));
            FUZZ_CHECK(address != kCalibration || m_settings.calibrationMode, QStringLiteral("calibration written without the calibration mode"));
            FUZZ_CHECK(m_written < m_order.size() && address == m_order[m_written],
                       QStringLiteral("write frame %1 out of order (block %2 of the write)").arg(at(address)).arg(m_written));
            FUZZ_CHECK(frame.mid(4) == m_writeImage.bytes(address, kBlockSize), QStringLiteral("write frame %1 with other bytes than the image's").arg(at(address)));
            FUZZ_CHECK(m_protocol.step() > 3, QStringLiteral("write frame before the band check"));
            ++m_written;
        } else {
            fuzz::fail("a frame of the protocol", __FILE__, __LINE__, QStringLiteral("sent ") + fuzz::hexText(frame));
        }
        m_sent.append(frame);
        m_heardAckByte = false;
        m_heardAckAcross = false;
        m_heardLowDigit = -1;
        m_trace.sent(m_clock, m_protocol.step(), frame);
        for (const RadioFrame &heard : m_radio.receive(frame)) {
            FUZZ_CHECK(heard.kind != RadioFrame::Kind::Unknown, QStringLiteral("the radio could not read ") + fuzz::hexText(heard.bytes));
            m_wire.append(heard.answer);
        }
    }

    void ended(TransferEnd how)
    {
        const bool write = m_kind == TransferKind::Write;
        FUZZ_CHECK(!active(), QStringLiteral("still running after its end"));
        switch (how) {
        case TransferEnd::ReadComplete:
            FUZZ_CHECK(!write && m_nextRead == kImageSize, QStringLiteral("read complete after %1 blocks").arg(m_nextRead / kBlockSize));
            break;
        case TransferEnd::WriteComplete:
            FUZZ_CHECK(write && m_written == m_order.size(), QStringLiteral("write complete after %1 blocks").arg(m_written));
            break;
        case TransferEnd::BandMismatch:
            FUZZ_CHECK(write && m_written == 0 && !m_settings.forcedWriteMode, QStringLiteral("band mismatch"));
            break;
        case TransferEnd::ForcedWriteCancelled:
            FUZZ_CHECK(write && m_written == 0 && m_asked, QStringLiteral("forced write cancelled unasked"));
            break;
        case TransferEnd::Timeout:
        case TransferEnd::LinkLost: break;
        }

        if (write) {
            FUZZ_CHECK(m_readImage == m_readAtStart, QStringLiteral("a write changed the read image"));
            MemoryImage expected = m_radioAtStart;
            for (int i = 0; i < m_written; ++i)
                expected.store(m_order[i], m_writeImage.bytes(m_order[i], kBlockSize));
            if (m_clean) {
                const bool bandMatches = m_radioBand == m_settings.bandIndex;
                const TransferEnd expectedEnd = bandMatches || m_forcedYes ? TransferEnd::WriteComplete
                    : m_settings.forcedWriteMode                           ? TransferEnd::ForcedWriteCancelled
                                                                           : TransferEnd::BandMismatch;
                FUZZ_CHECK(how == expectedEnd, QStringLiteral("a write on a clean line ended %1, expected %2").arg(int(how)).arg(int(expectedEnd)));
                FUZZ_CHECK(m_radio.memory() == expected, QStringLiteral("the radio holds other bytes than the blocks written"));
            } else {
                // Only written blocks may differ from what the radio held.
                for (int a = 0; a < kImageSize; ++a) {
                    if (m_radio.memory().at(a) != m_radioAtStart.at(a))
                        FUZZ_CHECK(m_order.indexOf(a / kBlockSize * kBlockSize) >= 0, QStringLiteral("the radio changed at ") + at(a));
                }
            }
        } else {
            FUZZ_CHECK(m_radio.memory() == m_radioAtStart, QStringLiteral("a read changed the radio"));
            for (int a = 0; a < kImageSize; ++a) {
                if (m_readImage.at(a) != m_readAtStart.at(a))
                    FUZZ_CHECK(a < m_nextRead, QStringLiteral("the read image changed at %1, not asked for yet").arg(at(a)));
            }
            if (m_clean) {
                FUZZ_CHECK(how == TransferEnd::ReadComplete, QStringLiteral("a read on a clean line ended %1").arg(int(how)));
                FUZZ_CHECK(m_readImage == m_radio.memory(), QStringLiteral("a clean read brought other bytes than the radio's"));
            }
        }

        m_trace.end(how);
        const TraceTransfer &traced = m_trace.transfers().back();
        QList<QByteArray> tracedSent;
        for (const TraceEntry &entry : traced.entries) {
            if (entry.sent)
                tracedSent.append(entry.bytes);
        }
        FUZZ_CHECK(tracedSent == m_sent, QStringLiteral("the trace holds %1 frames sent, the transfer sent %2").arg(tracedSent.size()).arg(m_sent.size()));
        FUZZ_CHECK(traced.end == how, QStringLiteral("the trace's end"));
    }

    MemoryImage m_readImage;
    MemoryImage m_writeImage;
    TransferProtocol m_protocol{m_readImage, m_writeImage};
    SimulatedRadio m_radio;
    SerialTrace m_trace;
    int m_radioBand;
    bool m_interfered;

    QByteArray m_wire;   // sent by the radio, not yet in the port
    QByteArray m_port;   // in the port, not yet handed over
    int m_threshold = 1;
    qint64 m_clock = 1000;

    TransferKind m_kind = TransferKind::None;
    WriteSettings m_settings;
    QList<int> m_order;
    int m_nextRead = 0;
    int m_written = 0;
    bool m_asked = false;
    bool m_forcedYes = false;
    bool m_clean = false;
    int m_lastStep = 0;
    QList<QByteArray> m_sent;
    bool m_heardAckByte = false;
    bool m_heardAckAcross = false;
    int m_heardLowDigit = -1;
    MemoryImage m_readAtStart;
    MemoryImage m_radioAtStart;
};

WriteSettings writeSettings(Input &in, int radioBand)
{
    WriteSettings settings;
    const std::uint8_t flags = in.byte();
    // Mostly the radio's own band, so that writes get past the band check.
    settings.bandIndex = flags & 0x01 ? in.range(0, kBandCount - 1) : radioBand % kBandCount;
    settings.forcedWriteMode = flags & 0x02;
    settings.calibrationMode = flags & 0x04;
    return settings;
}

} // namespace

// Once: the blocks a write sends are the addresses the verify compares.
bool checkWrittenAddresses()
{
    for (bool calibration : {false, true}) {
        const QList<int> order = writeOrder(calibration);
        for (int a = -1; a <= kImageSize; ++a) {
            const bool sent = a >= 0 && a < kImageSize && order.contains(a / kBlockSize * kBlockSize);
            FUZZ_CHECK(isWrittenAddress(a, calibration) == sent, QStringLiteral("isWrittenAddress(%1, %2)").arg(a).arg(calibration));
        }
    }
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool writtenAddressesChecked = checkWrittenAddresses();
    Q_UNUSED(writtenAddressesChecked);

    Input in(data, size);
    const bool write = in.flag();
    const int radioBand = in.range(0, 15);
    const WriteSettings settings = writeSettings(in, radioBand);
    const std::uint8_t faultBits = in.byte();
    RadioFaults faults;
    if (faultBits & 0x01)
        faults.silentAfter = in.range(0, 400);
    faults.wrongId = faultBits & 0x02;
    faults.strayByte = faultBits & 0x04;
    if (faultBits & 0x08)
        faults.corruptBlock = in.range(0, kImageSize / kBlockSize - 1) * kBlockSize;
    if (faultBits & 0x10)
        faults.garbageAfter = in.range(0, 400);
    const bool faulty = faultBits & 0x1F;
    const int memorySeed = in.byte();
    const int writeSeed = in.byte();

    Harness harness(patternImage(memorySeed), radioBand, faults, faulty);
    harness.start(write, settings, writeSeed, in.flag());
    for (int i = 0; i < kScriptLimit && !in.atEnd(); ++i) {
        switch (in.byte() % 16) {
        case 0:
        case 1: harness.carry(in.range(1, 32)); break;
        case 2:
        case 3: harness.carryAll(); break;
        case 4: harness.deliverPart(in.range(1, 32)); break;
        case 5: harness.advance(50); break;
        case 6: harness.advance(in.word()); break;
        case 7: {
            const int position = in.word();
            harness.noise(in.chunk(), position);
            break;
        }
        case 8: harness.lose(in.range(1, 32)); break;
        case 9: {
            const int position = in.word();
            harness.flip(position, in.byte());
            break;
        }
        case 10: harness.doubleByte(in.word()); break;
        case 11: {
            const char byte = static_cast<char>(in.byte());
            harness.flood(byte, in.range(1, 8));
            break;
        }
        case 12: harness.lostLink(); break;
        case 13: harness.answer(in.flag()); break;
        case 14:
            if (!harness.active()) {
                const bool nextWrite = in.flag();
                const WriteSettings next = writeSettings(in, radioBand);
                const int seed = in.byte();
                harness.start(nextWrite, next, seed, in.flag());
            }
            break;
        default: harness.carryAll(); harness.advance(50); break;
        }
    }
    harness.drain(in.flag());
    harness.finish();
    return 0;
}
