#include "features/calibration.h"
#include "features/dtmf.h"
#include "features/fm_radio.h"
#include "image/address_map.h"
#include "document/workspace.h"

#include <QTest>

using namespace quillon;

namespace {

// An erased image with data stored at address.
MemoryImage imageWith(int address, const QByteArray &data)
{
    MemoryImage image = MemoryImage::fromByteArray(QByteArray(kImageSize, char(0xFF)));
    image.store(address, data);
    return image;
}

QByteArray fmBytes(const MemoryImage &image, int channel)
{
    return image.bytes(kFmChannels.address(channel - 1), 2);
}

} // namespace

class TestDtmfFmCalibration : public QObject {
    Q_OBJECT

private slots:
    void calibrationImage_data();
    void calibrationImage();
    void calibrationDefaults();

    void dtmfDecode_data();
    void dtmfDecode();
    void dtmfAniEndCodeThroughPassesAndNew();

    void fmDecodeChannel_data();
    void fmDecodeChannel();
    void fmCellRules_data();
    void fmCellRules();
    void fmFrequencyMode_data();
    void fmFrequencyMode();
    void fmSettingBytes();
    void fmCancelledEdits();
};

void TestDtmfFmCalibration::calibrationImage_data()
{
    QTest::addColumn<QByteArray>("bytes");    // 0x07F0..0x07F8
    QTest::addColumn<QList<int>>("sliders");  // k = 0..8
    QTest::newRow("permuted") << QByteArray::fromHex("0a0b0c0d0e0f101112")
                              << QList<int>{13, 10, 14, 15, 11, 16, 17, 12, 18};
    QTest::newRow("erased reads as 255") << QByteArray(9, char(0xFF)) << QList<int>(9, 255);
}

void TestDtmfFmCalibration::calibrationImage()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, sliders);
    CalibrationStore store;
    store.decode(imageWith(kCalibration, bytes));
    for (int k = 0; k < CalibrationStore::kCount; ++k)
        QCOMPARE(store.value(k), sliders[k]);
    MemoryImage out = imageWith(0, {});
    store.encode(out);
    const QByteArray erased(1, char(0xFF));   // the neighbours stay untouched
    QCOMPARE(out.bytes(kCalibration - 1, 11).toHex(), (erased + bytes + erased).toHex());
}

void TestDtmfFmCalibration::calibrationDefaults()
{
    CalibrationStore store;
    MemoryImage out;
    store.encode(out);
    QCOMPARE(out.bytes(kCalibration, 9).toHex(), QByteArray("d0a074dadaa0a07c7c"));
    store.setValue(5, 300);   // a slider never leaves the byte range
    QCOMPARE(store.value(5), 255);
}

void TestDtmfFmCalibration::dtmfDecode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("aniEndCode");
    QTest::newRow("padded") << QByteArray::fromHex("313233") << QStringLiteral("123");
    QTest::newRow("gaps skipped") << QByteArray::fromHex("ff41ff42") << QStringLiteral("AB");
    QTest::newRow("erased") << QByteArray() << QString();
    QTest::newRow("all sixteen") << QByteArray("0123456789ABCD*#") << QStringLiteral("0123456789ABCD*#");
    QTest::newRow("one byte, one character") << QByteArray::fromHex("e900") << QStringLiteral("\u00e9") + QChar(0);
}

void TestDtmfFmCalibration::dtmfDecode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, aniEndCode);
    DtmfSettings dtmf;
    dtmf.aniEndCode = QStringLiteral("OLD");
    dtmf.decode(imageWith(kDtmfAniEndCode, bytes));
    QCOMPARE(dtmf.aniEndCode, aniEndCode);
}

