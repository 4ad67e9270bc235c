#include "files/dat_file.h"
#include "image/address_map.h"
#include "link/progress_window.h"
#include "link/transfer_controller.h"
#include "serial_port.h"
#include "common/app_context.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;

Q_DECLARE_METATYPE(quillon::TransferEnd)
Q_DECLARE_METATYPE(QList<quillon::Message>)

namespace {

MemoryImage patternImage()
{
    MemoryImage image;
    for (int a = 0; a < kImageSize; ++a)
        image.set(a, static_cast<std::uint8_t>((a * 13 + (a >> 8)) % 251));
    image.set(kBandIndex, 7);   // a decode would select band 7
    return image;
}

// quillon-radio-sim as a child process, with its memory in a temporary file.
class Radio {
public:
    Radio(const QStringList &options, const MemoryImage &memory)
    {
        m_memoryFile = m_dir.filePath(QStringLiteral("radio.dat"));
        saveDatFile(m_memoryFile, memory);
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process, [this] {
            while (m_process.canReadLine())
                m_lines.append(QString::fromLocal8Bit(m_process.readLine()).trimmed());
        });
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(QUILLON_RADIO_SIM),
                        options + QStringList{QStringLiteral("--memory"), m_memoryFile});
    }
    ~Radio()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

    // The slave device the radio listens on; empty when it did not start.
    QString device()
    {
        waitForLine(QStringLiteral("device: "));
        return m_lines.isEmpty() ? QString() : m_lines.first().mid(8);
    }
    bool waitForLine(const QString &prefix, int count = 1)
    {
        return QTest::qWaitFor([&] { return linesStartingWith(prefix) >= count; }, 10000);
    }
    int linesStartingWith(const QString &prefix) const
    {
        return int(std::count_if(m_lines.begin(), m_lines.end(), [&](const QString &l) { return l.startsWith(prefix); }));
    }
    QString lastSessionEnd() const
    {
        for (auto it = m_lines.rbegin(); it != m_lines.rend(); ++it)
            if (it->startsWith(QLatin1String("session end")))
                return *it;
        return {};
    }
    MemoryImage savedMemory() const
    {
        MemoryImage image;
        loadDatFile(m_memoryFile, image);
        return image;
    }
    void kill() { m_process.kill(); }

private:
    QTemporaryDir m_dir;
    QString m_memoryFile;
    QProcess m_process;
    QStringList m_lines;
};

struct Shown {
    QString text;
    int style;
    QString caption;
};

// The program's side: workspace, message responder, controller on port 1.
struct Program {
    Program()
    {
        context.setResponder([this](const QString &text, int style, const QString &caption) {
            messages.append({text, style, caption});
            if (onMessage)
                return onMessage(text);
            return kAnswerOk;
        });
    }
    bool connectTo(Radio &radio)
    {
        qputenv("QUILLON_SERIAL_PORTS", radio.device().toLocal8Bit());
        return controller.openPort(1, &openError);
    }
    QString messageText(Message m) const { return quillon::messageText(m, context.language()).text; }
    QStringList texts() const
    {
        QStringList list;
        for (const Shown &s : messages)
            list << s.text;
        return list;
    }

    AppContext context;
    TransferController controller{context, nullptr};
    QList<Shown> messages;
    std::function<int(const QString &)> onMessage;
    QString openError;
};

} // namespace

class TestRadioLink : public QObject {
    Q_OBJECT
private slots:
    void portNumbering_data();
    void portNumbering();
    void usbAdaptersCountFirst();
    void openFailureKeepsTheReason();
    void noPortNoTransfer();
    void fullRead_data();
    void fullRead();
    void fullWrite_data();
    void fullWrite();
    void portClosedAndOpenedAgain();
    void bandMismatch_data();
    void bandMismatch();
    void silentRadioThenNextTransferWorks();
    void slowAnswer_data();
    void slowAnswer();
    void radioVanishesMidRead();
};

void TestRadioLink::portNumbering_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("device");
    QTest::newRow("first") << "/dev/pts/4:/dev/ttyUSB0" << 1 << "/dev/pts/4";
    QTest::newRow("second") << "/dev/pts/4:/dev/ttyUSB0" << 2 << "/dev/ttyUSB0";
    QTest::newRow("past the list") << "/dev/pts/4:/dev/ttyUSB0" << 3 << "";
    QTest::newRow("empty entry keeps its place") << "/dev/a::/dev/c" << 3 << "/dev/c";
    QTest::newRow("empty entry is no device") << "/dev/a::/dev/c" << 2 << "";
    QTest::newRow("port 0") << "/dev/a" << 0 << "";
    QTest::newRow("port 17") << QString(20, QLatin1Char(':')) + "/dev/x" << 17 << "";
}

