#include "image/address_map.h"
#include "link/transfer_protocol.h"
#include "radio_sim/simulated_radio.h"

#include <QTest>

#include <functional>

using namespace quillon;

Q_DECLARE_METATYPE(quillon::TransferEnd)

namespace {

// A memory whose every block differs from its neighbours and from 0xFF.
MemoryImage patternImage(int seed)
{
    MemoryImage image;
    for (int a = 0; a < kImageSize; ++a)
        image.set(a, static_cast<std::uint8_t>((a * 7 + seed + (a >> 8)) % 251));
    return image;
}

// The protocol wired to a SimulatedRadio through a model of the port: the
// radio's answers wait in the port until at least `threshold` bytes are
// there, then all of them are handed over; a silent line advances the clock
// in watchdog ticks.
struct Exchange {
    explicit Exchange(const MemoryImage &radioMemory, int band = 0, RadioFaults faults = {})
        : radio(radioMemory, band, faults) {}

    MemoryImage readImage;
    MemoryImage writeImage = patternImage(101);
    TransferProtocol protocol{readImage, writeImage};
    SimulatedRadio radio;
    bool trickle = false;   // the radio's bytes arrive one at a time
    std::function<void(RadioFrame &)> tamper;
    bool forcedWriteAnswer = false;

    QByteArray wire;   // sent by the radio, not yet in the port
    QByteArray port;   // in the port, not yet handed over
    int threshold = 1;
    qint64 clock = 0;
    QList<QByteArray> sent;
    QList<int> thresholdChanges;
    QList<int> progress;
    int questions = 0;
    std::optional<TransferEnd> end;

    void apply(const TransferAction &action)
    {
        if (action.progress)
            progress.append(action.progress);
        if (action.threshold) {
            threshold = action.threshold;
            thresholdChanges.append(threshold);
        }
        if (!action.send.isEmpty()) {
            sent.append(action.send);
            for (RadioFrame &frame : radio.receive(action.send)) {
                if (tamper)
                    tamper(frame);
                wire.append(frame.answer);
            }
        }
        if (action.askForcedWrite) {
            ++questions;
            apply(protocol.answerForcedWrite(forcedWriteAnswer, clock));
        }
        if (action.end)
            end = action.end;
    }

    void run(const TransferAction &start)
    {
        apply(start);
        while (protocol.isActive()) {
            if (!wire.isEmpty()) {
                const qsizetype n = trickle ? 1 : wire.size();
                port.append(wire.left(n));
                wire.remove(0, n);
                if (port.size() >= threshold) {
                    const QByteArray bytes = port;
                    port.clear();
                    apply(protocol.onReceive(bytes, ++clock));
                }
            } else {
                clock += 50;
                apply(protocol.watchdogTick(clock));
            }
        }
    }

    void read() { run(protocol.startRead(clock)); }
    void write(const WriteSettings &settings) { run(protocol.startWrite(settings, clock)); }
    bool radioWasWritten() const { return radio.session().writes > 0; }
};

QList<QByteArray> expectedReadFrames()
{
    QList<QByteArray> frames{"PROGRAM", "\x02", "\x06"};
    for (int a = 0; a < kImageSize; a += 16)
        frames << readRequestFrame(a) << "\x06";
    frames << "E" << "E";
    return frames;
}

} // namespace

class TestTransferProtocol : public QObject {
    Q_OBJECT
private slots:
    void receiveText_data();
    void receiveText();
    void frames();
    void fullRead_data();
    void fullRead();
    void replyAddressIsNotTrusted();
    void fullWrite_data();
    void fullWrite();
    void bandCheck_data();
    void bandCheck();
    void answersThatNeverPass_data();
    void answersThatNeverPass();
    void silenceLimit();
    void questionHoldsTheExchange();
    void bytesOutsideATransferAreDropped();
};

