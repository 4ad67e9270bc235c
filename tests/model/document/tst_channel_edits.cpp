#include "document/channel_edits.h"

#include "image/address_map.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <functional>

using namespace quillon;

namespace {

QByteArray saved(Document &document)
{
    return document.encode().toByteArray();
}

QByteArray recordAndName(Document &document, int channel)
{
    const MemoryImage &image = document.encode();
    return image.bytes(kChannelRecords.address(channel - 1), 13) + image.bytes(kChannelNames.address(channel - 1), 8);
}

// Band 400-470MHz with channels 1..4 of different kinds.
void fill(Document &document)
{
    document.newImage();
    document.commitFrequency(1, kColumnRx, QStringLiteral("446.00625"));
    document.commitFrequency(1, kColumnTx, QStringLiteral("441.00625"));
    document.chooseTone(1, kColumnRxTone, 13);    // 100.0
    document.chooseTone(1, kColumnTxTone, 60);    // D050N
    document.chooseOption(1, kColumnPower, 2);
    document.commitName(1, QStringLiteral("RPT"));
    document.commitFrequency(2, kColumnRx, QStringLiteral("462.5625"));
    document.chooseOption(2, kColumnBandwidth, 0);
    document.chooseOption(2, kColumnScanAdd, 0);
    document.commitFrequency(3, kColumnRx, QStringLiteral("433.5"));
    document.commitName(3, QStringLiteral("CALL"));
    document.commitFrequency(4, kColumnRx, QStringLiteral("401.025"));
}

} // namespace

class TestChannelEdits : public QObject {
    Q_OBJECT

private slots:
    void copyIsTableText();
    void pasteReproducesRows();
    void pasteAcrossLanguages();
    void pasteOverTheBandEdge();
    void pasteOneValueIntoABlock();
    void rowOperations();
    void insertAndMoveAtTheEdges();
    void everyOperationUndoes_data();
    void everyOperationUndoes();
    void randomOperationsUndoToTheStart();
};

void TestChannelEdits::copyIsTableText()
{
    Document document;
    fill(document);
    const ChannelSheet &sheet = document.workspace().channels;
    QCOMPARE(copyCells(sheet, {1, 2, kColumnRx, kColumnRxTone}),
             QStringLiteral("446.00625\t441.00625\t100.0\n462.56250\t462.56250\tOff\n"));
    QCOMPARE(copyChannels(sheet, {3}),
             QStringLiteral("433.50000\t433.50000\tOff\tOff\tHigh\tOff\tOn\tWide\tOff\tOff\tCALL\n"));
    QCOMPARE(copyChannels(sheet, {5}), QString(10, u'\t') + u'\n');   // an empty channel
}

void TestChannelEdits::pasteReproducesRows()
{
    Document document;
    fill(document);
    const QString text = copyChannels(document.workspace().channels, {1, 2, 3, 4});
    const PasteResult result = pasteText(document, 60, kColumnRx, text);
    QVERIFY(result.notTaken.isEmpty());
    QCOMPARE(document.undoKind(), EditKind::ChannelRows);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(recordAndName(document, 60 + i).toHex(), recordAndName(document, 1 + i).toHex());

    // Pasted over a filled channel with CRLF line ends: the row is replaced,
    // an empty row pasted empties its channel.
    QString crlf = copyChannels(document.workspace().channels, {2, 5});
    crlf.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    pasteText(document, 3, kColumnRx, crlf);
    QCOMPARE(recordAndName(document, 3), recordAndName(document, 2));
    QCOMPARE(recordAndName(document, 4), recordAndName(document, 5));
    QVERIFY(document.workspace().channels.row(4).rxText.isEmpty());
}

void TestChannelEdits::pasteAcrossLanguages()
{
    Document english;
    fill(english);
    const QString englishRows = copyChannels(english.workspace().channels, {1, 2});
    Document chinese;
    fill(chinese);
    chinese.setLanguage(Language::Chinese);
    const QString chineseRows = copyChannels(chinese.workspace().channels, {1, 2});
    QVERIFY(chineseRows.contains(QString::fromUtf8("窄带")));

    pasteText(chinese, 10, kColumnRx, englishRows);
    pasteText(english, 10, kColumnRx, chineseRows);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(recordAndName(chinese, 10 + i), recordAndName(chinese, 1 + i));
        QCOMPARE(recordAndName(english, 10 + i), recordAndName(english, 1 + i));
    }
    // Any case, either language.
    QVERIFY(pasteText(english, 1, kColumnRxTone, QStringLiteral("off\td023n\t中")).notTaken.isEmpty());
    QCOMPARE(english.workspace().channels.row(1).rxToneIndex, 0);
    QCOMPARE(english.workspace().channels.row(1).txToneIndex, 52);
    QCOMPARE(english.workspace().channels.row(1).optionIndex[0], 2);
    QCOMPARE(english.workspace().channels.cell(1, kColumnPower), QStringLiteral("Middle"));
}

