#include "radio_sim/simulated_radio.h"

#include "document/document.h"
#include "image/band.h"

namespace quillon {

namespace {

constexpr char kOpening[] = "PROGRAM";
constexpr int kOpeningSize = 7;
constexpr int kBlock = 16;
constexpr int kWriteFrameSize = 4 + kBlock;

int frameAddress(const QByteArray &frame)
{
    return (static_cast<quint8>(frame.at(1)) << 8) | static_cast<quint8>(frame.at(2));
}

bool blockInImage(int address)
{
    return address >= 0 && address + kBlock <= kImageSize;
}

} // namespace

QByteArray lineGarbage(qsizetype size)
{
    // No byte is 0x06 and none ends in 0 before one that starts with 6.
    static const char pattern[] = {'\x5A', '\xA5', '\x3C', '\xC3'};
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = pattern[i % 4];
    return bytes;
}

MemoryImage sampleMemory(int band)
{
    Document document;
    document.newImage();
    document.selectBand(band);
    const BandState &limits = document.workspace().band;
    // Five channels a megahertz apart from the bottom of the band, named
    // for what they are.
    for (int channel = 1; channel <= 5; ++channel) {
        const double megahertz = limits.low + 0.5 + (channel - 1) * qMin(1.0, (limits.high - limits.low - 1) / 5.0);
        document.commitFrequency(channel, kColumnRx, QString::number(megahertz, 'f', 5));
        document.commitName(channel, QStringLiteral("SAMPLE%1").arg(channel));
    }
    return document.encode();
}

SimulatedRadio::SimulatedRadio(const MemoryImage &memory, int band, RadioFaults faults)
    : m_memory(memory), m_band(band), m_faults(faults)
{
}

QByteArray SimulatedRadio::identification() const
{
    QByteArray id(m_faults.wrongId ? "QVM-8K" : "QVM-7K");
    // The tool reads only the low digit of the band byte.
    id.append(static_cast<char>(0xF0 | (m_band & 0x0F)));
    id.append('\0');
    return id;
}

QList<RadioFrame> SimulatedRadio::receive(const QByteArray &bytes)
{
    QList<RadioFrame> frames;
    if (m_inSession)
        m_session.bytesIn += bytes.size();
    m_pending.append(bytes);
    RadioFrame frame;
    while (takeFrame(frame)) {
        frame.number = ++m_frameCount;
        answer(frame);
        frames.append(frame);
        frame = RadioFrame{};
    }
    return frames;
}

bool SimulatedRadio::takeFrame(RadioFrame &frame)
{
    if (!m_inSession) {
        // Outside a session only the opening counts; everything else is noise.
        const qsizetype at = m_pending.indexOf(kOpening);
        if (at < 0) {
            m_pending = m_pending.right(kOpeningSize - 1);
            return false;
        }
        m_pending.remove(0, at + kOpeningSize);
        frame.kind = RadioFrame::Kind::Opening;
        frame.bytes = kOpening;
        m_inSession = true;
        m_session = RadioSession{};
        m_session.bytesIn = kOpeningSize + m_pending.size();
        return true;
    }
    if (m_pending.isEmpty())
        return false;
    qsizetype size = 1;
    switch (m_pending.at(0)) {
    case 'P':
        if (m_pending.size() < kOpeningSize)
            return false;
        if (m_pending.startsWith(kOpening)) {
            frame.kind = RadioFrame::Kind::Opening;
            size = kOpeningSize;
            m_session = RadioSession{};
            m_session.bytesIn = m_pending.size();
        }
        break;
    case 0x02: frame.kind = RadioFrame::Kind::Identify; break;
    case 0x06: frame.kind = RadioFrame::Kind::Ack; break;
    case 0x45: frame.kind = RadioFrame::Kind::End; break;
    case 0x52:
        if (m_pending.size() < 4)
            return false;
        frame.kind = RadioFrame::Kind::Read;
        size = 4;
        break;
    case 0x57:
        if (m_pending.size() < kWriteFrameSize)
            return false;
        frame.kind = RadioFrame::Kind::Write;
        size = kWriteFrameSize;
        break;
    default: break;
    }
    frame.bytes = m_pending.left(size);
    m_pending.remove(0, size);
    if (frame.kind == RadioFrame::Kind::Read || frame.kind == RadioFrame::Kind::Write)
        frame.address = frameAddress(frame.bytes);
    return true;
}

void SimulatedRadio::answer(RadioFrame &frame)
{
    using Kind = RadioFrame::Kind;
    ++m_session.frames;
    if (m_faults.silentAfter >= 0 && !m_silenceUsed && frame.number > m_faults.silentAfter) {
        m_silent = true;
        m_silenceUsed = true;
    }
    if (m_faults.garbageAfter >= 0 && !m_garbageUsed && frame.number > m_faults.garbageAfter) {
        m_garbage = true;
        m_garbageUsed = true;
    }
    if (frame.kind == Kind::End) {
        // The end closes the session even for a radio that fell silent.
        frame.sessionEnded = true;
        m_inSession = false;
        m_garbage = false;
        if (m_silent) {
            m_silent = false;
            return;
        }
        frame.answer = QByteArray(1, 0x06);
    } else if (m_silent) {
        return;
    } else if (m_garbage) {
        frame.answer = lineGarbage(qMax<qsizetype>(1, frame.bytes.size()));
    } else {
        switch (frame.kind) {
        case Kind::Opening:
        case Kind::Ack: frame.answer = QByteArray(1, 0x06); break;
        case Kind::Identify: frame.answer = identification(); break;
        case Kind::Read:
            if (blockInImage(frame.address) && frame.bytes.at(3) == kBlock) {
                ++m_session.reads;
                frame.answer = QByteArray(1, 0x57) + frame.bytes.mid(1, 3) + m_memory.bytes(frame.address, kBlock);
            }
            break;
        case Kind::Write:
            if (blockInImage(frame.address) && frame.bytes.at(3) == kBlock) {
                ++m_session.writes;
                m_session.writtenAddresses.append(frame.address);
                QByteArray data = frame.bytes.mid(4);
                if (frame.address == m_faults.corruptBlock)
                    data[0] = static_cast<char>(data.at(0) ^ 0x01);
                m_memory.store(frame.address, data);
                frame.answer = QByteArray(1, 0x06);
            }
            break;
        case Kind::End:
        case Kind::Unknown: break;
        }
    }
    if (!frame.answer.isEmpty() && m_faults.strayByte)
        frame.answer.append('\0');
    m_session.bytesOut += frame.answer.size();
    // Kept with the frame: bytes that follow the end at once (a tool that
    // verifies right after a write) start the next session within the same
    // receive() and replace session().
    if (frame.sessionEnded)
        frame.endedSession = m_session;
}

} // namespace quillon
