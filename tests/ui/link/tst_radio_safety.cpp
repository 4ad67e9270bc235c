// Verify, the radio history and a wire that fails, through the windows'
// transfer controller against the simulated radio on a pseudo-terminal.

#include "support/radio_process.h"

#include "common/app_context.h"
#include "document/radio_history.h"
#include "i18n/link_texts.h"
#include "image/address_map.h"
#include "link/transfer_controller.h"
#include "link/verify_window.h"
#include "transfer_session.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

Q_DECLARE_METATYPE(quillon::TransferEnd)

namespace {

constexpr int kBand = 3;   // 400-470MHz, the band of a new image

// A band-3 image with channels 4, 5 and 6 in use.
MemoryImage programImage()
{
    Document document;
    document.newImage();
    for (int channel = 4; channel <= 6; ++channel)
        document.commitFrequency(channel, kColumnRx, QStringLiteral("44%1.5").arg(channel));
    document.commitName(5, QStringLiteral("CALL"));
    return document.encode();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Shown {
    QString text;
    int style;
    QString caption;
};

// The program's side: the document holding programImage(), a responder in
// place of the person, the controller on port 1.
struct Program {
    Program()
    {
        context.setResponder([this](const QString &text, int style, const QString &caption) {
            messages.append({text, style, caption});
            return kAnswerOk;
        });
        context.document().openImage(programImage());
    }
    bool connectTo(RadioProcess &radio)
    {
        qputenv("QUILLON_SERIAL_PORTS", radio.device().toLocal8Bit());
        return controller.openPort(1, &openError);
    }
    QStringList takeTexts()
    {
        QStringList list;
        for (const Shown &s : messages)
            list << s.text;
        messages.clear();
        return list;
    }
    QStringList rowOfDifferences(int row) const
    {
        const auto *table = controller.verifyWindow()->findChild<QTableWidget *>(QStringLiteral("TableVerify"));
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells << table->item(row, column)->text();
        return cells;
    }

    AppContext context;
    TransferController controller{context, nullptr};
    QList<Shown> messages;
    QString openError;
};

QString english(Message m) { return messageText(m, Language::English).text; }
const QString kSame = link_text::kVerifySame.en;

// A folder of its own for each test's radio history.
class HistoryFolder {
public:
    HistoryFolder() { qputenv("XDG_STATE_HOME", QFile::encodeName(m_dir.path())); }
    QString path() const { return m_dir.filePath(QStringLiteral("quillon/history")); }
    QList<HistoryEntry> entries() const { return RadioHistory(path()).entries(); }

private:
    QTemporaryDir m_dir;
};

} // namespace

class TestRadioSafety : public QObject {
    Q_OBJECT
private slots:
    void verifyAfterAWrite_data();
    void verifyAfterAWrite();
    void verifyWithoutAWrite();
    void verifyAfterWritingOncePerWrite();
    void historyOfReadAndWrite();
    void historyThatCannotBeWritten();
    void wireFailsDuringAWrite_data();
    void wireFailsDuringAWrite();
};

void TestRadioSafety::verifyAfterAWrite_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("same");
    QTest::newRow("the radio holds it") << QStringList{} << true;
    QTest::newRow("corrupt block 0x0040") << QStringList{"--corrupt-block", "0x0040"} << false;
}

void TestRadioSafety::verifyAfterAWrite()
{
    QFETCH(QStringList, options);
    QFETCH(bool, same);
    HistoryFolder history;
    RadioProcess radio(options + QStringList{"--band", QString::number(kBand)});
    Program p;
    QVERIFY2(p.connectTo(radio), qPrintable(p.openError));
    p.controller.writeRadio();
    QCOMPARE(p.controller.lastEnd(), TransferEnd::WriteComplete);
    QCOMPARE(p.takeTexts(), QStringList{english(Message::WriteSucceeded)});

    // The verify reads into a buffer of its own: nothing the windows show changes.
    const Workspace before = p.context.workspace();
    QSignalSpy changes(&p.context.document(), &Document::changed);
    p.controller.verifyRadio();
    QCOMPARE(p.controller.lastEnd(), TransferEnd::ReadComplete);
    QCOMPARE(changes.count(), 0);
    QVERIFY(p.context.workspace().readImage == before.readImage);
    QCOMPARE(p.context.workspace().band, before.band);
    QCOMPARE(history.entries().size(), 1);   // only the write

    if (same) {
        QCOMPARE(p.takeTexts(), QStringList{kSame});
        QVERIFY(!p.controller.verifyWindow());
        return;
    }
    QCOMPARE(p.takeTexts(), QStringList());
    VerifyWindow *window = p.controller.verifyWindow();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->findChild<QLabel *>(QStringLiteral("LabelVerify"))->text(), link_text::kVerifyDifferentFromWrite.en);
    auto *table = window->findChild<QTableWidget *>(QStringLiteral("TableVerify"));
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(table->horizontalHeaderItem(2)->text(), link_text::kColumnWritten.en);
    // Bit 0 of 0x0040, the flag byte of channel 5: its power, as the grid shows it.
    const int power = p.context.workspace().channels.row(5).optionIndex[0];
    QCOMPARE(p.rowOfDifferences(0), (QStringList{QStringLiteral("Channel 5 Power"),
                                                 channelOptionText(kColumnPower, power ^ 1, Language::English),
                                                 channelOptionText(kColumnPower, power, Language::English),
                                                 QStringLiteral("0x0040")}));
}