void TestChannelEdits::pasteOverTheBandEdge()
{
    Document document;
    fill(document);
    const QByteArray before = saved(document);
    const QString block = QStringLiteral("469.99375\t469.99375\t67.0\n"
                                         "470\t450\t67.0\n"
                                         "399.99\t450\tOff\n");
    const PasteResult result = pasteText(document, 20, kColumnRx, block);
    QCOMPARE(result.notTaken.size(), 2);
    QCOMPARE(result.notTaken[0].channel, 21);
    QCOMPARE(result.notTaken[0].reason, QStringLiteral("470 is outside the band 400-470MHz"));
    QCOMPARE(result.notTaken[1].channel, 22);
    QCOMPARE(document.workspace().channels.cell(20, kColumnRxTone), QStringLiteral("67.0"));
    QVERIFY(document.workspace().channels.row(21).rxText.isEmpty());
    QVERIFY(document.workspace().channels.row(22).rxText.isEmpty());
    QCOMPARE(pasteSummary(result, Language::English),
             QStringLiteral("These were not pasted:\nChannel 21: 470 is outside the band 400-470MHz\n"
                            "Channel 22: 399.99 is outside the band 400-470MHz"));
    // Other cells that fail are named and the rest of the row is taken; a
    // reason with one text leaves Qt nothing to warn about.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    const PasteResult cells = pasteText(document, 20, kColumnTx, QStringLiteral("abc\t69.4\tD023I\tLow"));
    QCOMPARE(cells.notTaken.size(), 1);
    QCOMPARE(cells.notTaken[0].reason, QStringLiteral("abc is not a frequency; 69.4 is not in the list"));
    QCOMPARE(document.workspace().channels.cell(20, kColumnTxTone), QStringLiteral("D023I"));
    document.undo();
    document.undo();
    QCOMPARE(saved(document), before);
}

void TestChannelEdits::pasteOneValueIntoABlock()
{
    Document document;
    fill(document);
    const CellBlock block{1, 3, kColumnPower, kColumnBusyLock};
    pasteText(document, 1, kColumnPower, QStringLiteral("low\n"), {block});
    for (int channel = 1; channel <= 3; ++channel)
        QCOMPARE(document.workspace().channels.row(channel).optionIndex[0], 0);
    QCOMPARE(document.workspace().channels.row(2).optionIndex[1], 1);   // "low" is not a busy-lock entry
    QCOMPARE(document.undoCount(), 14);   // one step
    // A name goes through the name editor's rule.
    const CellBlock names{5, 6, kColumnName, kColumnName};
    pasteText(document, 5, kColumnName, QString::fromUtf8("中文名abcdefgh"), {names});
    QCOMPARE(document.workspace().channels.row(6).name, QStringLiteral("ABCDE"));

    // Rows picked one by one are blocks of their own; the rows between stay.
    const int steps = document.undoCount();
    const QList<CellBlock> rows{{1, 1, kColumnNumber, kColumnName}, {3, 3, kColumnNumber, kColumnName}};
    const PasteResult result = pasteText(document, 1, kColumnRx, QStringLiteral("D023N\r\n"), rows);
    QCOMPARE(document.undoCount(), steps);   // every row refused its receive frequency: nothing changed
    QCOMPARE(result.notTaken.size(), 2);
    QCOMPARE(result.notTaken[1].channel, 3);
    pasteText(document, 1, kColumnRxTone, QStringLiteral("D023N"),
              {{1, 1, kColumnRxTone, kColumnTxTone}, {3, 3, kColumnTxTone, kColumnTxTone}});
    QCOMPARE(document.workspace().channels.cell(1, kColumnTxTone), QStringLiteral("D023N"));
    QCOMPARE(document.workspace().channels.cell(2, kColumnTxTone), QStringLiteral("Off"));
    QCOMPARE(document.workspace().channels.cell(3, kColumnRxTone), QStringLiteral("Off"));
    QCOMPARE(document.workspace().channels.cell(3, kColumnTxTone), QStringLiteral("D023N"));

    // What counts as one value: a trailing line end does not make a second row.
    QVERIFY(isSingleValue(QStringLiteral("440.00000\n")));
    QVERIFY(isSingleValue(QStringLiteral("440.00000\r\n")));
    QVERIFY(!isSingleValue(QStringLiteral("440\t450")));
    QVERIFY(!isSingleValue(QStringLiteral("440\n450\n")));
}