void TestTransferProtocol::receiveText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("split");   // appended in two events at this byte
    QTest::addColumn<bool>("containsAck");
    QTest::addColumn<bool>("isAck");
    QTest::addColumn<bool>("isIdentification");
    QTest::addColumn<bool>("isDataBlock");
    QTest::addColumn<int>("band");   // -1: no identification

    const QByteArray id = QByteArray("QVM-7K") + QByteArray("\xF3\x00", 2);
    const QByteArray block = QByteArray::fromHex("57001010") + QByteArray(16, '\x11');
    QTest::newRow("ack") << QByteArray("\x06") << 0 << true << true << false << false << -1;
    QTest::newRow("ack among noise") << QByteArray::fromHex("150620") << 1 << true << false << false << false << -1;
    QTest::newRow("ack across a byte boundary") << QByteArray::fromHex("A06B") << 0 << true << false << false << false << -1;
    QTest::newRow("ack across two events") << QByteArray::fromHex("A06B") << 1 << true << false << false << false << -1;
    QTest::newRow("no ack") << QByteArray::fromHex("6016") << 1 << false << false << false << false << -1;
    QTest::newRow("identification") << id << 3 << false << false << true << false << 3;
    QTest::newRow("identification, high digit ignored") << QByteArray("QVM-7K") + QByteArray("\x3A\x00", 2) << 0 << false << false
                                                        << true << false << 10;
    QTest::newRow("identification of 9 bytes") << id + '\x00' << 0 << false << false << false << false << -1;
    QTest::newRow("identification of 7 bytes") << id.left(7) << 0 << false << false << false << false << -1;
    QTest::newRow("another model") << QByteArray("QVM-8K") + QByteArray("\x03\x00", 2) << 0 << false << false << false << false << -1;
    QTest::newRow("data block") << block << 7 << false << false << false << true << -1;
    QTest::newRow("data block of 21 bytes") << block + '\x06' << 0 << true << false << false << false << -1;
    QTest::newRow("data block of 19 bytes") << block.left(19) << 0 << false << false << false << false << -1;
    QTest::newRow("20 bytes without 0x57") << QByteArray(20, '\x52') << 0 << false << false << false << false << -1;
}

void TestTransferProtocol::receiveText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, split);
    ReceiveText text;
    text.append(bytes.left(split));
    text.append(bytes.mid(split));
    QCOMPARE(text.text(), bytes.toHex().toUpper());
    QTEST(text.containsAck(), "containsAck");
    QTEST(text.isAck(), "isAck");
    QTEST(text.isIdentification(), "isIdentification");
    QTEST(text.isDataBlock(), "isDataBlock");
    QTEST(text.identificationBand().value_or(-1), "band");
    QCOMPARE(text.blockData(), text.isDataBlock() ? bytes.mid(4) : QByteArray());
    text.clear();
    QVERIFY(!text.containsAck());
    QVERIFY(text.text().isEmpty());
}

void TestTransferProtocol::frames()
{
    const MemoryImage image = patternImage(3);
    QCOMPARE(readRequestFrame(0x0000), QByteArray::fromHex("52000010"));
    QCOMPARE(readRequestFrame(0x0BF0), QByteArray::fromHex("520BF010"));
    QCOMPARE(writeFrame(0x07F0, image), QByteArray::fromHex("5707F010") + image.bytes(0x07F0, 16));
}

void TestTransferProtocol::fullRead_data()
{
    QTest::addColumn<bool>("trickle");
    QTest::addColumn<int>("radioBand");
    QTest::newRow("answers at once") << false << 0;
    QTest::newRow("byte by byte") << true << 0;
    // The band code is not examined when reading.
    QTest::newRow("radio of another band") << false << 7;
}

void TestTransferProtocol::fullRead()
{
    QFETCH(bool, trickle);
    QFETCH(int, radioBand);
    const MemoryImage memory = patternImage(5);
    Exchange x(memory, radioBand);
    x.trickle = trickle;
    x.read();

    QCOMPARE(x.end, TransferEnd::ReadComplete);
    QVERIFY(x.readImage == memory);
    QCOMPARE(x.sent, expectedReadFrames());
    // 20 before every block request, back to 1 after every block.
    QList<int> thresholds{1};
    for (int i = 0; i < 192; ++i)
        thresholds << 20 << 1;
    QCOMPARE(x.thresholdChanges, thresholds);
    QCOMPARE(x.progress.first(), 1);
    QCOMPARE(x.progress.last(), TransferProtocol::kReadLastStep);
    QVERIFY(std::is_sorted(x.progress.begin(), x.progress.end()));
    QVERIFY(!x.protocol.watchdogEnabled());
}

void TestTransferProtocol::replyAddressIsNotTrusted()
{
    const MemoryImage memory = patternImage(9);
    Exchange x(memory);
    // The radio names another block in its replies; the data still belong to
    // the block that was asked for.
    x.tamper = [](RadioFrame &frame) {
        if (frame.kind == RadioFrame::Kind::Read)
            frame.answer[1] = static_cast<char>(frame.answer[1] ^ 0x05);
    };
    x.read();
    QCOMPARE(x.end, TransferEnd::ReadComplete);
    QVERIFY(x.readImage == memory);
}

