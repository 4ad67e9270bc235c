#include "radio_sim/pty_radio.h"

#include "files/dat_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace quillon {

namespace {

using namespace std::chrono;

// 10 bits a byte at 9600 baud.
constexpr auto kByteTime = duration_cast<PtyRadio::Clock::duration>(nanoseconds(1'041'667));
constexpr auto kSplitPause = milliseconds(5);
// Pauses longer than this wait on a timer; shorter ones (a frame's wire
// time) are waited out on the spot, which is far more precise.
constexpr auto kTimerThreshold = milliseconds(50);

void logLine(const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

} // namespace

PtyRadio::PtyRadio(SimulatedRadio &radio, LineOptions options, QObject *parent)
    : QObject(parent), m_radio(radio), m_options(std::move(options))
{
#ifdef __linux__
    // The default slack lets every sleep end up to 50 us late; pacing sleeps
    // once a byte.
    if (m_options.paced)
        ::prctl(PR_SET_TIMERSLACK, 1UL);
#endif
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &PtyRadio::sendDueAnswers);
    connect(&m_floodTimer, &QTimer::timeout, this, &PtyRadio::flood);
}

PtyRadio::~PtyRadio()
{
    m_notifier.reset();
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool PtyRadio::open(QString *error)
{
    const auto fail = [error](const char *what) {
        *error = QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    };
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return fail("posix_openpt");
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return fail("grantpt/unlockpt");
    const char *name = ::ptsname(m_master);
    if (!name)
        return fail("ptsname");
    m_devicePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0)
        return fail("open slave");
    termios raw{};
    if (::tcgetattr(m_slave, &raw) != 0)
        return fail("tcgetattr");
    ::cfmakeraw(&raw);
    ::cfsetispeed(&raw, B9600);
    ::cfsetospeed(&raw, B9600);
    if (::tcsetattr(m_slave, TCSANOW, &raw) != 0)
        return fail("tcsetattr");
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_notifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &PtyRadio::onReadable);
    return true;
}

void PtyRadio::onReadable()
{
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;   // EAGAIN: all taken; EIO cannot happen while m_slave is open
    }
    if (bytes.isEmpty())
        return;
    const Clock::time_point now = Clock::now();
    if (m_awaitingTool) {
        m_turnaroundNs += duration_cast<nanoseconds>(now - m_lastAnswerDone).count();
        ++m_turnarounds;
        m_awaitingTool = false;
    }
    Clock::time_point ready = now;
    if (m_options.paced) {
        // The tool's bytes took their wire time to arrive.
        m_rxDone = std::max(now, m_rxDone) + kByteTime * bytes.size();
        ready = m_rxDone;
    }
    handleFrames(m_radio.receive(bytes), ready);
}

void PtyRadio::handleFrames(const QList<RadioFrame> &frames, Clock::time_point ready)
{
    for (const RadioFrame &frame : frames) {
        if (frame.kind == RadioFrame::Kind::Opening) {
            m_turnaroundNs = 0;
            m_turnarounds = 0;
            logLine(QStringLiteral("session start"));
        }
        if (m_options.verbose)
            logLine(QString::asprintf("rx %d %s", frame.number, frame.bytes.toHex(' ').constData()));
        if (m_flooding && frame.kind == RadioFrame::Kind::End) {
            m_flooding = false;
            m_floodTimer.stop();
            logLine(QStringLiteral("flood end bytes=%1").arg(m_floodBytes));
        }
        if (!frame.answer.isEmpty() && !m_flooding && frame.kind == RadioFrame::Kind::End
            && m_options.lateEndAnswerMs > 0) {
            // Out of turn: the answers to the frames that follow do not wait for it.
            QTimer::singleShot(m_options.lateEndAnswerMs, this, [this, answer = frame.answer] {
                if (m_master >= 0)
                    transmit(answer, Clock::now());
            });
        } else if (!frame.answer.isEmpty() && !m_flooding) {
            auto notBefore = ready;
            if (m_options.delayCount < 0 || frame.number <= m_options.delayCount)
                notBefore += milliseconds(m_options.delayMs);
            if (frame.number == m_options.delayAt)
                notBefore += milliseconds(m_options.delayOnceMs);
            m_answers.push_back({frame.answer, notBefore});
        }
        if (frame.sessionEnded)
            endSession(frame.endedSession);
    }
    sendDueAnswers();
    for (const RadioFrame &frame : frames) {
        if (frame.number == m_options.cutAfter) {
            cutLine();
            return;
        }
        if (frame.number == m_options.floodAfter) {
            m_flooding = true;
            m_floodBytes = 0;
            logLine(QStringLiteral("flood start"));
            m_floodTimer.start(1);
        }
    }
}

