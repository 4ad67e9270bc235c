#include "document/document.h"

#include "image/address_map.h"

#include <QSignalSpy>
#include <QTest>

using namespace quillon;

Q_DECLARE_METATYPE(quillon::Feature)

namespace {

QByteArray saved(Document &document)
{
    return document.encode().toByteArray();
}

} // namespace

class TestDocument : public QObject {
    Q_OBJECT

private slots:
    void operationsAreSteps();
    void undoAndRedoGiveTheSameBytes();
    void nothingChangedIsNoStep();
    void newImageAndBandChange();
    void openAndReadAreUndoable();
    void modifiedFollowsTheCleanPoint();
    void sliderDragIsOneStep();
    void undoneRowsFollowTheLanguage();
    void changesNameTheRows();
    void featureTextsAreCheckedWhenLeft_data();
    void featureTextsAreCheckedWhenLeft();
};

void TestDocument::operationsAreSteps()
{
    Document document;
    document.selectBand(3);
    QCOMPARE(document.undoCount(), 1);
    QCOMPARE(document.commitFrequency(1, kColumnRx, QStringLiteral("435.1")), FrequencyCommit::Stored);
    document.commitName(1, QStringLiteral("AB"));
    QVERIFY(document.chooseTone(1, kColumnRxTone, 1));
    QVERIFY(document.chooseOption(1, kColumnPower, 0));
    QVERIFY(document.setFeatureSelection(Feature::Beep, 0));
    document.setFeatureText(Feature::PowerOnText, QStringLiteral("HI"));
    DtmfSettings dtmf = document.workspace().dtmf;
    dtmf.ownCode = QStringLiteral("12");
    document.setDtmf(dtmf);
    QCOMPARE(document.commitFmCell(1, QStringLiteral("88.07")), FmEdit::Changed);
    document.setCalibrationValue(0, 5);
    QCOMPARE(document.undoCount(), 10);
    QCOMPARE(document.undoKind(), EditKind::Calibration);
}

void TestDocument::undoAndRedoGiveTheSameBytes()
{
    Document document;
    document.selectBand(3);
    const QByteArray start = saved(document);
    document.commitFrequency(7, kColumnRx, QStringLiteral("446.00625"));
    document.commitName(7, QStringLiteral("RPT"));
    document.setFeatureText(Feature::VfoFrequency, QStringLiteral("440.00000"));
    document.setCalibrationValue(4, 99);
    const QByteArray edited = saved(document);
    QVERIFY(edited != start);
    while (document.canUndo() && document.undoCount() > 1)
        document.undo();
    QCOMPARE(saved(document), start);
    while (document.canRedo())
        document.redo();
    QCOMPARE(saved(document), edited);
    document.undo();
    QVERIFY(document.canRedo());
    document.commitName(8, QStringLiteral("X"));   // a new step drops what could be redone
    QVERIFY(!document.canRedo());
}

void TestDocument::nothingChangedIsNoStep()
{
    Document document;
    document.selectBand(3);
    QSignalSpy changes(&document, &Document::changed);
    document.selectBand(3);
    QCOMPARE(document.commitFrequency(2, kColumnRx, QStringLiteral("1")), FrequencyCommit::OutOfBand);
    QCOMPARE(document.commitFrequency(2, kColumnTx, QString()), FrequencyCommit::Unchanged);
    QCOMPARE(document.undoCount(), 1);
    QCOMPARE(changes.count(), 0);
}

void TestDocument::newImageAndBandChange()
{
    Document document;
    document.selectBand(3);
    document.commitFrequency(1, kColumnRx, QStringLiteral("400"));
    document.confirmBandChange(0);
    QVERIFY(document.workspace().channels.row(1).rxText.isEmpty());
    QCOMPARE(document.workspace().features.text(Feature::VfoFrequency), QStringLiteral("155.00000"));
    document.undo();
    QCOMPARE(document.workspace().channels.row(1).rxText, QStringLiteral("400.00000"));
    QCOMPARE(document.workspace().band.index, 3);

    DtmfSettings dtmf = document.workspace().dtmf;
    dtmf.aniEndCode = QStringLiteral("123");
    dtmf.ownCode = QStringLiteral("9");
    document.setDtmf(dtmf);
    document.selectBand(0);
    document.newImage();
    QCOMPARE(document.workspace().band.index, 3);
    QVERIFY(document.workspace().channels.row(1).rxText.isEmpty());
    QVERIFY(document.workspace().dtmf.ownCode.isEmpty());
    QCOMPARE(document.workspace().dtmf.aniEndCode, QStringLiteral("123"));   // came from the radio, kept
    QCOMPARE(document.undoKind(), EditKind::NewImage);
}