void TestChannelEdits::rowOperations()
{
    Document document;
    fill(document);
    const QByteArray one = recordAndName(document, 1);
    const QByteArray three = recordAndName(document, 3);

    QVERIFY(insertChannel(document, 2));
    QCOMPARE(recordAndName(document, 1), one);
    QVERIFY(document.workspace().channels.row(2).rxText.isEmpty());
    QCOMPARE(recordAndName(document, 4), three);

    removeChannels(document, {2});
    QCOMPARE(recordAndName(document, 3), three);

    QCOMPARE(moveChannels(document, {3, 4}, -1), (QList<int>{2, 3}));
    QCOMPARE(recordAndName(document, 2), three);
    QCOMPARE(document.workspace().channels.row(4).rxText, QStringLiteral("462.56250"));

    sortByReceiveFrequency(document, {});
    QCOMPARE(document.workspace().channels.row(1).rxText, QStringLiteral("401.02500"));
    QCOMPARE(document.workspace().channels.row(2).rxText, QStringLiteral("433.50000"));
    QCOMPARE(document.workspace().channels.row(2).name, QStringLiteral("CALL"));
    QCOMPARE(document.workspace().channels.row(4).rxText, QStringLiteral("462.56250"));
    QVERIFY(document.workspace().channels.row(5).rxText.isEmpty());

    document.chooseTone(1, kColumnTxTone, 2);
    fillDown(document, {1, 2, 3, 4}, kColumnTxTone);
    for (int channel = 1; channel <= 4; ++channel)
        QCOMPARE(document.workspace().channels.cell(channel, kColumnTxTone), QStringLiteral("69.3"));
    clearChannels(document, {1, 2});
    QVERIFY(document.workspace().channels.isBlank(1) && document.workspace().channels.isBlank(2));
}

void TestChannelEdits::insertAndMoveAtTheEdges()
{
    Document document;
    fill(document);
    document.commitName(128, QStringLiteral("END"));   // an empty channel with a name is not blank
    const QByteArray before = saved(document);
    const int steps = document.undoCount();
    QVERIFY(!insertChannel(document, 1));
    QCOMPARE(moveChannels(document, {1}, -1), QList<int>{1});
    QCOMPARE(moveChannels(document, {2, 128}, 1), (QList<int>{2, 128}));
    QCOMPARE(saved(document), before);
    QCOMPARE(document.undoCount(), steps);
}

void TestChannelEdits::everyOperationUndoes_data()
{
    QTest::addColumn<std::function<void(Document &)>>("operation");
    using Op = std::function<void(Document &)>;
    QTest::newRow("paste") << Op([](Document &d) { pasteText(d, 2, kColumnTx, QStringLiteral("450\tD023N")); });
    QTest::newRow("cut") << Op([](Document &d) { clearChannels(d, {1, 3}); });
    QTest::newRow("insert") << Op([](Document &d) { insertChannel(d, 1); });
    QTest::newRow("remove") << Op([](Document &d) { removeChannels(d, {1, 2}); });
    QTest::newRow("move down") << Op([](Document &d) { moveChannels(d, {1}, 1); });
    QTest::newRow("sort") << Op([](Document &d) { sortByReceiveFrequency(d, {}); });
    QTest::newRow("fill") << Op([](Document &d) { fillDown(d, {1, 2, 3}, kColumnRx); });
    QTest::newRow("new") << Op([](Document &d) { d.newImage(); });
    QTest::newRow("band change") << Op([](Document &d) { d.confirmBandChange(0); });
}

void TestChannelEdits::everyOperationUndoes()
{
    QFETCH(std::function<void(Document &)>, operation);
    Document document;
    fill(document);
    const QByteArray before = saved(document);
    operation(document);
    const QByteArray after = saved(document);
    QVERIFY(after != before);
    document.undo();
    QCOMPARE(saved(document), before);
    document.redo();
    QCOMPARE(saved(document), after);
}

void TestChannelEdits::randomOperationsUndoToTheStart()
{
    QRandomGenerator random(20261209);
    Document document;
    fill(document);
    const QByteArray start = saved(document);
    const int startSteps = document.undoCount();
    int steps = 0;
    while (steps < 150) {
        const int before = document.undoCount();
        const int channel = 1 + random.bounded(128);
        switch (random.bounded(9)) {
        case 0:
            document.commitFrequency(channel, kColumnRx, QString::number(400 + random.bounded(70000) / 1000.0, 'f', 3));
            break;
        case 1: document.chooseTone(channel, kColumnRxTone, random.bounded(265)); break;
        case 2: document.commitName(channel, QString::number(random.bounded(1000))); break;
        case 3: pasteText(document, channel, 1 + random.bounded(11), copyChannels(document.workspace().channels, {1, 2})); break;
        case 4: moveChannels(document, {channel}, random.bounded(2) ? 1 : -1); break;
        case 5: removeChannels(document, {channel}); break;
        case 6: insertChannel(document, channel); break;
        case 7: document.setFeatureSelection(Feature::SquelchLevel, random.bounded(10)); break;
        default: sortByReceiveFrequency(document, {channel, 1 + random.bounded(128)}); break;
        }
        if (document.undoCount() > before)
            ++steps;
    }
    while (document.undoCount() > startSteps)
        document.undo();
    QCOMPARE(saved(document), start);
}

QTEST_GUILESS_MAIN(TestChannelEdits)
#include "tst_channel_edits.moc"