void TestDtmfFmCalibration::dtmfAniEndCodeThroughPassesAndNew()
{
    Workspace ws;
    ws.readImage = imageWith(kDtmfAniEndCode, QByteArray("123"));
    ws.writeImage = imageWith(0, QByteArray(kImageSize, 0x33));
    decodeImage(ws);
    encodeImage(ws);
    QCOMPARE(ws.writeImage.bytes(kDtmfAniEndCode, 16), QByteArray(16, char(0xFF)));

    ws.dtmf.ownCode = QStringLiteral("1");
    ws.dtmf.firstDigitDelay = 0;
    ws.dtmf.startForm();
    QCOMPARE(ws.dtmf.aniEndCode, QStringLiteral("123"));
    QCOMPARE(ws.dtmf.ownCode, QString());
    QCOMPARE(ws.dtmf.firstDigitDelay, 6);
}

void TestDtmfFmCalibration::fmDecodeChannel_data()
{
    QTest::addColumn<QByteArray>("bytes");   // hi, lo
    QTest::addColumn<QString>("text");
    QTest::newRow("v 256") << QByteArray::fromHex("0100") << QStringLiteral("88.80");
    QTest::newRow("v 522") << QByteArray::fromHex("020a") << QStringLiteral("102.10");
    QTest::newRow("lowest") << QByteArray::fromHex("0000") << QStringLiteral("76.00");
    QTest::newRow("108.00 kept") << QByteArray::fromHex("0280") << QStringLiteral("108.00");
    QTest::newRow("108.05 empty") << QByteArray::fromHex("0281") << QString();
    QTest::newRow("erased") << QByteArray::fromHex("ffff") << QString();
}

void TestDtmfFmCalibration::fmDecodeChannel()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    FmRadio fm;
    fm.decode(imageWith(kFmChannels.address(31), bytes));
    QCOMPARE(fm.store().channels[31], text);
    QCOMPARE(fm.cell(32), text);
    MemoryImage out;
    fm.encode(out);   // what was decoded encodes back
    QCOMPARE(fmBytes(out, 32).toHex(), text.isEmpty() ? QByteArray("ffff") : bytes.toHex());
}

void TestDtmfFmCalibration::fmCellRules_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<FmEdit>("result");
    QTest::addColumn<QString>("cell");        // the cell held 90.00
    QTest::addColumn<QByteArray>("afterOk");  // the channel's bytes after OK
    QTest::newRow("cut onto raster") << QStringLiteral("88.07") << FmEdit::Changed << QStringLiteral("88.05")
                                     << QByteArray("00f1");
    QTest::newRow("highest") << QStringLiteral("107.95") << FmEdit::Changed << QStringLiteral("107.95")
                             << QByteArray("027f");
    QTest::newRow("lowest") << QStringLiteral("76") << FmEdit::Changed << QStringLiteral("76.00")
                            << QByteArray("0000");
    QTest::newRow("emptied") << QString() << FmEdit::Changed << QString() << QByteArray("ffff");
    QTest::newRow("above") << QStringLiteral("107.97") << FmEdit::OutOfRange << QStringLiteral("90.00")
                           << QByteArray("0118");
    QTest::newRow("below") << QStringLiteral("75.99") << FmEdit::OutOfRange << QStringLiteral("90.00")
                           << QByteArray("0118");
    QTest::newRow("no number") << QStringLiteral("1.2.3") << FmEdit::Unchanged << QStringLiteral("90.00")
                               << QByteArray("0118");
}

void TestDtmfFmCalibration::fmCellRules()
{
    QFETCH(QString, typed);
    QFETCH(FmEdit, result);
    QFETCH(QString, cell);
    QFETCH(QByteArray, afterOk);
    FmRadio fm;
    fm.commitCell(5, QStringLiteral("90"));
    QCOMPARE(fm.commitCell(5, typed), result);
    QCOMPARE(fm.cell(5), cell);
    QCOMPARE(fm.store().channels[4], QString());   // only OK stores
    fm.ok();
    MemoryImage out;
    fm.encode(out);
    QCOMPARE(fmBytes(out, 5).toHex(), afterOk);
}

