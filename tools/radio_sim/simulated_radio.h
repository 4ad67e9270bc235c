#pragma once

#include "image/memory_image.h"

#include <QByteArray>
#include <QList>

namespace quillon {

// Faults the simulated radio can be told to commit.
struct RadioFaults {
    int silentAfter = -1;     // answer this many frames, then nothing until the next 0x45; -1 never
    bool wrongId = false;     // identify as another model
    bool strayByte = false;   // follow every answer with one extra byte
    int corruptBlock = -1;    // store a write of this block with bit 0 of its first byte flipped
    int garbageAfter = -1;    // answer this many frames, then lineGarbage() until the next 0x45 (once)
};

// What a new radio of band (0..9) holds: the defaults of a new image and a
// few channels inside the band, so that a first read shows something.
MemoryImage sampleMemory(int band);

// size bytes of line noise in which no "06" can be read, not even across bytes.
QByteArray lineGarbage(qsizetype size);

// Counters of one session, from "PROGRAM" to 0x45.
struct RadioSession {
    int frames = 0;
    int reads = 0;
    int writes = 0;
    qint64 bytesIn = 0;
    qint64 bytesOut = 0;
    QList<int> writtenAddresses;
};

// One complete frame from the programming tool and what the radio makes of it.
struct RadioFrame {
    enum class Kind { Opening, Identify, Ack, Read, Write, End, Unknown };
    Kind kind = Kind::Unknown;
    int number = 0;        // 1-based over the radio's lifetime
    int address = -1;      // Read and Write frames
    QByteArray bytes;
    QByteArray answer;     // empty: no answer
    bool sessionEnded = false;
    RadioSession endedSession;   // with sessionEnded: the counters of the session it closed
};

// The radio's side of the programming dialogue, without any I/O: bytes from
// the tool go in, the frames found and their answers come out. Write frames
// change the memory; the radio never checks which blocks a tool writes.
class SimulatedRadio {
public:
    SimulatedRadio(const MemoryImage &memory, int band, RadioFaults faults = {});

    QList<RadioFrame> receive(const QByteArray &bytes);

    const MemoryImage &memory() const { return m_memory; }
    bool inSession() const { return m_inSession; }
    // The running session, or the last one once it has ended.
    const RadioSession &session() const { return m_session; }
    QByteArray identification() const;

private:
    // Takes the frame at the head of m_pending; false when it is incomplete.
    bool takeFrame(RadioFrame &frame);
    void answer(RadioFrame &frame);

    MemoryImage m_memory;
    int m_band;
    RadioFaults m_faults;
    QByteArray m_pending;
    bool m_inSession = false;
    bool m_silent = false;
    bool m_silenceUsed = false;
    bool m_garbage = false;
    bool m_garbageUsed = false;
    int m_frameCount = 0;
    RadioSession m_session;
};

} // namespace quillon