void TestRadioLink::portNumbering()
{
    QFETCH(QString, list);
    QFETCH(int, number);
    qputenv("QUILLON_SERIAL_PORTS", list.toLocal8Bit());
    QTEST(TransferController::deviceName(number), "device");
}

void TestRadioLink::usbAdaptersCountFirst()
{
    const QStringList system{"/dev/ttyS1", "/dev/ttyUSB10", "/dev/ttyS0", "/dev/ttyACM0",
                             "/dev/ttyUSB2", "/dev/cu.usbserial-1420", "/dev/ttyS10", "/dev/ttyS2"};
    const QStringList ordered{"/dev/cu.usbserial-1420", "/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyUSB10",
                              "/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS10"};
    QCOMPARE(orderSerialDevices(system), ordered);
}

void TestRadioLink::openFailureKeepsTheReason()
{
    Program p;
    qputenv("QUILLON_SERIAL_PORTS", "/dev/quillon-no-such-device");
    QString reason;
    QVERIFY(!p.controller.openPort(1, &reason));
    QVERIFY(!reason.isEmpty());
    QVERIFY(!p.controller.isPortOpen());
    QCOMPARE(p.controller.portNumber(), 1);
}

void TestRadioLink::noPortNoTransfer()
{
    Program p;
    QSignalSpy edits(&p.context, &AppContext::pendingEditsRequested);
    bool windowShown = false;
    p.onMessage = [&](const QString &) {
        for (QWidget *w : QApplication::topLevelWidgets())
            windowShown |= w->objectName() == QLatin1String("FrmWriting") && w->isVisible();
        return kAnswerOk;
    };
    p.controller.readRadio();
    p.controller.writeRadio();
    const QString invalid = p.messageText(Message::SerialPortInvalid);
    QCOMPARE(p.texts(), (QStringList{invalid, invalid}));
    QCOMPARE(p.messages.first().caption, QStringLiteral("Quillon"));
    QCOMPARE(p.messages.first().style, kStyleOk);
    QCOMPARE(edits.count(), 0);
    QVERIFY(!windowShown);
    QVERIFY(!p.controller.lastEnd());
}

void TestRadioLink::fullRead_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::newRow("plain") << QStringList{};
    // Every answer in two parts: the threshold must hold the handler back
    // until a whole block is there.
    QTest::newRow("split answers") << QStringList{"--split"};
}

void TestRadioLink::fullRead()
{
    QFETCH(QStringList, options);
    const MemoryImage memory = patternImage();
    Radio radio(options, memory);
    Program p;
    QVERIFY2(p.connectTo(radio), qPrintable(p.openError));
    QSignalSpy reset(&p.context.document(), &Document::changed);
    QSignalSpy edits(&p.context, &AppContext::pendingEditsRequested);

    QList<int> steps;
    QString title, label;
    int maximum = 0;
    QTimer::singleShot(0, &p.controller, [&] {
        ProgressWindow *window = p.controller.progressWindow();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->objectName(), QStringLiteral("FrmWriting"));
        title = window->windowTitle();
        label = window->findChild<QLabel *>(QStringLiteral("Label1"))->text();
        auto *bar = window->findChild<QProgressBar *>(QStringLiteral("ProgressBar1"));
        maximum = bar->maximum();
        QObject::connect(bar, &QProgressBar::valueChanged, window, [&](int v) { steps.append(v); });
        // Escape cannot cancel a transfer.
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(window->isVisible());
    });
    p.controller.readRadio();

    QCOMPARE(p.controller.lastEnd(), TransferEnd::ReadComplete);
    // decodeImage may touch 0x0717 only.
    MemoryImage expected = memory;
    expected.set(kOptionRest, p.context.workspace().readImage.at(kOptionRest));
    QVERIFY(p.context.workspace().readImage == expected);
    QCOMPARE(p.context.workspace().band.index, 7);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(edits.count(), 1);
    QCOMPARE(p.texts(), QStringList{p.messageText(Message::ReadSucceeded)});
    QCOMPARE(p.messages.first().style, kStyleInformation);
    QCOMPARE(title, QStringLiteral("Reading……"));
    QCOMPARE(label, QStringLiteral("Reading frequently, please wait a moment."));
    QCOMPARE(maximum, 195);
    QVERIFY(!steps.isEmpty());
    QCOMPARE(steps.last(), 195);
    QVERIFY(std::is_sorted(steps.begin(), steps.end()));
    QVERIFY(!p.controller.progressWindow());
    // The radio heard the end twice: the first closed its session.
    QVERIFY(radio.waitForLine(QStringLiteral("session end")));
    QVERIFY(radio.lastSessionEnd().contains(QLatin1String("reads=192")));
}

