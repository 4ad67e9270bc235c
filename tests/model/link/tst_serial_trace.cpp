#include "link/serial_trace.h"
#include "link/transfer_protocol.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;

class TestSerialTrace : public QObject {
    Q_OBJECT
private slots:
    void ackAcrossABoundary_data();
    void ackAcrossABoundary();
    void floodKeepsNoMemory();
    void traceText();
    void traceIsBounded();
    void savedAtomically();
};

void TestSerialTrace::ackAcrossABoundary_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("across");
    QTest::newRow("0x06") << QByteArray("\x06") << false;
    QTest::newRow("0x06 among noise") << QByteArray::fromHex("150620") << false;
    QTest::newRow("A0 6B") << QByteArray::fromHex("A06B") << true;
    QTest::newRow("A0 6B, then 0x06") << QByteArray::fromHex("A06B06") << false;
}

// The acceptance stays as it is: every row passes the step. Only a pass
// that rests on digits of two bytes is marked.
void TestSerialTrace::ackAcrossABoundary()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, across);
    MemoryImage readImage, writeImage;
    {
        TransferProtocol read(readImage, writeImage);
        read.startRead(0);
        const TransferAction action = read.onReceive(answer, 1);
        QCOMPARE(action.send, QByteArray("\x02"));
        QCOMPARE(action.ackAcrossBoundary, across);
    }
    {
        // A write block acknowledged the same way, split over two events.
        TransferProtocol write(readImage, writeImage);
        write.startWrite({}, 0);
        write.onReceive("\x06", 1);
        write.onReceive(QByteArray("QVM-7K") + QByteArray("\xF0\x00", 2), 2);
        if (answer.size() > 1)
            QVERIFY(write.onReceive(answer.left(1), 3).send.isEmpty());
        const TransferAction action = write.onReceive(answer.size() > 1 ? answer.mid(1) : answer, 4);
        QCOMPARE(action.send, writeFrame(0x0000, writeImage));
        QCOMPARE(action.ackAcrossBoundary, across);
    }
}

void TestSerialTrace::floodKeepsNoMemory()
{
    ReceiveText text;
    const QByteArray noise = QByteArray::fromHex("5AA53CC3").repeated(1024);   // 4 KB without "06"
    for (int i = 0; i < 512; ++i)
        text.append(noise);
    QCOMPARE(text.size(), qint64(2) * 512 * noise.size());
    QCOMPARE(text.text().size(), ReceiveText::kKeptDigits);
    QVERIFY(text.text().startsWith("5AA53CC3"));
    QVERIFY(!text.containsAck() && !text.isAck() && !text.isIdentification() && !text.isDataBlock());
    // An "06" far beyond the kept digits still counts, as it always did.
    text.append("\x06");
    QVERIFY(text.containsAck());
    // A text that ran past an answer's length never becomes one again.
    ReceiveText longBlock;
    longBlock.append(QByteArray(ReceiveText::kKeptDigits, '\x57'));
    QVERIFY(!longBlock.isDataBlock());
    text.clear();
    QCOMPARE(text.text().capacity(), 0);
    text.append("\x06");
    QVERIFY(text.isAck());

    // A read flooded while it waits for a block ends in the time-out and
    // keeps only the bound afterwards.
    MemoryImage readImage, writeImage;
    TransferProtocol protocol(readImage, writeImage);
    protocol.startRead(0);
    protocol.onReceive("\x06", 1);
    protocol.onReceive(QByteArray("QVM-7K") + QByteArray("\xF0\x00", 2), 2);
    protocol.onReceive("\x06", 3);
    QCOMPARE(protocol.step(), 3);
    for (int i = 0; i < 512; ++i)
        QVERIFY(protocol.onReceive(noise, 4).send.isEmpty());
    QCOMPARE(protocol.watchdogTick(3005).end, TransferEnd::Timeout);
    QCOMPARE(protocol.receiveText().text().size(), ReceiveText::kKeptDigits);
}