void TestRadioSafety::verifyWithoutAWrite()
{
    HistoryFolder history;
    RadioProcess radio({"--band", QString::number(kBand)}, programImage());
    Program p;
    QVERIFY2(p.connectTo(radio), qPrintable(p.openError));
    p.controller.verifyRadio();
    QCOMPARE(p.takeTexts(), QStringList{kSame});

    // Nothing written in this run: the radio is compared with what Save would write now.
    p.context.document().commitName(4, QStringLiteral("NEW"));
    p.controller.verifyRadio();
    QCOMPARE(p.takeTexts(), QStringList());
    QCOMPARE(p.controller.verifyWindow()->findChild<QLabel *>(QStringLiteral("LabelVerify"))->text(),
             link_text::kVerifyDifferentFromProgram.en);
    auto *table = p.controller.verifyWindow()->findChild<QTableWidget *>(QStringLiteral("TableVerify"));
    QCOMPARE(table->horizontalHeaderItem(2)->text(), link_text::kColumnInProgram.en);
    QCOMPARE(p.rowOfDifferences(0), (QStringList{QStringLiteral("Channel 4 Channel Name"), QString(),
                                                 QStringLiteral("NEW"), QStringLiteral("0x0818-0x081F")}));
    QVERIFY(p.context.document().isModified());   // the edit stays unsaved and unwritten
    QVERIFY(history.entries().isEmpty());
}

void TestRadioSafety::verifyAfterWritingOncePerWrite()
{
    HistoryFolder history;
    // The radio answers each write's last frame late, while the read-back
    // that follows at once has already begun.
    RadioProcess radio({"--band", QString::number(kBand), "--late-end-answer", "20"});
    Program p;
    QVERIFY2(p.connectTo(radio), qPrintable(p.openError));
    QVERIFY(!p.controller.verifiesAfterWriting());
    p.controller.setVerifyAfterWriting(true);
    p.controller.writeRadio();
    p.context.document().commitName(6, QStringLiteral("TWO"));
    p.controller.writeRadio();
    const QString written = english(Message::WriteSucceeded);
    QCOMPARE(p.takeTexts(), (QStringList{written, kSame, written, kSame}));
    QVERIFY(radio.waitForLine(QStringLiteral("session end"), 4));
    QCOMPARE(radio.linesWith(QStringLiteral("session end")).filter(QStringLiteral("reads=192")).size(), 2);

    p.controller.setVerifyAfterWriting(false);
    p.controller.writeRadio();
    QCOMPARE(p.takeTexts(), QStringList{written});
    QVERIFY(radio.waitForLine(QStringLiteral("session end"), 5));
    QCOMPARE(radio.linesWith(QStringLiteral("session end")).size(), 5);
}

void TestRadioSafety::historyOfReadAndWrite()
{
    HistoryFolder history;
    MemoryImage memory = programImage();
    memory.fill(0x07C0, 0x07EF, 0x3C);   // bytes no decode looks at: the file keeps them too
    RadioProcess radio({"--band", QString::number(kBand)}, memory);
    Program p;
    QVERIFY2(p.connectTo(radio), qPrintable(p.openError));

    p.controller.readRadio();
    QCOMPARE(p.takeTexts(), QStringList{english(Message::ReadSucceeded)});
    QList<HistoryEntry> entries = history.entries();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].direction, HistoryDirection::Read);
    QCOMPARE(entries[0].band, QStringLiteral("400-470MHz"));
    QCOMPARE(fileBytes(entries[0].path), datFileBytes(memory));

    p.context.document().commitName(4, QStringLiteral("SENT"));
    p.controller.writeRadio();
    QCOMPARE(p.takeTexts(), QStringList{english(Message::WriteSucceeded)});
    entries = history.entries();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0].direction, HistoryDirection::Written);
    const MemoryImage &written = p.controller.session().lastWritten()->image;
    QVERIFY(written == p.context.workspace().writeImage);
    QCOMPARE(fileBytes(entries[0].path), datFileBytes(written));
    QVERIFY(radio.waitForLine(QStringLiteral("saved")));
    QCOMPARE(radio.savedMemory().bytes(kChannelNames.start, 0x0400), written.bytes(kChannelNames.start, 0x0400));
}

