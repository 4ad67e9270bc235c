#include "serial_port.h"

#include "i18n/link_texts.h"
#include "i18n/ui_texts.h"

#include <QFile>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QTimer>

#include <algorithm>
#include <tuple>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace quillon {

SerialPort::SerialPort(QObject *parent)
    : SerialLink(parent), m_port(std::make_unique<QSerialPort>())
{
    connect(m_port.get(), &QSerialPort::readyRead, this, &SerialPort::deliver);
    connect(m_port.get(), &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) { onError(error); });
}

SerialPort::~SerialPort() = default;

bool SerialPort::open(const QString &device, QString *reason)
{
    close();
    m_port->setPortName(device);
    m_port->setBaudRate(QSerialPort::Baud9600);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port->open(QIODevice::ReadWrite)) {
        if (reason)
            *reason = m_port->errorString();
        m_port->clearError();
        return false;
    }
    // Lines a pseudo-terminal lacks; failing to raise them is no reason to
    // refuse the port.
    m_port->setDataTerminalReady(true);
    m_port->setRequestToSend(true);
    m_port->clearError();
    m_threshold = 1;
    return true;
}

void SerialPort::close()
{
    if (m_port->isOpen())
        m_port->close();
    m_port->clearError();
}

bool SerialPort::isOpen() const
{
    return m_port->isOpen();
}

void SerialPort::send(const QByteArray &bytes)
{
    if (!m_port->isOpen() || bytes.isEmpty())
        return;
    m_port->write(bytes);
    // Out now, not at the next turn of the event loop: the radio waits.
    m_port->flush();
}

void SerialPort::setReceiveThreshold(int bytes)
{
    m_threshold = qMax(1, bytes);
    // Bytes that already wait count against the new threshold too; they are
    // handed over from the event loop, never from inside the caller.
    if (m_port->isOpen() && m_port->bytesAvailable() >= m_threshold && !m_deliveryQueued) {
        m_deliveryQueued = true;
        QTimer::singleShot(0, this, [this] {
            m_deliveryQueued = false;
            deliver();
        });
    }
}

void SerialPort::discardInput()
{
    if (!m_port->isOpen())
        return;
    m_port->clear(QSerialPort::Input);
    m_port->readAll();
}

void SerialPort::deliver()
{
    if (!m_port->isOpen() || m_port->bytesAvailable() < m_threshold)
        return;
    emit bytesReceived(m_port->readAll());
}

void SerialPort::onError(int error)
{
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
        break;
    default:
        return;   // open failures are reported by open(); the rest is harmless
    }
    if (!m_port->isOpen())
        return;
    const QString reason = m_port->errorString();
    // Close outside QSerialPort's own signal emission.
    QTimer::singleShot(0, this, [this, reason] {
        if (!m_port->isOpen())
            return;
        close();
        emit lost(reason);
    });
}

namespace {

bool isUsbAdapter(const QString &device)
{
    const QString name = device.mid(device.lastIndexOf(QLatin1Char('/')) + 1);
    return name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM"))
        || name.startsWith(QLatin1String("cu.usbserial"));
}

// A trailing number compares by value: ttyUSB2 before ttyUSB10.
bool naturalLess(const QString &a, const QString &b)
{
    const auto key = [](const QString &s) {
        qsizetype digits = s.size();
        while (digits > 0 && s.at(digits - 1).isDigit())
            --digits;
        return std::make_tuple(s.left(digits), s.mid(digits).toULongLong(), s);
    };
    return key(a) < key(b);
}

} // namespace

QStringList orderSerialDevices(QStringList devices)
{
    std::sort(devices.begin(), devices.end(), naturalLess);
    std::stable_partition(devices.begin(), devices.end(), isUsbAdapter);
    return devices;
}