void TestTransferProtocol::fullWrite_data()
{
    QTest::addColumn<bool>("calibrationMode");
    QTest::newRow("calibration mode off") << false;
    QTest::newRow("calibration mode on") << true;
}

void TestTransferProtocol::fullWrite()
{
    QFETCH(bool, calibrationMode);
    const MemoryImage before = patternImage(17);
    Exchange x(before, 4);
    x.trickle = true;
    WriteSettings settings;
    settings.bandIndex = 4;
    settings.calibrationMode = calibrationMode;
    x.write(settings);

    QCOMPARE(x.end, TransferEnd::WriteComplete);
    QCOMPARE(x.questions, 0);
    QList<QByteArray> expected{"PROGRAM", "\x02", "\x06"};
    for (int a = 0; a < 0x07C0; a += 16)
        expected << writeFrame(a, x.writeImage);
    expected << (calibrationMode ? writeFrame(kCalibration, x.writeImage) : QByteArray("\x06"));
    for (int a = kChannelNames.start; a < kImageSize; a += 16)
        expected << writeFrame(a, x.writeImage);
    expected << "E";
    QCOMPARE(x.sent, expected);
    QCOMPARE(x.thresholdChanges, QList<int>{1});   // a write never changes it

    const MemoryImage &after = x.radio.memory();
    QCOMPARE(after.bytes(0, 0x07C0), x.writeImage.bytes(0, 0x07C0));
    QCOMPARE(after.bytes(0x07C0, 0x30), before.bytes(0x07C0, 0x30));
    QCOMPARE(after.bytes(kCalibration, 16), (calibrationMode ? x.writeImage : before).bytes(kCalibration, 16));
    QCOMPARE(after.bytes(0x0800, 0x0400), x.writeImage.bytes(0x0800, 0x0400));
    QCOMPARE(x.progress.last(), TransferProtocol::kWriteLastStep);
}

void TestTransferProtocol::bandCheck_data()
{
    QTest::addColumn<int>("radioBand");
    QTest::addColumn<int>("selectedBand");
    QTest::addColumn<bool>("forcedWriteMode");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<TransferEnd>("end");
    QTest::addColumn<int>("questions");

    QTest::newRow("same band") << 3 << 3 << false << false << TransferEnd::WriteComplete << 0;
    QTest::newRow("same band, forced mode asks nothing") << 3 << 3 << true << false << TransferEnd::WriteComplete << 0;
    QTest::newRow("other band refused") << 3 << 0 << false << false << TransferEnd::BandMismatch << 0;
    QTest::newRow("other band forced, OK") << 9 << 2 << true << true << TransferEnd::WriteComplete << 1;
    QTest::newRow("other band forced, Cancel") << 9 << 2 << true << false << TransferEnd::ForcedWriteCancelled << 1;
}

void TestTransferProtocol::bandCheck()
{
    QFETCH(int, radioBand);
    QFETCH(int, selectedBand);
    QFETCH(bool, forcedWriteMode);
    QFETCH(bool, answer);
    QFETCH(TransferEnd, end);
    const MemoryImage before = patternImage(23);
    Exchange x(before, radioBand);
    x.forcedWriteAnswer = answer;
    WriteSettings settings;
    settings.bandIndex = selectedBand;
    settings.forcedWriteMode = forcedWriteMode;
    x.write(settings);

    QCOMPARE(x.end, end);
    QTEST(x.questions, "questions");
    QCOMPARE(x.sent.last(), QByteArray("E"));
    QCOMPARE(x.radioWasWritten(), end == TransferEnd::WriteComplete);
    QCOMPARE(x.radio.inSession(), false);   // the radio was told the end
    if (end != TransferEnd::WriteComplete) {
        QVERIFY(x.radio.memory() == before);
        QCOMPARE(x.sent.size(), 3);   // PROGRAM, 0x02, 0x45
        QVERIFY(x.protocol.receiveText().text().isEmpty());
    }
}

void TestTransferProtocol::answersThatNeverPass_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<int>("silentAfter");
    QTest::addColumn<bool>("wrongId");
    QTest::addColumn<bool>("strayByte");
    QTest::addColumn<int>("framesSent");   // before the watchdog's 0x45

    QTest::newRow("silent radio, read") << false << 40 << false << false << 41;
    QTest::newRow("silent radio, write") << true << 40 << false << false << 41;
    QTest::newRow("silent from the start") << false << 0 << false << false << 1;
    QTest::newRow("another model, read") << false << -1 << true << false << 2;
    QTest::newRow("another model, write") << true << -1 << true << false << 2;
    QTest::newRow("9-byte identification") << false << -1 << false << true << 2;
}