void TestRadioLink::fullWrite_data()
{
    QTest::addColumn<bool>("calibrationMode");
    QTest::newRow("calibration mode off") << false;
    QTest::newRow("calibration mode on") << true;
}

void TestRadioLink::fullWrite()
{
    QFETCH(bool, calibrationMode);
    const MemoryImage before = patternImage();
    Radio radio({}, before);
    Program p;
    p.context.document().setLanguage(Language::Chinese);
    QVERIFY2(p.connectTo(radio), qPrintable(p.openError));
    const Workspace &ws = p.context.workspace();
    if (calibrationMode) {
        for (int step = 0; step < 3; ++step)
            p.context.document().modes().clickCaption(HiddenMode::Calibration, step, 100);
        QVERIFY(ws.modes.isOn(HiddenMode::Calibration));
    }
    // A name typed into the grid and not yet committed goes to the radio.
    QObject::connect(&p.context, &AppContext::pendingEditsRequested, &p.context,
                     [&] { p.context.document().commitName(1, QStringLiteral("PENDING")); });
    QString title;
    QTimer::singleShot(0, &p.controller, [&] { title = p.controller.progressWindow()->windowTitle(); });
    p.controller.writeRadio();

    QCOMPARE(p.controller.lastEnd(), TransferEnd::WriteComplete);
    QCOMPARE(p.texts(), QStringList{p.messageText(Message::WriteSucceeded)});
    QCOMPARE(title, QStringLiteral("正在写入……"));
    QVERIFY(radio.waitForLine(QStringLiteral("saved")));
    QVERIFY(radio.lastSessionEnd().contains(calibrationMode ? QLatin1String("writes=189") : QLatin1String("writes=188")));
    const MemoryImage after = radio.savedMemory();
    const MemoryImage &written = ws.writeImage;
    QCOMPARE(after.bytes(0, 0x07C0), written.bytes(0, 0x07C0));
    QCOMPARE(after.bytes(0x07C0, 0x30), before.bytes(0x07C0, 0x30));
    QCOMPARE(after.bytes(kCalibration, 16), (calibrationMode ? written : before).bytes(kCalibration, 16));
    QCOMPARE(after.bytes(0x0800, 0x0400), written.bytes(0x0800, 0x0400));
    QCOMPARE(after.bytes(kChannelNames.start, 7), QByteArray("PENDING"));
}

void TestRadioLink::portClosedAndOpenedAgain()
{
    // The read selects the image's band 7, the radio's own band.
    Radio radio({"--band", "7"}, patternImage());
    Program p;
    QVERIFY2(p.connectTo(radio), qPrintable(p.openError));
    p.controller.readRadio();
    QCOMPARE(p.controller.lastEnd(), TransferEnd::ReadComplete);
    p.controller.closePort();
    QVERIFY(!p.controller.isPortOpen());
    p.controller.writeRadio();
    QVERIFY(!p.controller.lastEnd());
    QVERIFY(p.controller.openPort(1));
    p.controller.writeRadio();
    QCOMPARE(p.controller.lastEnd(), TransferEnd::WriteComplete);
}

void TestRadioLink::bandMismatch_data()
{
    QTest::addColumn<bool>("forcedWriteMode");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("thinkMs");
    QTest::addColumn<TransferEnd>("end");
    QTest::addColumn<QList<Message>>("messages");
    QTest::newRow("refused") << false << 0 << 0 << TransferEnd::BandMismatch
                             << QList<Message>{Message::BandMismatch};
    // The user takes longer than the watchdog's limit: it must not count.
    QTest::newRow("forced, OK after 3.3 s") << true << kAnswerOk << 3300 << TransferEnd::WriteComplete
                                            << QList<Message>{Message::ForcedWrite, Message::WriteSucceeded};
    QTest::newRow("forced, Cancel") << true << kAnswerCancel << 0 << TransferEnd::ForcedWriteCancelled
                                    << QList<Message>{Message::ForcedWrite};
}