namespace {

// The devices behind port numbers 1..16 (an empty text where there is none).
QStringList portDevices()
{
    QStringList devices;
#ifdef Q_OS_WIN
    for (int n = 1; n <= kPortCount; ++n)
        devices << QStringLiteral("COM%1").arg(n);
#else
    if (qEnvironmentVariableIsSet("QUILLON_SERIAL_PORTS")) {
        // Empty entries keep their place, so "a::c" leaves port 2 without a device.
        devices = qEnvironmentVariable("QUILLON_SERIAL_PORTS").split(QLatin1Char(':'));
    } else {
        for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
            devices.append(info.systemLocation());
        devices = orderSerialDevices(devices);
    }
#endif
    devices = devices.mid(0, kPortCount);
    while (devices.size() < kPortCount)
        devices.append(QString());
    return devices;
}

// Whether the user's permissions allow opening the device: a port that
// refuses a permitted user is held by someone else.
bool userMayOpen(const QString &device)
{
#ifdef Q_OS_UNIX
    return ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0;
#else
    Q_UNUSED(device);
    return true;   // "access denied" on Windows means another program has the port
#endif
}

PortDescription describe(int number, const QString &device, const QList<QSerialPortInfo> &known,
                         const QString &openDevice)
{
    PortDescription port;
    port.number = number;
    port.device = device;
    if (device.isEmpty())
        return port;
    for (const QSerialPortInfo &info : known) {
        if (info.systemLocation() != device && info.portName() != device)
            continue;
        port.description = info.description();
        port.manufacturer = info.manufacturer();
        if (info.hasVendorIdentifier())
            port.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            port.productId = info.productIdentifier();
        break;
    }
    if (device == openDevice) {
        port.state = PortDescription::State::OpenHere;
        return port;
    }
    QSerialPort probe;
    probe.setPortName(device);
    if (probe.open(QIODevice::ReadWrite)) {
        probe.close();
        port.state = PortDescription::State::Available;
        return port;
    }
    port.reason = probe.errorString();
    switch (probe.error()) {
    case QSerialPort::DeviceNotFoundError: port.state = PortDescription::State::Missing; break;
    case QSerialPort::PermissionError:
        port.state = userMayOpen(device) ? PortDescription::State::Busy : PortDescription::State::NotPermitted;
        break;
    default: port.state = PortDescription::State::Unusable; break;
    }
    return port;
}

QString hex4(quint16 value)
{
    return QString::number(value, 16).rightJustified(4, u'0');
}

} // namespace

QString serialDeviceName(int number)
{
    if (number < 1 || number > kPortCount)
        return {};
    return portDevices().at(number - 1);
}

PortDescription describePort(int number, const QString &openDevice)
{
    return describe(number, serialDeviceName(number), QSerialPortInfo::availablePorts(), openDevice);
}

QList<PortDescription> describePorts(const QString &openDevice)
{
    const QStringList devices = portDevices();
    const QList<QSerialPortInfo> known = QSerialPortInfo::availablePorts();
    QList<PortDescription> ports;
    for (int n = 1; n <= kPortCount; ++n)
        ports.append(describe(n, devices.at(n - 1), known, openDevice));
    return ports;
}

QString portAdapterText(const PortDescription &port)
{
    QStringList adapter;
    for (const QString &part : {port.description, port.manufacturer}) {
        if (!part.isEmpty() && !adapter.contains(part))
            adapter << part;
    }
    return adapter.join(QStringLiteral(", "));
}

QString portUsbIdText(const PortDescription &port, Language language)
{
    if (!port.vendorId || !port.productId)
        return {};
    return link_text::kPortUsbId.text(language).arg(hex4(*port.vendorId), hex4(*port.productId));
}

QString portStateText(const PortDescription &port, Language language)
{
    using State = PortDescription::State;
    QString state;
    switch (port.state) {
    case State::NoDevice: return {};
    case State::Available: state = link_text::kPortAvailable.text(language); break;
    case State::OpenHere: state = link_text::kPortOpenHere.text(language); break;
    case State::Busy: state = link_text::kPortBusy.text(language); break;
    case State::NotPermitted: state = link_text::kPortNotPermitted.text(language); break;
    case State::Missing: state = link_text::kPortMissing.text(language); break;
    case State::Unusable: state = link_text::kPortUnusable.text(language); break;
    }
    if (!port.reason.isEmpty())
        state += QStringLiteral(" (") + port.reason + u')';
    return state;
}

QString portPermissionHint(const PortDescription &port, Language language)
{
#ifdef Q_OS_LINUX
    if (port.state == PortDescription::State::NotPermitted)
        return link_text::kPortDialoutHint.text(language);
#else
    Q_UNUSED(port);
    Q_UNUSED(language);
#endif
    return {};
}

QString portDescriptionText(const PortDescription &port, Language language)
{
    if (port.state == PortDescription::State::NoDevice)
        return ui_text::kNoSerialDevice.text(language).arg(port.number);
    QStringList lines{port.device};
    QStringList adapter;
    for (const QString &part : {portAdapterText(port), portUsbIdText(port, language)}) {
        if (!part.isEmpty())
            adapter << part;
    }
    if (!adapter.isEmpty())
        lines << adapter.join(QStringLiteral(", "));
    lines << portStateText(port, language);
    const QString hint = portPermissionHint(port, language);
    if (!hint.isEmpty())
        lines << hint;
    return lines.join(u'\n');
}

} // namespace quillon