void TestDtmfFmCalibration::fmFrequencyMode_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<FmEdit>("result");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("afterOk");   // 0x07A4, 0x07A5
    QTest::newRow("cut onto raster") << QStringLiteral("107.99") << FmEdit::Changed << QStringLiteral("107.95")
                                     << QByteArray("027f");
    QTest::newRow("108 refused") << QStringLiteral("108") << FmEdit::OutOfRange << QString() << QByteArray("ffff");
    QTest::newRow("below") << QStringLiteral("75.95") << FmEdit::OutOfRange << QString() << QByteArray("ffff");
    QTest::newRow("empty") << QString() << FmEdit::Unchanged << QString() << QByteArray("ffff");
    // The box lets texts through that are no number; they store no frequency.
    QTest::newRow("no number") << QStringLiteral("9.9.9") << FmEdit::Unchanged << QStringLiteral("9.9.9")
                               << QByteArray("ffff");
}

void TestDtmfFmCalibration::fmFrequencyMode()
{
    QFETCH(QString, typed);
    QFETCH(FmEdit, result);
    QFETCH(QString, shown);
    QFETCH(QByteArray, afterOk);
    FmRadio fm;
    fm.decode(imageWith(kFmFrequencyMode, QByteArray::fromHex("00f0")));
    fm.typeFrequencyMode(typed);
    QCOMPARE(fm.commitFrequencyMode(), result);
    QCOMPARE(fm.controls().frequencyModeText, shown);
    QCOMPARE(fm.store().frequencyMode, QStringLiteral("88.00"));
    fm.ok();
    MemoryImage out;
    fm.encode(out);
    QCOMPARE(out.bytes(kFmFrequencyMode - 1, 3).toHex(), "ff" + afterOk);   // 0x07A3 always erased
}

void TestDtmfFmCalibration::fmSettingBytes()
{
    FmRadio fm;
    fm.decode(imageWith(kFmPresentChannel, QByteArray::fromHex("0501")));
    QCOMPARE(fm.controls().presentChannelText, QStringLiteral("5"));
    QCOMPARE(fm.controls().displayModeIndex, 1);
    QCOMPARE(fm.controls().stepIndex, 0);   // 0xFF has no entry: unchanged
    MemoryImage out = imageWith(0, QByteArray(kImageSize, 0x5A));
    fm.encode(out);
    QCOMPARE(out.bytes(kFmPresentChannel, 3).toHex(), QByteArray("05015a"));   // 255 is not written

    fm.selectPresentChannel(QStringLiteral("12"));
    fm.selectStep(2);
    fm.selectDisplayMode(-1);
    fm.encode(out);
    QCOMPARE(out.bytes(kFmPresentChannel, 3).toHex(), QByteArray("05015a"));   // nothing before OK
    fm.ok();
    fm.encode(out);
    QCOMPARE(out.bytes(kFmPresentChannel, 3).toHex(), QByteArray("0c0102"));
}

void TestDtmfFmCalibration::fmCancelledEdits()
{
    FmRadio fm;
    fm.decode(imageWith(kFmChannels.start, QByteArray::fromHex("00f000f0")));   // 88.00, 88.00
    // Edited without OK: emptiness comes from the grid, values from the store.
    fm.commitCell(1, QString());
    fm.commitCell(2, QStringLiteral("99"));
    fm.commitCell(3, QStringLiteral("90"));
    MemoryImage out;
    fm.encode(out);
    QCOMPARE(fmBytes(out, 1).toHex(), QByteArray("ffff"));
    QCOMPARE(fmBytes(out, 2).toHex(), QByteArray("00f0"));
    // A cell filled in but never confirmed has no stored value: written as empty.
    QCOMPARE(fmBytes(out, 3).toHex(), QByteArray("ffff"));
}

QTEST_GUILESS_MAIN(TestDtmfFmCalibration)
#include "tst_dtmf_fm_calibration.moc"