void TestRadioSafety::historyThatCannotBeWritten()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("state")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_STATE_HOME", QFile::encodeName(blocker.fileName()));
    RadioProcess radio({"--band", "5"}, programImage());
    Program p;
    QVERIFY2(p.connectTo(radio), qPrintable(p.openError));

    p.controller.readRadio();
    QCOMPARE(p.controller.lastEnd(), TransferEnd::ReadComplete);
    QCOMPARE(p.messages.size(), 2);
    QCOMPARE(p.messages[0].text, english(Message::ReadSucceeded));
    QVERIFY(p.messages[1].text.startsWith(link_text::kHistoryNotSaved.en));
    QVERIFY(p.messages[1].text.contains(QLatin1String("quillon/history")));
    QCOMPARE(p.messages[1].style, kStyleExclamation);
    // The read itself went through: the windows show the radio.
    QCOMPARE(p.context.workspace().channels.cell(5, kColumnName), QStringLiteral("CALL"));
    QVERIFY(!p.context.document().isModified());
    p.messages.clear();

    p.context.document().commitName(4, QStringLiteral("SENT"));
    p.context.document().selectBand(5);
    p.controller.writeRadio();
    QCOMPARE(p.controller.lastEnd(), TransferEnd::WriteComplete);
    QCOMPARE(p.takeTexts().first(), english(Message::WriteSucceeded));
    QVERIFY(!p.context.document().isModified());
}

void TestRadioSafety::wireFailsDuringAWrite_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<TransferEnd>("end");
    QTest::newRow("cut off") << "--cut-after" << TransferEnd::LinkLost;
    QTest::newRow("garbage") << "--garbage-after" << TransferEnd::Timeout;
    QTest::newRow("flood") << "--flood-after" << TransferEnd::Timeout;
}

void TestRadioSafety::wireFailsDuringAWrite()
{
    QFETCH(QString, fault);
    QFETCH(TransferEnd, end);
    HistoryFolder history;
    // Frame 50 is a block in the middle of the channels.
    RadioProcess radio({"--band", QString::number(kBand), fault, "50"}, MemoryImage());
    Program p;
    QVERIFY2(p.connectTo(radio), qPrintable(p.openError));
    p.context.document().commitName(4, QStringLiteral("PENDING"));
    const Workspace before = p.context.workspace();
    QSignalSpy changes(&p.context.document(), &Document::changed);

    p.controller.writeRadio();
    QCOMPARE(p.controller.lastEnd(), end);
    QCOMPARE(p.messages.size(), 1);
    QCOMPARE(p.messages[0].text, english(Message::CommunicationError));
    QCOMPARE(p.messages[0].style, kStyleStop);
    // The windows show what they showed, still unsaved; no history of a failed write.
    QCOMPARE(changes.count(), 0);
    QCOMPARE(p.context.workspace().channels, before.channels);
    QCOMPARE(p.context.workspace().band, before.band);
    QVERIFY(p.context.document().isModified());
    QVERIFY(history.entries().isEmpty());

    const TransferSession &session = p.controller.session();
    QVERIFY(session.receiveText().text().size() <= ReceiveText::kKeptDigits);
    const TraceTransfer &transfer = session.trace().transfers().back();
    QVERIFY(transfer.keptBytes <= SerialTrace::kBytesPerTransfer + SerialTrace::kEntryBytes);
    if (fault == QLatin1String("--flood-after")) {
        QVERIFY(radio.waitForLine(QStringLiteral("flood end")));
        const qint64 flooded = radio.linesWith(QStringLiteral("flood end")).first().section(u'=', 1).toLongLong();
        qint64 received = 0;
        for (const TraceEntry &entry : transfer.entries)
            received += entry.sent ? 0 : entry.size;
        // More came than is kept, and all of it was counted.
        QVERIFY2(received > SerialTrace::kBytesPerTransfer, qPrintable(QString::number(received)));
        QVERIFY(received <= flooded + 100);   // and the answers before the flood
    }
}

QTEST_MAIN(TestRadioSafety)
#include "tst_radio_safety.moc"