void TestDocument::openAndReadAreUndoable()
{
    Document document;
    document.selectBand(3);
    document.commitFrequency(1, kColumnRx, QStringLiteral("400"));
    const QByteArray before = saved(document);
    MemoryImage image = MemoryImage::fromByteArray(QByteArray(kImageSize, '\xFF'));
    image.set(kBandIndex, 3);
    image.store(kChannelRecords.address(4), QByteArray::fromHex("5062254650622546ffffffff95"));
    document.openImage(image);
    QCOMPARE(document.workspace().channels.row(5).rxText, QStringLiteral("462.56250"));
    QVERIFY(!document.isModified());
    document.undo();
    QCOMPARE(saved(document), before);
    QVERIFY(document.isModified());
    document.readCompleted(image);
    QCOMPARE(document.undoKind(), EditKind::ReadRadio);
    QVERIFY(document.workspace().channels.row(1).rxText.isEmpty());
}

void TestDocument::modifiedFollowsTheCleanPoint()
{
    Document document;
    QSignalSpy modified(&document, &Document::modifiedChanged);
    QVERIFY(!document.isModified());
    document.selectBand(3);
    document.commitFrequency(3, kColumnRx, QStringLiteral("420"));
    QVERIFY(document.isModified());
    document.encode();
    document.markClean();
    QVERIFY(!document.isModified());
    document.commitName(3, QStringLiteral("A"));
    QVERIFY(document.isModified());
    document.undo();
    QVERIFY(!document.isModified());
    document.undo();
    QVERIFY(document.isModified());
    QCOMPARE(modified.count(), 5);
}

void TestDocument::sliderDragIsOneStep()
{
    Document document;
    for (int value = 10; value <= 50; value += 10)
        document.setCalibrationValue(2, value);
    QCOMPARE(document.undoCount(), 1);
    document.endContinuousEdit();
    document.setCalibrationValue(2, 60);
    document.setCalibrationValue(3, 70);
    QCOMPARE(document.undoCount(), 3);
    document.undo();
    document.undo();
    QCOMPARE(document.workspace().calibration.value(2), 50);
    document.undo();
    QCOMPARE(document.workspace().calibration.value(2), int(CalibrationStore::kDefaults[2]));
}

void TestDocument::undoneRowsFollowTheLanguage()
{
    Document document;
    document.selectBand(3);
    document.commitFrequency(1, kColumnRx, QStringLiteral("400"));
    document.commitFrequency(1, kColumnRx, QString());   // the channel is deleted
    document.setLanguage(Language::Chinese);
    document.undo();   // the language switch itself changed no data: the deletion comes back
    QCOMPARE(document.workspace().channels.row(1).rxText, QStringLiteral("400.00000"));
    QCOMPARE(document.workspace().channels.cell(1, kColumnRxTone), QString::fromUtf8("关闭"));
    QCOMPARE(document.language(), Language::Chinese);
}

void TestDocument::changesNameTheRows()
{
    Document document;
    document.selectBand(3);
    QSignalSpy changes(&document, &Document::changed);
    document.commitFrequency(9, kColumnRx, QStringLiteral("400"));
    QCOMPARE(changes.count(), 1);
    const Change change = changes.takeFirst().at(0).value<Change>();
    QCOMPARE(change.firstChannel, 9);
    QCOMPARE(change.lastChannel, 9);
    QVERIFY(change.areas & Area::Channels);
    QVERIFY(!(change.areas & Area::Features));
    document.confirmBandChange(5);
    const Change cleared = changes.takeFirst().at(0).value<Change>();
    QCOMPARE(cleared.firstChannel, 9);
    QVERIFY(cleared.areas & Area::Features);
    QVERIFY(cleared.areas & Area::Band);
}

void TestDocument::featureTextsAreCheckedWhenLeft_data()
{
    QTest::addColumn<Feature>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("address");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("vfo snapped") << Feature::VfoFrequency << "435.1234" << "435.12000" << 0x0720
                                 << QByteArray::fromHex("00205143");
    QTest::newRow("vfo outside the band") << Feature::VfoFrequency << "FFF.FFFFF" << "400.00000" << 0x0720
                                          << QByteArray::fromHex("00000040");
    QTest::newRow("offset limit") << Feature::VfoOffset << "150" << "99.99500" << 0x0724
                                  << QByteArray::fromHex("00959909");
    QTest::newRow("priority 0 is none") << Feature::PriorityChannel << "0" << "" << 0x0701 << QByteArray::fromHex("ff");
    QTest::newRow("present above 128") << Feature::PresentChannel << "200" << "128" << 0x0705
                                       << QByteArray::fromHex("80");
    QTest::newRow("password as typed") << Feature::Password << "0012" << "0012" << 0x0740
                                       << QByteArray::fromHex("30303132");
}

void TestDocument::featureTextsAreCheckedWhenLeft()
{
    QFETCH(Feature, field);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(int, address);
    QFETCH(QByteArray, bytes);

    Document document;
    document.newImage();   // 400-470MHz
    document.setFeatureText(field, typed);
    QCOMPARE(document.workspace().features.text(field), kept);
    QCOMPARE(document.encode().bytes(address, int(bytes.size())).toHex(), bytes.toHex());
}

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
