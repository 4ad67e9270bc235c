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

// A document edited everywhere: band 0 with three channels, every DTMF
// field, optional features (password, VOX receive inhibit and "allow to
// cancel" among them), FM channels, calibration values, both images and the
// Chinese language.
MemoryImage radioImage()
{
    MemoryImage radio = MemoryImage::fromByteArray(QByteArray(kImageSize, '\x5A'));
    radio.set(kBandIndex, 0);
    return radio;
}

void editEverything(Document &document)
{
    document.openImage(radioImage());   // the read image
    document.setLanguage(Language::Chinese);
    for (int channel : {1, 64, 128})
        QCOMPARE(document.commitFrequency(channel, kColumnRx, QStringLiteral("150")), FrequencyCommit::Stored);
    document.commitName(64, QStringLiteral("MID"));
    DtmfSettings dtmf;
    dtmf.speed = 1;
    dtmf.firstDigitDelay = 2;
    dtmf.aniStartCode = QStringLiteral("12A");
    dtmf.aniEndCode = QStringLiteral("34B");
    dtmf.aniSending = 2;
    dtmf.groupCallCode = 3;
    dtmf.ownCode = QStringLiteral("99");
    dtmf.memories.fill(QStringLiteral("1#"));
    document.setDtmf(dtmf);
    document.setFeatureText(Feature::Password, QStringLiteral("1234"));
    document.setFeatureText(Feature::PowerOnText, QStringLiteral("HELLO"));
    document.setFeatureText(Feature::PriorityChannel, QStringLiteral("7"));
    document.setFeatureText(Feature::VfoOffset, QStringLiteral("5.00000"));
    QVERIFY(document.setFeatureSelection(Feature::VoxRxInhibit, 1));
    QVERIFY(document.setFeatureSelection(Feature::AllowCancel, 0));
    QVERIFY(document.setFeatureSelection(Feature::Beep, 1));
    QVERIFY(document.setFeatureSelection(Feature::ReverseFrequency, 0));
    QVERIFY(document.setFeatureSelection(Feature::VfoCallTone, 1));
    QCOMPARE(document.commitFmCell(3, QStringLiteral("99.1")), FmEdit::Changed);
    document.confirmFm();
    document.setCalibrationValue(5, 77);
    document.encode();   // the write image
    document.modes().clickCaption(HiddenMode::Fm, 0, 10);
    document.modes().clickCaption(HiddenMode::Fm, 1, 10);
    document.modes().clickCaption(HiddenMode::Fm, 2, 10);
}

} // namespace