void TestTransferProtocol::answersThatNeverPass()
{
    QFETCH(bool, write);
    QFETCH(int, silentAfter);
    QFETCH(bool, wrongId);
    QFETCH(bool, strayByte);
    const MemoryImage memory = patternImage(31);
    Exchange x(memory, 0, RadioFaults{silentAfter, wrongId, strayByte});
    if (write)
        x.write({});
    else
        x.read();

    QCOMPARE(x.end, TransferEnd::Timeout);
    QTEST(int(x.sent.size()) - 1, "framesSent");
    QCOMPARE(x.sent.last(), QByteArray("E"));
    QCOMPARE(x.thresholdChanges.last(), 1);
    QVERIFY(!x.protocol.watchdogEnabled());

    // A radio that fell silent is back after the 0x45; the next transfer
    // starts from a clean state and completes.
    if (silentAfter >= 0) {
        x.end.reset();
        x.read();
        QCOMPARE(x.end, TransferEnd::ReadComplete);
        QVERIFY(x.readImage == x.radio.memory());
    }
}

void TestTransferProtocol::silenceLimit()
{
    MemoryImage readImage;
    const MemoryImage writeImage;
    TransferProtocol protocol(readImage, writeImage);
    protocol.startRead(1000);
    QVERIFY(protocol.watchdogEnabled());
    QVERIFY(!protocol.watchdogTick(4000).end);   // exactly 3000 ms: still waiting
    // A step restarts the count.
    QCOMPARE(protocol.onReceive("\x06", 3900).send, QByteArray("\x02"));
    QVERIFY(!protocol.watchdogTick(6900).end);
    const TransferAction timeout = protocol.watchdogTick(6901);
    QCOMPARE(timeout.end, TransferEnd::Timeout);
    QCOMPARE(timeout.send, QByteArray("E"));
    QCOMPARE(timeout.threshold, 1);
    QVERIFY(!protocol.isActive());
    QVERIFY(!protocol.watchdogTick(20000).end);   // once only
}

void TestTransferProtocol::questionHoldsTheExchange()
{
    MemoryImage readImage;
    const MemoryImage writeImage;
    TransferProtocol protocol(readImage, writeImage);
    WriteSettings settings;
    settings.bandIndex = 1;
    settings.forcedWriteMode = true;
    protocol.startWrite(settings, 0);
    protocol.onReceive("\x06", 10);
    const TransferAction ask = protocol.onReceive(QByteArray("QVM-7K") + QByteArray("\x05\x00", 2), 20);
    QVERIFY(ask.askForcedWrite);
    QVERIFY(ask.send.isEmpty());
    QVERIFY(!protocol.watchdogEnabled());
    // While the question is open nothing the radio says moves the exchange,
    // and the stopped watchdog cannot end it.
    QVERIFY(protocol.onReceive("\x06", 30).send.isEmpty());
    QVERIFY(!protocol.watchdogTick(60000).end);
    // The port vanishes before the user answers: the answer comes too late.
    QCOMPARE(protocol.linkLost().end, TransferEnd::LinkLost);
    QVERIFY(protocol.answerForcedWrite(true, 60010).send.isEmpty());
    QVERIFY(!protocol.isActive());
}

void TestTransferProtocol::bytesOutsideATransferAreDropped()
{
    MemoryImage readImage;
    const MemoryImage writeImage;
    TransferProtocol protocol(readImage, writeImage);
    // A time-out leaves the radio's last words in the text...
    protocol.startRead(0);
    protocol.onReceive(QByteArray::fromHex("1506"), 10);   // contains ACK: step 2
    protocol.onReceive(QByteArray::fromHex("0600"), 20);
    QCOMPARE(protocol.watchdogTick(4000).end, TransferEnd::Timeout);
    QCOMPARE(protocol.receiveText().text(), QByteArray("0600"));
    // ...late answers arrive while idle...
    QVERIFY(protocol.onReceive("\x06", 4100).send.isEmpty());
    // ...and none of it may pass the next transfer's first step.
    protocol.startWrite({}, 5000);
    QVERIFY(protocol.receiveText().text().isEmpty());
    QVERIFY(protocol.onReceive("\x15", 5010).send.isEmpty());
    QCOMPARE(protocol.onReceive("\x06", 5020).send, QByteArray("\x02"));
}

QTEST_APPLESS_MAIN(TestTransferProtocol)
#include "tst_transfer_protocol.moc"