void TestSerialTrace::traceText()
{
    SerialTrace trace;
    QVERIFY(trace.isEmpty());
    trace.begin(TransferKind::Read, QDateTime(QDate(2026, 12, 8), QTime(14, 3, 22, 120)),
                QStringLiteral("port 1 (/dev/ttyUSB0)"));
    trace.sent(0, 1, "PROGRAM");
    trace.received(14, 1, QByteArray::fromHex("A06B"));
    trace.markAckAcrossBoundary();
    trace.sent(15, 2, "\x02");
    trace.received(40, 2, QByteArray(300, '\x11'));
    trace.sent(3120, 2, "E");
    trace.end(TransferEnd::Timeout);

    const QStringList lines = trace.text().split(u'\n');
    QCOMPARE(lines.mid(2), (QStringList{
        QString(),
        QStringLiteral("== Transfer 1: read on port 1 (/dev/ttyUSB0), started 2026-12-08 14:03:22.120"),
        QStringLiteral("       0  tx  step   1  opening                      50 52 4F 47 52 41 4D"),
        QStringLiteral("      14  rx  step   1  opening                      A0 6B  <- acknowledgement \"06\" found "
                       "across a byte boundary"),
        QStringLiteral("      15  tx  step   2  identification request       02"),
        QStringLiteral("      40  rx  step   2  identification request       ")
            + QStringLiteral("11 ").repeated(SerialTrace::kEntryBytes).trimmed() + QStringLiteral(" ... (300 bytes in all)"),
        QStringLiteral("    3120  tx  step   2  end                          45"),
        QStringLiteral("== Ended: time-out, the radio was silent for more than 3000 ms"),
        QString(),
    }));
}

void TestSerialTrace::traceIsBounded()
{
    SerialTrace trace;
    for (int n = 0; n < SerialTrace::kTransfers + 2; ++n)
        trace.begin(TransferKind::Write, QDateTime::currentDateTime(), QStringLiteral("port %1").arg(n));
    QCOMPARE(int(trace.transfers().size()), SerialTrace::kTransfers);
    QCOMPARE(trace.transfers().front().port, QStringLiteral("port 2"));

    // A flood: 100000 events of 1 KB while the write waits for an answer.
    trace.sent(0, 4, writeFrame(0, MemoryImage()));
    const QByteArray kilobyte(1024, '\x5A');
    for (int i = 0; i < 100000; ++i)
        trace.received(i, 4, kilobyte);
    trace.sent(3100, 4, "E");
    trace.received(3101, 4, kilobyte);
    const TraceTransfer &flooded = trace.transfers().back();
    QVERIFY(flooded.keptBytes <= SerialTrace::kBytesPerTransfer + SerialTrace::kEntryBytes + 32);
    QVERIFY(flooded.entries.size() < SerialTrace::kEntriesPerTransfer);
    // Everything counted, the frames sent all there and in their place.
    qint64 counted = 0;
    for (const TraceEntry &entry : flooded.entries)
        counted += entry.sent ? 0 : entry.size;
    QCOMPARE(counted, qint64(100001) * 1024);
    const TraceEntry &merged = flooded.entries.at(flooded.entries.size() - 3);
    QVERIFY(merged.merged && merged.events > 1);
    QCOMPARE(flooded.entries.at(flooded.entries.size() - 2).bytes, QByteArray("E"));
    QVERIFY(flooded.entries.last().merged);
    QVERIFY(trace.text().contains(QLatin1String("receive events, not kept")));
}

void TestSerialTrace::savedAtomically()
{
    QTemporaryDir dir;
    SerialTrace trace;
    trace.begin(TransferKind::Read, QDateTime::currentDateTime(), QStringLiteral("port 1"));
    trace.sent(0, 1, "PROGRAM");
    const QString path = dir.filePath(QStringLiteral("trace.txt"));
    QVERIFY(saveSerialTrace(path, trace));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), trace.text());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("trace.txt")});

    QString reason;
    QVERIFY(!saveSerialTrace(dir.filePath(QStringLiteral("trace.txt/inside")), trace, &reason));
    QVERIFY(!reason.isEmpty());
}

QTEST_GUILESS_MAIN(TestSerialTrace)
#include "tst_serial_trace.moc"
