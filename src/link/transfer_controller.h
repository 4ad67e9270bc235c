#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace quillon {

class AppContext;

// Reads and writes the radio: port check, pending-edit commit, the modal
// progress window, the watchdog and the ends of a transfer.
class TransferController : public QObject {
    Q_OBJECT
public:
    TransferController(AppContext &context, QWidget *dialogParent, QObject *parent = nullptr);

    // Closes the current port and opens port number (1..16). On failure the
    // port stays closed and reason holds the system's words.
    bool openPort(int number, QString *reason = nullptr);
    void closePort();
    bool isPortOpen() const;
    int portNumber() const;
    // The device behind a port number ("/dev/ttyUSB0", "COM3").
    static QString deviceName(int number);

    void readRadio();
    void writeRadio();

private:
    AppContext &m_context;
    QWidget *m_dialogParent;
    int m_portNumber = 0;
};

} // namespace quillon
