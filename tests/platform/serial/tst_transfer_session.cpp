// The transfer session without any window, as the command-line tool runs
// it (Qt Core and Qt SerialPort only), against the simulated radio on a
// pseudo-terminal: the trace it keeps.

#include "support/radio_process.h"

#include "transfer_session.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

struct Frame {
    bool sent;
    QByteArray bytes;
    bool operator==(const Frame &other) const = default;
};

// The trace's entries with the bytes of consecutive receive events joined:
// how a line splits an answer is the system's affair.
QList<Frame> frames(const TraceTransfer &transfer)
{
    QList<Frame> list;
    for (const TraceEntry &entry : transfer.entries) {
        if (!entry.sent && !list.isEmpty() && !list.last().sent)
            list.last().bytes += entry.bytes;
        else
            list.append({entry.sent, entry.bytes});
    }
    return list;
}

} // namespace

class TestTransferSession : public QObject {
    Q_OBJECT
private slots:
    void traceAfterASilentRadio();
};

void TestTransferSession::traceAfterASilentRadio()
{
    // Five frames answered, then silence until the end byte.
    RadioProcess radio({QStringLiteral("--silent-after"), QStringLiteral("5")}, MemoryImage());
    TransferSession session;
    QString reason;
    QVERIFY2(session.openDevice(radio.device(), &reason), qPrintable(reason));
    QVERIFY(session.startRead());
    QCOMPARE(session.waitForEnd(), TransferEnd::Timeout);
    QVERIFY(radio.waitForLine(QStringLiteral("session end")));

    QCOMPARE(int(session.trace().transfers().size()), 1);
    const TraceTransfer &transfer = session.trace().transfers().back();
    QCOMPARE(transfer.end, TransferEnd::Timeout);
    const QByteArray identification = QByteArray("QVM-7K") + QByteArray("\xF0\x00", 2);
    const QList<Frame> expected{
        {true, "PROGRAM"},         {false, "\x06"},
        {true, "\x02"},            {false, identification},
        {true, "\x06"},            {false, "\x06"},
        {true, readRequestFrame(0)}, {false, QByteArray::fromHex("57000010") + QByteArray(16, '\0')},
        {true, "\x06"},            {false, "\x06"},
        {true, readRequestFrame(0x10)},
        {true, "E"},   // the watchdog's end, after the silence
    };
    QCOMPARE(frames(transfer), expected);
    QVERIFY(transfer.entries.last().ms > TransferProtocol::kSilenceLimitMs);

    // The same, as a person reads it in the saved file, with the step names.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trace.txt"));
    QVERIFY(saveSerialTrace(path, session.trace()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QStringList steps;
    for (const QString &line : lines.mid(3, lines.size() - 4))
        steps << line.mid(10, 40).simplified();
    QCOMPARE(steps.first(), QStringLiteral("tx step 1 opening"));
    QVERIFY(steps.contains(QStringLiteral("rx step 2 identification request")));
    QVERIFY(steps.contains(QStringLiteral("tx step 3 read request 0x0000")));
    QVERIFY(steps.contains(QStringLiteral("tx step 3 block received")));
    QCOMPARE(steps.last(), QStringLiteral("tx step 4 end"));
    QCOMPARE(lines.last(), QStringLiteral("== Ended: time-out, the radio was silent for more than 3000 ms"));
}

QTEST_GUILESS_MAIN(TestTransferSession)
#include "tst_transfer_session.moc"
