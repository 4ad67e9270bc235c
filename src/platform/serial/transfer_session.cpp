#include "transfer_session.h"

#include "i18n/ui_texts.h"
#include "serial_port.h"

#include <QDateTime>
#include <QEventLoop>
#include <QThread>

namespace quillon {

namespace {
// A write has sent a block once it is past the acceptance of the identification.
constexpr int kFirstStepAfterABlock = 4;
// Long enough for a radio to answer the last frame of the previous transfer.
constexpr qint64 kSettleAfterEndMs = 500;
}

TransferSession::TransferSession(QObject *parent)
    : QObject(parent), m_protocol(m_received, m_writeImage), m_watchdog(this)
{
    m_watchdog.setObjectName(QStringLiteral("TimerW"));
    m_watchdog.setInterval(kWatchdogIntervalMs);
    m_watchdog.setTimerType(Qt::PreciseTimer);
    connect(&m_watchdog, &QTimer::timeout, this, &TransferSession::onWatchdogTick);
    m_clock.start();
    setLink(std::make_unique<SerialPort>());
}

TransferSession::~TransferSession() = default;

void TransferSession::setLink(std::unique_ptr<SerialLink> link)
{
    if (m_link)
        m_link->close();
    m_link = std::move(link);
    m_device.clear();
    connect(m_link.get(), &SerialLink::bytesReceived, this, &TransferSession::onBytes);
    connect(m_link.get(), &SerialLink::lost, this, &TransferSession::onLinkLost);
}

bool TransferSession::openPort(int number, QString *reason, Language language)
{
    m_link->close();
    m_portNumber = number;
    m_portLost = false;
    // Kept even when the open fails: the status bar names the device that
    // could not be opened without asking the system for its devices again.
    m_portDevice = serialDeviceName(number);
    m_device.clear();
    if (m_portDevice.isEmpty()) {
        if (reason)
            *reason = ui_text::kNoSerialDevice.text(language).arg(number);
        return false;
    }
    if (!m_link->open(m_portDevice, reason))
        return false;
    m_device = m_portDevice;
    return true;
}

bool TransferSession::openDevice(const QString &device, QString *reason)
{
    m_link->close();
    m_portNumber = 0;
    m_portLost = false;
    m_portDevice = device;
    m_device.clear();
    if (!m_link->open(device, reason))
        return false;
    m_device = device;
    return true;
}

void TransferSession::closePort()
{
    m_link->close();
    m_portLost = false;
    m_device.clear();
}

bool TransferSession::isPortOpen() const
{
    return m_link->isOpen();
}

QString TransferSession::openDeviceName() const
{
    return m_link->isOpen() ? m_device : QString();
}

bool TransferSession::ensurePortOpen()
{
    if (!m_link->isOpen() && m_portLost) {
        const QString lost = m_device;
        if (m_portNumber > 0)
            openPort(m_portNumber);
        else
            openDevice(lost);
    }
    return m_link->isOpen();
}

bool TransferSession::begin(TransferKind kind)
{
    if (m_protocol.isActive() || !m_link->isOpen())
        return false;
    m_lastEnd.reset();
    m_kind = kind;
    // A transfer ends on a frame whose answer it does not wait for; one
    // started right behind it would take that late answer for its own first
    // acknowledgement. The radio gets a moment to say it, then whatever waits
    // in the port predates "PROGRAM" and answers nothing of ours.
    if (m_sinceEnd.isValid() && m_sinceEnd.elapsed() < kSettleAfterEndMs)
        QThread::msleep(static_cast<unsigned long>(kSettleAfterEndMs - m_sinceEnd.elapsed()));
    m_link->discardInput();
    m_startMs = now();
    const QString port = m_portNumber > 0 ? QStringLiteral("port %1 (%2)").arg(m_portNumber).arg(m_device) : m_device;
    m_trace.begin(kind, QDateTime::currentDateTime(), port);
    return true;
}

bool TransferSession::startRead()
{
    if (!begin(TransferKind::Read))
        return false;
    apply(m_protocol.startRead(now()));
    return true;
}

bool TransferSession::startWrite(const WriteSettings &settings, const std::function<MemoryImage()> &image)
{
    if (!begin(TransferKind::Write))
        return false;
    m_writeSettings = settings;
    apply(m_protocol.startWrite(settings, now()));
    // "PROGRAM" is on its way; the answer is handled only once the event
    // loop runs, by then the image is complete.
    m_writeImage = image();
    return true;
}

std::optional<TransferEnd> TransferSession::waitForEnd()
{
    if (m_protocol.isActive()) {
        QEventLoop loop;
        connect(this, &TransferSession::finished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return m_lastEnd;
}

void TransferSession::apply(const TransferAction &action)
{
    if (action.progress)
        emit progress(action.progress);
    if (action.threshold)
        m_link->setReceiveThreshold(action.threshold);
    if (!action.send.isEmpty()) {
        m_trace.sent(sinceStart(), m_protocol.step(), action.send);
        m_link->send(action.send);
    }
    if (m_protocol.watchdogEnabled()) {
        if (!m_watchdog.isActive())
            m_watchdog.start();
    } else {
        m_watchdog.stop();
    }
    if (action.askForcedWrite) {
        // Asked from the event loop, not from inside the port's signal.
        QTimer::singleShot(0, this, &TransferSession::askForcedWrite);
    }
    if (action.end) {
        if (m_kind == TransferKind::Write && m_protocol.step() >= kFirstStepAfterABlock)
            m_lastWritten = Written{m_writeImage, m_writeSettings.calibrationMode};
        m_trace.end(*action.end);
        m_lastEnd = action.end;
        m_sinceEnd.start();
        emit finished(*action.end);
    }
}

void TransferSession::askForcedWrite()
{
    if (m_protocol.awaitingAnswer())
        emit forcedWriteQuestion();   // the port may have gone away before
}

void TransferSession::answerForcedWrite(bool ok)
{
    apply(m_protocol.answerForcedWrite(ok, now()));
}

void TransferSession::onBytes(const QByteArray &bytes)
{
    if (m_protocol.isActive())
        m_trace.received(sinceStart(), m_protocol.step(), bytes);
    const TransferAction action = m_protocol.onReceive(bytes, now());
    if (action.ackAcrossBoundary)
        m_trace.markAckAcrossBoundary();
    apply(action);
}

void TransferSession::onWatchdogTick()
{
    apply(m_protocol.watchdogTick(now()));
}

void TransferSession::onLinkLost()
{
    m_portLost = true;
    apply(m_protocol.linkLost());
}

} // namespace quillon