void PtyRadio::cutLine()
{
    // Both ends of the master side go: the tool's device hangs up.
    m_notifier.reset();
    m_timer.stop();
    m_answers.clear();
    ::close(m_slave);
    ::close(m_master);
    m_slave = m_master = -1;
    logLine(QStringLiteral("line cut"));
}

void PtyRadio::flood()
{
    static const QByteArray noise = lineGarbage(64 * 1024);
    for (;;) {
        const ssize_t n = ::write(m_master, noise.constData(), noise.size());
        if (n <= 0)
            return;   // the line is full: the next turn of the timer goes on
        m_floodBytes += n;
    }
}

void PtyRadio::sendDueAnswers()
{
    while (!m_answers.empty()) {
        const Answer &next = m_answers.front();
        const auto wait = next.notBefore - Clock::now();
        if (wait > kTimerThreshold) {
            m_timer.start(static_cast<int>(duration_cast<milliseconds>(wait).count()));
            return;
        }
        transmit(next.bytes, next.notBefore);
        m_answers.pop_front();
    }
}

void PtyRadio::transmit(const QByteArray &bytes, Clock::time_point start)
{
    if (m_options.verbose)
        logLine(QString::asprintf("tx %s", bytes.toHex(' ').constData()));
    if (m_options.paced) {
        // Each byte leaves when its stop bit would have ended.
        start = std::max(start, Clock::now());
        const qsizetype half = m_options.split ? bytes.size() / 2 : -1;
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            if (i == half && half > 0)
                start += kSplitPause;
            std::this_thread::sleep_until(start + kByteTime * (i + 1));
            writeAll(bytes.mid(i, 1));
        }
    } else {
        std::this_thread::sleep_until(start);
        if (m_options.split && bytes.size() > 1) {
            writeAll(bytes.left(bytes.size() / 2));
            std::this_thread::sleep_for(kSplitPause);
            writeAll(bytes.mid(bytes.size() / 2));
        } else {
            writeAll(bytes);
        }
    }
    m_lastAnswerDone = Clock::now();
    m_awaitingTool = true;
}

void PtyRadio::writeAll(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, bytes.size() - done);
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            // Nobody reads the other side: wait a little, then give up on it.
            pollfd pfd{m_master, POLLOUT, 0};
            if (::poll(&pfd, 1, 200) <= 0) {
                std::fprintf(stderr, "line full, %lld bytes dropped\n", static_cast<long long>(bytes.size() - done));
                return;
            }
        } else {
            return;
        }
    }
}

void PtyRadio::endSession(const RadioSession &s)
{
    const double turnaroundUs = m_turnarounds ? m_turnaroundNs / 1000.0 / m_turnarounds : 0.0;
    m_awaitingTool = false;
    logLine(QString::asprintf(
        "session end frames=%d reads=%d writes=%d bytes-in=%lld bytes-out=%lld turnarounds=%d turnaround-us=%.1f",
        s.frames, s.reads, s.writes, static_cast<long long>(s.bytesIn), static_cast<long long>(s.bytesOut),
        m_turnarounds, turnaroundUs));
    if (s.writes == 0 || m_options.memoryFile.isEmpty())
        return;
    const DatResult result = saveDatFile(m_options.memoryFile, m_radio.memory());
    if (result.status == DatStatus::Ok)
        logLine(QStringLiteral("saved ") + m_options.memoryFile);
    else
        std::fprintf(stderr, "cannot save %s: %s\n", qPrintable(m_options.memoryFile), qPrintable(result.systemReason));
}

} // namespace quillon
