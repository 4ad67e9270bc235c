#pragma once

#include "radio_sim/simulated_radio.h"

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>

#include <chrono>
#include <deque>
#include <memory>

namespace quillon {

// How the simulated radio behaves on the line.
struct LineOptions {
    bool paced = false;      // one byte every 1/960 s, both directions
    int delayMs = 0;         // before every answer
    int delayCount = -1;     // ...of the first delayCount frames only; -1 all
    int delayOnceMs = 0;     // before the answer to frame delayAt only
    int delayAt = -1;
    int lateEndAnswerMs = 0; // the answer to 0x45 this late, after the answers to the frames behind it
    bool split = false;      // every answer in two writes, a short pause between
    int cutAfter = -1;       // answer this many frames, then close the line for good
    int floodAfter = -1;     // answer this many frames, then only noise, as fast as the line takes it, until 0x45
    bool verbose = false;    // log every frame
    QString memoryFile;      // saved after every session that wrote blocks
};

// Puts a SimulatedRadio on the master side of a pseudo-terminal. The tool
// under test opens the slave device like any serial port.
class PtyRadio : public QObject {
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;

    PtyRadio(SimulatedRadio &radio, LineOptions options, QObject *parent = nullptr);
    ~PtyRadio() override;

    bool open(QString *error);
    QString devicePath() const { return m_devicePath; }

private:
    struct Answer {
        QByteArray bytes;
        Clock::time_point notBefore;
    };

    void onReadable();
    void handleFrames(const QList<RadioFrame> &frames, Clock::time_point ready);
    void sendDueAnswers();
    void transmit(const QByteArray &bytes, Clock::time_point start);
    void writeAll(const QByteArray &bytes);
    void endSession(const RadioSession &session);
    void cutLine();
    void flood();

    SimulatedRadio &m_radio;
    LineOptions m_options;
    int m_master = -1;
    int m_slave = -1;   // held so the master survives the tool closing its side
    QString m_devicePath;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::deque<Answer> m_answers;
    QTimer m_timer;
    QTimer m_floodTimer;
    bool m_flooding = false;
    qint64 m_floodBytes = 0;
    Clock::time_point m_rxDone{};
    Clock::time_point m_lastAnswerDone{};
    bool m_awaitingTool = false;
    qint64 m_turnaroundNs = 0;
    int m_turnarounds = 0;
};

} // namespace quillon
