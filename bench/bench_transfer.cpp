// Full reads and writes against quillon-radio-sim over a pseudo-terminal.
//  (a) unpaced: how long the program takes to answer each frame of the radio
//      (goal under 1 ms a round trip);
//  (b) paced at 9600 baud: transfer time over the wire-time lower bound of
//      the bytes exchanged at 10 bits a byte (goal at most 1.03).

#include "link/transfer_controller.h"
#include "serial_port.h"
#include "common/app_context.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>

using namespace quillon;

namespace {

// The real port, counting what crosses it.
class CountingLink : public SerialLink {
public:
    CountingLink()
    {
        connect(&m_port, &SerialLink::bytesReceived, this, [this](const QByteArray &bytes) {
            received += bytes.size();
            emit bytesReceived(bytes);
        });
        connect(&m_port, &SerialLink::lost, this, &SerialLink::lost);
    }
    bool open(const QString &device, QString *reason) override { return m_port.open(device, reason); }
    void close() override { m_port.close(); }
    bool isOpen() const override { return m_port.isOpen(); }
    void send(const QByteArray &bytes) override
    {
        sent += bytes.size();
        ++frames;
        m_port.send(bytes);
    }
    void setReceiveThreshold(int bytes) override { m_port.setReceiveThreshold(bytes); }
    int receiveThreshold() const override { return m_port.receiveThreshold(); }
    void discardInput() override { m_port.discardInput(); }

    qint64 sent = 0;
    qint64 received = 0;
    int frames = 0;

private:
    SerialPort m_port;
};

class Radio {
public:
    explicit Radio(const QStringList &options)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(QUILLON_RADIO_SIM), options);
        m_process.waitForReadyRead(5000);
        m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed().mid(8);
    }
    ~Radio()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    QString device() const { return m_device; }
    // The radio's own measure of how long the program took to answer, in
    // microseconds a round trip, from its last "session end" line.
    double programTurnaroundUs()
    {
        while (m_process.waitForReadyRead(200))
            m_output += m_process.readAll();
        m_output += m_process.readAll();
        const auto matches = QRegularExpression(QStringLiteral("turnaround-us=([0-9.]+)")).globalMatch(QString::fromLocal8Bit(m_output));
        double last = -1;
        for (auto it = matches; it.hasNext();)
            last = it.next().captured(1).toDouble();
        return last;
    }

private:
    QProcess m_process;
    QString m_device;
    QByteArray m_output;
};

struct Run {
    double ms = 0;
    qint64 bytes = 0;
    int roundTrips = 0;
    bool ok = false;
};

Run transfer(AppContext &context, bool read, const QString &device)
{
    TransferController controller(context, nullptr);
    auto link = std::make_unique<CountingLink>();
    CountingLink *counter = link.get();
    controller.setLink(std::move(link));
    qputenv("QUILLON_SERIAL_PORTS", device.toLocal8Bit());
    QString reason;
    if (!controller.openPort(1, &reason)) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(device), qPrintable(reason));
        return {};
    }
    QElapsedTimer clock;
    clock.start();
    if (read)
        controller.readRadio();
    else
        controller.writeRadio();
    Run run;
    run.ms = clock.nsecsElapsed() / 1e6;
    run.bytes = counter->sent + counter->received;
    run.roundTrips = counter->frames - 1;   // the closing 0x45 waits for nothing
    run.ok = controller.lastEnd() == (read ? TransferEnd::ReadComplete : TransferEnd::WriteComplete);
    return run;
}

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Every transfer leaves an image in the radio history: not in the user's.
    const QTemporaryDir state;
    qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
    AppContext context;
    context.setResponder([](const QString &, int, const QString &) { return kAnswerOk; });
    constexpr double kWireMsPerByte = 10.0 * 1000.0 / 9600.0;
    constexpr int kRepeats = 5;
    bool ok = true;

    std::printf("(a) unpaced, %d runs each\n", kRepeats);
    for (const bool read : {true, false}) {
        Radio radio({});
        double bestPerTrip = 1e9;
        double atRadio = 0;
        for (int i = 0; i < kRepeats; ++i) {
            const Run run = transfer(context, read, radio.device());
            ok &= run.ok;
            bestPerTrip = std::min(bestPerTrip, run.ms / run.roundTrips);
            atRadio += radio.programTurnaroundUs();
        }
        std::printf("  %-5s round trip %.3f ms (best run, radio included); program turnaround seen by the radio %.3f ms"
                    "  [goal < 1 ms]\n",
                    read ? "read" : "write", bestPerTrip, atRadio / kRepeats / 1000.0);
    }

    std::printf("(b) paced at 9600 baud\n");
    for (const bool read : {true, false}) {
        Radio radio({QStringLiteral("--paced")});
        const Run run = transfer(context, read, radio.device());
        ok &= run.ok;
        const double bound = run.bytes * kWireMsPerByte;
        std::printf("  %-5s %.0f ms for %lld bytes, wire time %.0f ms, ratio %.4f  [goal <= 1.03]"
                    "; program turnaround seen by the radio %.3f ms\n",
                    read ? "read" : "write", run.ms, static_cast<long long>(run.bytes), bound, run.ms / bound,
                    radio.programTurnaroundUs() / 1000.0);
    }
    if (!ok)
        std::printf("a transfer did not complete\n");
    return ok ? 0 : 1;
}
