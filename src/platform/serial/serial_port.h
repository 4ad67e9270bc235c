#pragma once

#include "i18n/language.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QSerialPort;

namespace quillon {

// The line to the radio as the transfer sees it: bytes out, and a
// bytes-received event raised only once at least `threshold` bytes wait,
// handing over all of them.
class SerialLink : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual bool open(const QString &device, QString *reason) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual void send(const QByteArray &bytes) = 0;
    virtual void setReceiveThreshold(int bytes) = 0;
    virtual int receiveThreshold() const = 0;
    // Drops whatever has arrived and not been handed over yet.
    virtual void discardInput() = 0;

signals:
    void bytesReceived(const QByteArray &bytes);
    // The device vanished or failed (cable pulled); the link is closed.
    void lost(const QString &reason);
};

// 9600 baud, 8N1, no flow control, DTR and RTS raised while open: the
// programming cables draw their power from those two lines.
class SerialPort : public SerialLink {
    Q_OBJECT
public:
    explicit SerialPort(QObject *parent = nullptr);
    ~SerialPort() override;

    bool open(const QString &device, QString *reason) override;
    void close() override;
    bool isOpen() const override;
    void send(const QByteArray &bytes) override;
    void setReceiveThreshold(int bytes) override;
    int receiveThreshold() const override { return m_threshold; }
    void discardInput() override;

private:
    void deliver();
    void onError(int error);

    std::unique_ptr<QSerialPort> m_port;
    int m_threshold = 1;
    bool m_deliveryQueued = false;
};

inline constexpr int kPortCount = 16;

// The device behind port number 1..16; empty when there is none. Windows:
// "COMn". Elsewhere the n-th entry of the colon-separated list in
// QUILLON_SERIAL_PORTS when it is set, else the n-th serial device of the
// system with USB adapters first.
QString serialDeviceName(int number);

// The system's serial devices in the order port numbers count them: USB
// adapters first, each group in natural order (ttyUSB2 before ttyUSB10).
QStringList orderSerialDevices(QStringList devices);

// What stands behind a port number, for the port list's tool tips and the
// command line's port listing.
struct PortDescription {
    enum class State {
        NoDevice,      // no device has this number
        Available,     // it opened (and was closed again at once)
        OpenHere,      // this program holds it open
        Busy,          // another program holds it
        NotPermitted,  // the user may not open it
        Missing,       // the named device does not exist
        Unusable,      // it failed to open for another reason
    };
    int number = 0;
    QString device;
    QString description;    // the adapter's own description, when the system knows it
    QString manufacturer;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
    State state = State::NoDevice;
    QString reason;         // the system's words when it could not be opened
};

// Looks behind port number 1..16: the device, what the system knows of the
// adapter and, by opening it for a moment, whether it can be used. The
// device this program holds open (openDevice) is not touched.
PortDescription describePort(int number, const QString &openDevice = {});
// Ports 1..16.
QList<PortDescription> describePorts(const QString &openDevice = {});
// The parts of a port's description, for a listing in columns: the
// adapter's description and maker without repeats ("FT232R USB UART, FTDI");
// its USB id ("USB 0403:6001"); the state with the system's reason ("No such
// device (No such file or directory)"); on Linux, how to get the permission
// the port lacks. Each is empty where there is nothing to say.
QString portAdapterText(const PortDescription &port);
QString portUsbIdText(const PortDescription &port, Language language);
QString portStateText(const PortDescription &port, Language language);
QString portPermissionHint(const PortDescription &port, Language language);
// Lines for a person: the device; the adapter and its USB id; the state
// with the system's reason (and how to get the permission on Linux).
QString portDescriptionText(const PortDescription &port, Language language);

} // namespace quillon