class TestDocument : public QObject {
    Q_OBJECT

private slots:
    void operationsAreSteps();
    void undoAndRedoGiveTheSameBytes();
    void nothingChangedIsNoStep();
    void newImageAndBandChange();
    void newImageResetsAndKeeps();
    void newImageBytes();
    void confirmedBandChange_data();
    void confirmedBandChange();
    void bandReselectedAfterCancelChangesNothing();
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

void TestDocument::newImageResetsAndKeeps()
{
    Document document;
    editEverything(document);
    const Workspace &ws = document.workspace();
    const Workspace before = ws;
    QVERIFY(ws.modes.isOn(HiddenMode::Fm));
    document.newImage();

    // Band 400-470MHz, every channel empty in its row and its cells.
    QCOMPARE(ws.band, (BandState{3, 400, 470}));
    for (int channel = 1; channel <= ChannelSheet::kChannels; ++channel) {
        QCOMPARE(ws.channels.row(channel), ChannelRow());
        for (int column = 1; column < ChannelSheet::kColumns; ++column)
            QVERIFY2(ws.channels.cell(channel, column).isEmpty(), qPrintable(QStringLiteral("%1/%2").arg(channel).arg(column)));
    }
    // DTMF at its defaults, but the ANI end code came from the radio.
    DtmfSettings dtmf;
    dtmf.aniEndCode = QStringLiteral("34B");
    QCOMPARE(ws.dtmf, dtmf);
    // Optional features at their defaults with the VFO at the band centre;
    // the password, the VOX receive inhibit and "allow to cancel" stay.
    OptionalFeatures features;
    features.startForm(ws.band);
    features.setText(Feature::Password, QStringLiteral("1234"));
    features.setSelection(Feature::VoxRxInhibit, 1);
    features.setSelection(Feature::AllowCancel, 0);
    QCOMPARE(ws.features, features);
    QCOMPARE(ws.features.text(Feature::VfoFrequency), QStringLiteral("435.00000"));
    QCOMPARE(ws.features.selection(Feature::ReverseFrequency), 1);
    QCOMPARE(ws.features.selection(Feature::VfoCallTone), 4);
    // FM radio, calibration, both images, the language and the modes untouched.
    QCOMPARE(ws.fm.store(), before.fm.store());
    QCOMPARE(ws.fm.store().channels[2], QStringLiteral("99.10"));
    QCOMPARE(ws.calibration, before.calibration);
    QCOMPARE(ws.calibration.value(5), 77);
    QCOMPARE(ws.readImage.toByteArray(), before.readImage.toByteArray());
    QCOMPARE(ws.writeImage.toByteArray(), before.writeImage.toByteArray());
    QCOMPARE(ws.language, Language::Chinese);
    QVERIFY(ws.modes.isOn(HiddenMode::Fm));
    // One step, and undo brings every channel back.
    QCOMPARE(document.undoKind(), EditKind::NewImage);
    document.undo();
    QCOMPARE(ws.channels.row(64).name, QStringLiteral("MID"));
    QCOMPARE(ws.dtmf.ownCode, QStringLiteral("99"));
}

void TestDocument::newImageBytes()
{
    // Without a password and VOX receive inhibit New encodes the settings
    // block of a new image; the rest of what it writes is empty.
    Document document;
    editEverything(document);
    document.setFeatureText(Feature::Password, QString());
    QVERIFY(document.setFeatureSelection(Feature::VoxRxInhibit, 0));
    document.newImage();
    const MemoryImage &image = document.encode();
    QCOMPARE(image.bytes(kOptionBytes, 16).toHex(' '), QByteArray("00 01 04 01 05 01 7f 78 2b 01 01 ff 00 00 ff 02"));
    QCOMPARE(image.at(kBandIndex), std::uint8_t(3));
    QCOMPARE(image.bytes(kPowerOnText, 8), QByteArray(8, '\xFF'));
    QCOMPARE(image.bytes(kVfoFrequency, 16).toHex(' '), QByteArray("00 00 50 43 00 00 00 01 ff ff ff ff fd ff 01 ff"));
    QCOMPARE(image.bytes(kDtmfAniEndCode, 16), QByteArray(16, '\xFF'));
    QCOMPARE(image.bytes(kPassword, 4), QByteArray(4, '\xFF'));
    QCOMPARE(image.bytes(kChannelRecords.start, kChannelRecords.end() - kChannelRecords.start),
             QByteArray(kChannelRecords.end() - kChannelRecords.start, '\xFF'));
    // FM and calibration encode as they were: as a fresh document that read
    // the same radio, took the same FM and calibration edits and then New.
    Document fresh;
    fresh.openImage(radioImage());
    fresh.commitFmCell(3, QStringLiteral("99.1"));
    fresh.confirmFm();
    fresh.setCalibrationValue(5, 77);
    fresh.setFeatureText(Feature::Password, QString());
    QVERIFY(fresh.setFeatureSelection(Feature::VoxRxInhibit, 0));
    fresh.newImage();
    QCOMPARE(image.toByteArray(), saved(fresh));
}

void TestDocument::confirmedBandChange_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<QString>("centre");
    QTest::addColumn<QByteArray>("vfoBytes");   // 0x0720..0x0723
    QTest::newRow("136-174MHz") << 0 << "155.00000" << QByteArray::fromHex("00005015");
    QTest::newRow("400-470MHz") << 3 << "435.00000" << QByteArray::fromHex("00005043");
    QTest::newRow("450-470MHz") << 5 << "460.00000" << QByteArray::fromHex("00000046");
}

void TestDocument::confirmedBandChange()
{
    QFETCH(int, band);
    QFETCH(QString, centre);
    QFETCH(QByteArray, vfoBytes);
    Document document;
    editEverything(document);
    if (band == 0)
        document.selectBand(1);   // a change needs another band to start from
    const Workspace &ws = document.workspace();
    const Workspace before = ws;
    document.confirmBandChange(band);

    QCOMPARE(ws.band.index, band);
    for (int channel = 1; channel <= ChannelSheet::kChannels; ++channel) {
        QCOMPARE(ws.channels.row(channel), ChannelRow());
        QVERIFY(ws.channels.cell(channel, kColumnName).isEmpty());
    }
    QCOMPARE(ws.features.text(Feature::VfoFrequency), centre);
    // Nothing else: the other settings keep what the user set.
    OptionalFeatures features = before.features;
    features.setText(Feature::VfoFrequency, centre);
    QCOMPARE(ws.features, features);
    QCOMPARE(ws.dtmf, before.dtmf);
    QCOMPARE(ws.fm.store(), before.fm.store());
    QCOMPARE(ws.calibration, before.calibration);

    const MemoryImage &image = document.encode();
    QCOMPARE(image.bytes(kVfoFrequency, 4), vfoBytes);
    QCOMPARE(image.at(kBandIndex), std::uint8_t(band));
    QCOMPARE(image.bytes(kChannelRecords.start, kChannelRecords.end() - kChannelRecords.start),
             QByteArray(kChannelRecords.end() - kChannelRecords.start, '\xFF'));
    QCOMPARE(image.bytes(kPassword, 4), QByteArray("1234"));
}

void TestDocument::bandReselectedAfterCancelChangesNothing()
{
    // Cancel puts the previous band back as the program's own selection.
    Document document;
    editEverything(document);
    const QByteArray before = saved(document);
    const int steps = document.undoCount();
    QSignalSpy changes(&document, &Document::changed);
    document.selectBand(document.workspace().band.index);
    QCOMPARE(saved(document), before);
    QCOMPARE(document.undoCount(), steps);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(document.workspace().channels.row(1).rxText, QStringLiteral("150.00000"));
    // A band outside the list is no change either.
    document.confirmBandChange(10);
    QCOMPARE(saved(document), before);
    QCOMPARE(changes.count(), 0);
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
