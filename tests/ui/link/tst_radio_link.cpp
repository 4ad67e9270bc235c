#include "support/radio_process.h"
#include "support/widget_fixture.h"

#include "files/dat_file.h"
#include "image/address_map.h"
#include "link/progress_window.h"
#include "link/transfer_controller.h"
#include "serial_port.h"
#include "common/app_context.h"
#include "radio_sim/simulated_radio.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

#include <utility>

using namespace quillon;
using namespace quillon::test;

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

// The program's side: workspace, message recorder, controller on port 1.
struct Program : MessageRecorder {
    Program() { answerFor(context); }
    bool connectTo(RadioProcess &radio)
    {
        TestEnvironment::useSerialDevices(radio.device());
        return controller.openPort(1, &openError);
    }
    QString messageText(Message m) const { return quillon::messageText(m, context.language()).text; }
    QStringList texts() const
    {
        QStringList list;
        for (const ShownMessage &s : messages)
            list << s.text;
        return list;
    }

    AppContext context;
    TransferController controller{context, nullptr};
    QString openError;
};

// A radio in the test's own process behind the SerialLink interface: what
// the controller sends goes to a SimulatedRadio, whose answers come back
// from the event loop once the receive threshold is reached. Every frame is
// noted with the time of the controller's clock it was sent at.
class InProcessRadio : public SerialLink {
public:
    InProcessRadio(RadioFaults faults, const qint64 &clock) : m_radio(MemoryImage(), 0, faults), m_clock(clock) {}

