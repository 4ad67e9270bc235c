#include "serial_port.h"

#include <QSerialPort>
#include <QSerialPortInfo>
#include <QTimer>

#include <algorithm>
#include <tuple>

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

QString serialDeviceName(int number)
{
    if (number < 1 || number > kPortCount)
        return {};
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    if (qEnvironmentVariableIsSet("QUILLON_SERIAL_PORTS")) {
        // Empty entries keep their place, so "a::c" leaves port 2 without a device.
        const QStringList paths = qEnvironmentVariable("QUILLON_SERIAL_PORTS").split(QLatin1Char(':'));
        return number <= paths.size() ? paths.at(number - 1) : QString();
    }
    QStringList devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        devices.append(info.systemLocation());
    devices = orderSerialDevices(devices);
    return number <= devices.size() ? devices.at(number - 1) : QString();
#endif
}

} // namespace quillon