void TestRadioLink::bandMismatch()
{
    QFETCH(bool, forcedWriteMode);
    QFETCH(int, answer);
    QFETCH(int, thinkMs);
    QFETCH(TransferEnd, end);
    QFETCH(QList<Message>, messages);
    Radio radio({"--band", "5"}, patternImage());
    Program p;
    QVERIFY2(p.connectTo(radio), qPrintable(p.openError));
    for (int step = 0; forcedWriteMode && step < 3; ++step)
        p.context.document().modes().clickCaption(HiddenMode::ForcedWrite, step, 100);
    const QString question = p.messageText(Message::ForcedWrite);
    p.onMessage = [&](const QString &text) {
        if (text != question)
            return kAnswerOk;
        QTest::qWait(thinkMs);
        return answer;
    };
    p.controller.writeRadio();

    QCOMPARE(p.controller.lastEnd(), end);
    QStringList expected;
    for (Message m : messages)
        expected << p.messageText(m);
    QCOMPARE(p.texts(), expected);
    QCOMPARE(p.messages.first().style, forcedWriteMode ? kStyleQuestion : kStyleExclamation);
    // The radio was told the end either way; nothing written unless confirmed.
    QVERIFY(radio.waitForLine(QStringLiteral("session end")));
    QCOMPARE(radio.lastSessionEnd().contains(QLatin1String("writes=0")), end != TransferEnd::WriteComplete);
}

void TestRadioLink::silentRadioThenNextTransferWorks()
{
    const MemoryImage memory = patternImage();
    Radio radio({"--silent-after", "60"}, memory);
    Program p;
    QVERIFY2(p.connectTo(radio), qPrintable(p.openError));
    QSignalSpy reset(&p.context.document(), &Document::changed);
    p.controller.readRadio();

    QCOMPARE(p.controller.lastEnd(), TransferEnd::Timeout);
    QCOMPARE(p.texts(), QStringList{p.messageText(Message::CommunicationError)});
    QCOMPARE(p.messages.first().style, kStyleStop);
    QCOMPARE(reset.count(), 0);
    QCOMPARE(p.context.workspace().band.index, 0);
    // The watchdog's 0x45 reached the radio and ended its session.
    QVERIFY(radio.waitForLine(QStringLiteral("session end")));

    p.messages.clear();
    p.controller.readRadio();
    QCOMPARE(p.controller.lastEnd(), TransferEnd::ReadComplete);
    QCOMPARE(p.texts(), QStringList{p.messageText(Message::ReadSucceeded)});
    QCOMPARE(p.context.workspace().readImage.bytes(0, kOptionRest), memory.bytes(0, kOptionRest));
}

void TestRadioLink::slowAnswer_data()
{
    QTest::addColumn<QString>("pauseMs");
    QTest::addColumn<TransferEnd>("end");
    QTest::newRow("2.9 s") << "2900" << TransferEnd::ReadComplete;
    QTest::newRow("3.2 s") << "3200" << TransferEnd::Timeout;
}

void TestRadioLink::slowAnswer()
{
    QFETCH(QString, pauseMs);
    QFETCH(TransferEnd, end);
    Radio radio({"--delay-once-ms", pauseMs, "--delay-at", "100"}, patternImage());
    Program p;
    QVERIFY2(p.connectTo(radio), qPrintable(p.openError));
    p.controller.readRadio();
    QCOMPARE(p.controller.lastEnd(), end);
}

void TestRadioLink::radioVanishesMidRead()
{
    Radio radio({"--delay-once-ms", "20000", "--delay-at", "50"}, patternImage());
    Program p;
    QVERIFY2(p.connectTo(radio), qPrintable(p.openError));
    QSignalSpy reset(&p.context.document(), &Document::changed);
    QTimer::singleShot(300, &p.controller, [&] { radio.kill(); });
    p.controller.readRadio();

    QCOMPARE(p.controller.lastEnd(), TransferEnd::LinkLost);
    QCOMPARE(p.texts(), QStringList{p.messageText(Message::CommunicationError)});
    QCOMPARE(reset.count(), 0);
    QCOMPARE(p.context.workspace().band.index, 0);
    QVERIFY(!p.controller.isPortOpen());
    // The device is gone for good: the next command says so at once.
    p.messages.clear();
    p.controller.readRadio();
    QCOMPARE(p.texts(), QStringList{p.messageText(Message::SerialPortInvalid)});
}

QTEST_MAIN(TestRadioLink)
#include "tst_radio_link.moc"