    bool open(const QString &, QString *) override { return m_open = true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void send(const QByteArray &bytes) override
    {
        sent.append(bytes);
        sentAt.append(m_clock);
        for (const RadioFrame &frame : m_radio.receive(bytes))
            m_waiting.append(frame.answer);
        QTimer::singleShot(0, this, &InProcessRadio::deliver);
    }
    void setReceiveThreshold(int bytes) override { threshold = bytes; }
    int receiveThreshold() const override { return threshold; }
    void discardInput() override { m_waiting.clear(); }

    QList<QByteArray> sent;
    QList<qint64> sentAt;
    int threshold = 1;

private:
    void deliver()
    {
        if (!m_open || m_waiting.isEmpty() || m_waiting.size() < threshold)
            return;
        emit bytesReceived(std::exchange(m_waiting, {}));
    }

    SimulatedRadio m_radio;
    const qint64 &m_clock;
    QByteArray m_waiting;
    bool m_open = false;
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
    void silenceLimitOnTheProtocolClock_data();
    void silenceLimitOnTheProtocolClock();
    void radioVanishesMidRead();

private:
    TestEnvironment m_environment;
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
    TestEnvironment::useSerialDevices(list);
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
    TestEnvironment::useSerialDevices(QStringLiteral("/dev/quillon-no-such-device"));
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
    p.onMessage = [&](const ShownMessage &) {
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
    RadioProcess radio(options, memory);
    Program p;
    QVERIFY2(p.connectTo(radio), qPrintable(p.openError));
    QSignalSpy reset(&p.context.document(), &Document::changed);
    QSignalSpy edits(&p.context, &AppContext::pendingEditsRequested);

    QList<int> steps;
    QString name, title, label;
    int maximum = 0;
    bool theControllersWindow = false, openAfterEscape = false;
    QVERIFY(whileModal([&] { p.controller.readRadio(); }, [&](QWidget *window) {
        theControllersWindow = window == p.controller.progressWindow();
        name = window->objectName();
        title = window->windowTitle();
        auto *text = control<QLabel>(window, QStringLiteral("Label1"));
        auto *bar = control<QProgressBar>(window, QStringLiteral("ProgressBar1"));
        QVERIFY(text && bar);
        label = text->text();
        maximum = bar->maximum();
        QObject::connect(bar, &QProgressBar::valueChanged, window, [&](int v) { steps.append(v); });
        // Escape cannot cancel a transfer.
        QTest::keyClick(window, Qt::Key_Escape);
        openAfterEscape = window->isVisible();
    }));
    QVERIFY(theControllersWindow);
    QCOMPARE(name, QStringLiteral("FrmWriting"));
    QVERIFY(openAfterEscape);

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
    RadioProcess radio({}, before);
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
    QVERIFY(whileModal([&] { p.controller.writeRadio(); }, [&](QWidget *window) { title = window->windowTitle(); }));

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
    RadioProcess radio({"--band", "7"}, patternImage());
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
    RadioProcess radio({"--band", "5"}, patternImage());
    Program p;
    QVERIFY2(p.connectTo(radio), qPrintable(p.openError));
    for (int step = 0; forcedWriteMode && step < 3; ++step)
        p.context.document().modes().clickCaption(HiddenMode::ForcedWrite, step, 100);
    const QString question = p.messageText(Message::ForcedWrite);
    p.onMessage = [&](const ShownMessage &shown) {
        if (shown.text != question)
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
    RadioProcess radio({"--silent-after", "60"}, memory);
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
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<TransferEnd>("end");
    QTest::addColumn<int>("atLeastMs");   // the radio's pauses together
    // Well inside and well past the 3000 ms limit, so a busy machine cannot
    // turn one into the other. Four answers in a row after 2.5 s each: the
    // limit is per answer, not for the transfer (the rest of the read runs
    // at full speed to keep the test short).
    QTest::newRow("2.5 s before each of the first four answers")
        << QStringList{"--delay-ms", "2500", "--delay-count", "4"} << TransferEnd::ReadComplete << 10000;
    QTest::newRow("a pause of 3.5 s after frame 100")
        << QStringList{"--delay-once-ms", "3500", "--delay-at", "100"} << TransferEnd::Timeout << 3000;
}

void TestRadioLink::slowAnswer()
{
    QFETCH(QStringList, options);
    QFETCH(TransferEnd, end);
    QFETCH(int, atLeastMs);
    const MemoryImage memory = patternImage();
    RadioProcess radio(options, memory);
    Program p;
    QVERIFY2(p.connectTo(radio), qPrintable(p.openError));
    QElapsedTimer clock;
    clock.start();
    p.controller.readRadio();
    QVERIFY(clock.elapsed() >= atLeastMs);
    QCOMPARE(p.controller.lastEnd(), end);
    const Message message = end == TransferEnd::ReadComplete ? Message::ReadSucceeded : Message::CommunicationError;
    QCOMPARE(p.texts(), QStringList{p.messageText(message)});
    if (end == TransferEnd::ReadComplete)
        QCOMPARE(p.context.workspace().readImage.bytes(0, kOptionRest), memory.bytes(0, kOptionRest));
}

void TestRadioLink::silenceLimitOnTheProtocolClock_data()
{
    // The controller's clock after each watchdog tick once the radio fell
    // silent at 1000 ms, and the time the transfer must end at.
    QTest::addColumn<QList<qint64>>("times");
    QTest::addColumn<qint64>("endsAt");
    QTest::newRow("3000 ms of silence pass, 3001 ms end") << QList<qint64>{4000, 4001} << qint64(4001);
    QList<qint64> ticks;
    for (qint64 t = 1050; t <= 4200; t += 50)
        ticks << t;
    QTest::newRow("50 ms ticks: the first past 3000 ms ends") << ticks << qint64(4050);
}

void TestRadioLink::silenceLimitOnTheProtocolClock()
{
    QFETCH(QList<qint64>, times);
    QFETCH(qint64, endsAt);
    qint64 now = 1000;   // stands still while the radio answers "PROGRAM"
    Program p;
    auto owned = std::make_unique<InProcessRadio>(RadioFaults{1, false, false}, now);   // silent after one answer
    InProcessRadio &radio = *owned;
    p.controller.setLink(std::move(owned));
    p.controller.setClock([&now] { return now; });
    QVERIFY(p.controller.openPort(1));
    auto *watchdog = p.controller.findChild<QTimer *>(QStringLiteral("TimerW"));
    QVERIFY(watchdog);
    // Runs after the controller's own handler of each tick: moves the clock
    // on for the next tick once the radio has fallen silent.
    qsizetype next = 0;
    QObject::connect(watchdog, &QTimer::timeout, &p.controller, [&] {
        if (radio.sent.size() < 2 || radio.sent.last() == "E")
            return;
        // Past the planned times nothing may be left running: end it.
        now = next < times.size() ? times[next++] : now + 100000;
    });
    p.controller.readRadio();

    QCOMPARE(p.controller.lastEnd(), TransferEnd::Timeout);
    QCOMPARE(radio.sent, (QList<QByteArray>{"PROGRAM", "\x02", "E"}));
    QCOMPARE(radio.sentAt.last(), endsAt);
    QCOMPARE(radio.threshold, 1);
    QCOMPARE(p.texts(), QStringList{p.messageText(Message::CommunicationError)});
}

void TestRadioLink::radioVanishesMidRead()
{
    RadioProcess radio({"--delay-once-ms", "20000", "--delay-at", "50"}, patternImage());
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
