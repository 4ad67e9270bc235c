#include "link/transfer_controller.h"

#include "i18n/ui_texts.h"
#include "link/progress_window.h"
#include "serial_port.h"
#include "common/app_context.h"

namespace quillon {

namespace {
constexpr int kWatchdogIntervalMs = 50;
}

TransferController::TransferController(AppContext &context, QWidget *dialogParent, QObject *parent)
    : QObject(parent),
      m_context(context),
      m_dialogParent(dialogParent),
      m_protocol(m_received, context.workspace().writeImage)
{
    m_watchdog.setParent(this);
    m_watchdog.setObjectName(QStringLiteral("TimerW"));
    m_watchdog.setInterval(kWatchdogIntervalMs);
    m_watchdog.setTimerType(Qt::PreciseTimer);
    connect(&m_watchdog, &QTimer::timeout, this, &TransferController::onWatchdogTick);
    m_clock.start();
    setLink(std::make_unique<SerialPort>());
}

TransferController::~TransferController() = default;

void TransferController::setLink(std::unique_ptr<SerialLink> link)
{
    if (m_link)
        m_link->close();
    m_link = std::move(link);
    connect(m_link.get(), &SerialLink::bytesReceived, this, &TransferController::onBytes);
    connect(m_link.get(), &SerialLink::lost, this, &TransferController::onLinkLost);
}

bool TransferController::openPort(int number, QString *reason)
{
    m_link->close();
    m_portNumber = number;
    m_portLost = false;
    m_device = deviceName(number);
    const QString &device = m_device;
    if (device.isEmpty()) {
        if (reason)
            *reason = ui_text::kNoSerialDevice.text(m_context.language()).arg(number);
        return false;
    }
    return m_link->open(device, reason);
}

void TransferController::closePort()
{
    m_link->close();
    m_portLost = false;
}

bool TransferController::isPortOpen() const
{
    return m_link->isOpen();
}

int TransferController::portNumber() const
{
    return m_portNumber;
}

QString TransferController::deviceName(int number)
{
    return serialDeviceName(number);
}

void TransferController::readRadio()
{
    run(TransferKind::Read);
}

void TransferController::writeRadio()
{
    run(TransferKind::Write);
}

bool TransferController::ensurePortOpen()
{
    // A cable pulled during an earlier transfer closed the port; once it is
    // back the user should not have to choose the port again.
    if (!m_link->isOpen() && m_portLost && openPort(m_portNumber))
        return true;
    return m_link->isOpen();
}

void TransferController::run(TransferKind kind)
{
    if (m_protocol.isActive())
        return;   // the modal window already keeps a second transfer out
    m_lastEnd.reset();
    if (!ensurePortOpen()) {
        m_context.showMessage(Message::SerialPortInvalid);
        return;
    }
    m_context.commitPendingEdits();
    // Whatever waits in the port predates "PROGRAM" and answers nothing of ours.
    m_link->discardInput();

    const Workspace &workspace = m_context.workspace();
    ProgressWindow window(m_dialogParent);
    window.begin(kind, m_context.language());
    m_window = &window;
    if (kind == TransferKind::Read) {
        apply(m_protocol.startRead(now()));
    } else {
        WriteSettings settings;
        settings.bandIndex = workspace.band.index;
        settings.forcedWriteMode = workspace.modes.isOn(HiddenMode::ForcedWrite);
        settings.calibrationMode = workspace.modes.isOn(HiddenMode::Calibration);
        apply(m_protocol.startWrite(settings, now()));
        // "PROGRAM" is on its way; the radio's answer is handled only once
        // the event loop runs, by then the image is complete.
        m_context.document().encode();
    }
    if (m_protocol.isActive())
        window.exec();
    m_window = nullptr;

    if (!m_lastEnd)
        return;
    const TransferEnd end = *m_lastEnd;
    if (const std::optional<Message> message = endMessage(end))
        m_context.showMessage(*message);
    if (end == TransferEnd::ReadComplete)
        m_context.document().readCompleted(m_received);
    else if (end == TransferEnd::WriteComplete)
        m_context.document().markClean();
}

void TransferController::apply(const TransferAction &action)
{
    if (action.progress && m_window)
        m_window->setStep(action.progress);
    if (action.threshold)
        m_link->setReceiveThreshold(action.threshold);
    if (!action.send.isEmpty())
        m_link->send(action.send);
    if (m_protocol.watchdogEnabled()) {
        if (!m_watchdog.isActive())
            m_watchdog.start();
    } else {
        m_watchdog.stop();
    }
    if (action.askForcedWrite) {
        // Asked from the event loop, not from inside the port's signal.
        QTimer::singleShot(0, this, &TransferController::askForcedWrite);
    }
    if (action.end) {
        m_lastEnd = action.end;
        if (m_window)
            m_window->finish();
    }
}

void TransferController::askForcedWrite()
{
    if (!m_protocol.awaitingAnswer())
        return;   // the port went away before the question came up
    const bool ok = m_context.showMessage(Message::ForcedWrite) == kAnswerOk;
    apply(m_protocol.answerForcedWrite(ok, now()));
}

void TransferController::onBytes(const QByteArray &bytes)
{
    apply(m_protocol.onReceive(bytes, now()));
}

void TransferController::onWatchdogTick()
{
    apply(m_protocol.watchdogTick(now()));
}

void TransferController::onLinkLost()
{
    m_portLost = true;
    apply(m_protocol.linkLost());
}

} // namespace quillon
