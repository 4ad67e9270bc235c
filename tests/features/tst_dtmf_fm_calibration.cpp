#include "features/calibration.h"
#include "features/dtmf.h"
#include "features/fm_radio.h"
#include "image/address_map.h"
#include "image/workspace.h"

#include <QTest>

using namespace quillon;

namespace {

// An image of erased bytes with data stored at address.
MemoryImage imageWith(int address, const QByteArray &data)
{
    MemoryImage image = MemoryImage::fromByteArray(QByteArray(kImageSize, char(0xFF)));
    image.store(address, data);
    return image;
}

QByteArray fmChannelBytes(const MemoryImage &image, int channel)
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
    void dtmfStartFormKeepsAniEndCode();
    void dtmfAniEndCodeIsErasedByEncoding();
    void dtmfKeyFilter_data();
    void dtmfKeyFilter();

    void fmDecodeChannel_data();
    void fmDecodeChannel();
    void fmEncodeChannel_data();
    void fmEncodeChannel();
    void fmCellRules_data();
    void fmCellRules();
    void fmFrequencyModeRules_data();
    void fmFrequencyModeRules();
    void fmFrequencyModeEncoding_data();
    void fmFrequencyModeEncoding();
    void fmSettings();
    void fmListBytesWithoutSelection();
    void fmCancelledEdits();
    void fmDecodedAreaEncodesBack();
};

// ---- calibration ---------------------------------------------------------

void TestDtmfFmCalibration::calibrationImage_data()
{
    QTest::addColumn<QByteArray>("bytes");   // 0x07F0..0x07F8
    QTest::addColumn<QList<int>>("sliders");  // k = 0..8
    QTest::newRow("ascending") << QByteArray::fromHex("0a0b0c0d0e0f101112")
                               << QList<int>{13, 10, 14, 15, 11, 16, 17, 12, 18};
    QTest::newRow("erased reads as 255") << QByteArray(9, char(0xFF)) << QList<int>(9, 255);
    QTest::newRow("zero") << QByteArray(9, '\0') << QList<int>(9, 0);
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
    QCOMPARE(out.bytes(kCalibration, 9), bytes);
    QCOMPARE(out.at(kCalibration - 1), 0xFF);       // neighbours untouched
    QCOMPARE(out.at(kCalibration + 9), 0xFF);
}

void TestDtmfFmCalibration::calibrationDefaults()
{
    CalibrationStore store;
    MemoryImage out;
    store.encode(out);
    QCOMPARE(out.bytes(kCalibration, 9), QByteArray::fromHex("d0a074dadaa0a07c7c"));   // 208,160,116,218,218,160,160,124,124

    store.setValue(4, 255);
    store.setValue(5, 300);   // a slider cannot go beyond a byte
    store.setValue(6, -1);
    store.encode(out);
    QCOMPARE(out.at(0x07F1), 0xFF);
    QCOMPARE(store.value(5), 255);
    QCOMPARE(store.value(6), 0);
}

// ---- DTMF ----------------------------------------------------------------

void TestDtmfFmCalibration::dtmfDecode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("aniEndCode");
    QTest::newRow("123") << QByteArray::fromHex("313233") + QByteArray(13, char(0xFF)) << QStringLiteral("123");
    QTest::newRow("gaps skipped") << QByteArray::fromHex("ff41ff42") + QByteArray(12, char(0xFF))
                                  << QStringLiteral("AB");
    QTest::newRow("erased") << QByteArray(16, char(0xFF)) << QString();
    QTest::newRow("all sixteen") << QByteArray("0123456789ABCD*#") << QStringLiteral("0123456789ABCD*#");
    QTest::newRow("one byte per character") << QByteArray::fromHex("e9ff00") + QByteArray(13, char(0xFF))
                                            << QString(QChar(0xE9)) + QChar(0);
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

void TestDtmfFmCalibration::dtmfStartFormKeepsAniEndCode()
{
    DtmfSettings dtmf;
    dtmf.decode(imageWith(kDtmfAniEndCode, QByteArray("123")));
    dtmf.speed = 1;
    dtmf.firstDigitDelay = 2;
    dtmf.aniStartCode = QStringLiteral("1");
    dtmf.aniSending = 2;
    dtmf.groupCallCode = 3;
    dtmf.ownCode = QStringLiteral("2");
    dtmf.memories.fill(QStringLiteral("3"));

    dtmf.startForm();
    QCOMPARE(dtmf.aniEndCode, QStringLiteral("123"));
    QCOMPARE(dtmf.speed, 0);
    QCOMPARE(dtmf.firstDigitDelay, 6);
    QCOMPARE(dtmf.aniStartCode, QString());
    QCOMPARE(dtmf.aniSending, 0);
    QCOMPARE(dtmf.groupCallCode, 0);
    QCOMPARE(dtmf.ownCode, QString());
    for (const QString &memory : dtmf.memories)
        QCOMPARE(memory, QString());
}

void TestDtmfFmCalibration::dtmfAniEndCodeIsErasedByEncoding()
{
    Workspace ws;
    ws.readImage = imageWith(kDtmfAniEndCode, QByteArray("123"));
    ws.writeImage = imageWith(0, QByteArray(kImageSize, 0x33));
    decodeImage(ws);
    QCOMPARE(ws.dtmf.aniEndCode, QStringLiteral("123"));
    encodeImage(ws);
    QCOMPARE(ws.writeImage.bytes(kDtmfAniEndCode, 16), QByteArray(16, char(0xFF)));
}

void TestDtmfFmCalibration::dtmfKeyFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");   // what each character becomes, dropped ones missing
    QTest::newRow("digits and signs") << QStringLiteral("0123456789*#") << QStringLiteral("0123456789*#");
    QTest::newRow("letters a-d any case") << QStringLiteral("abcdABCD") << QStringLiteral("ABCDABCD");
    QTest::newRow("other letters") << QStringLiteral("eEzZ") << QString();
    QTest::newRow("other signs") << QStringLiteral(" .+-,") << QString();
    QTest::newRow("beyond ASCII") << QString::fromUtf8("ａ中é") << QString();
    QTest::newRow("mixed") << QStringLiteral("12ab*#e") << QStringLiteral("12AB*#");
}

void TestDtmfFmCalibration::dtmfKeyFilter()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QString result;
    for (QChar c : typed) {
        if (const std::optional<QChar> accepted = dtmfKey(c))
            result += *accepted;
    }
    QCOMPARE(result, kept);
}

// ---- FM radio ------------------------------------------------------------

void TestDtmfFmCalibration::fmDecodeChannel_data()
{
    QTest::addColumn<QByteArray>("bytes");   // hi, lo
    QTest::addColumn<QString>("text");
    QTest::newRow("v 256") << QByteArray::fromHex("0100") << QStringLiteral("88.80");
    QTest::newRow("v 522") << QByteArray::fromHex("020a") << QStringLiteral("102.10");
    QTest::newRow("lowest") << QByteArray::fromHex("0000") << QStringLiteral("76.00");
    QTest::newRow("88.00") << QByteArray::fromHex("00f0") << QStringLiteral("88.00");
    QTest::newRow("108.00 kept") << QByteArray::fromHex("0280") << QStringLiteral("108.00");
    QTest::newRow("108.05 empty") << QByteArray::fromHex("0281") << QString();
    QTest::newRow("high byte only") << QByteArray::fromHex("ff00") << QString();
    QTest::newRow("erased") << QByteArray::fromHex("ffff") << QString();
}

void TestDtmfFmCalibration::fmDecodeChannel()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    FmRadio fm;
    for (int channel : {1, 32}) {
        fm.decode(imageWith(kFmChannels.address(channel - 1), bytes));
        QCOMPARE(fm.store().channels[channel - 1], text);
        QCOMPARE(fm.cell(channel), text);
    }
}

void TestDtmfFmCalibration::fmEncodeChannel_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("76.00") << QStringLiteral("76.00") << QByteArray::fromHex("0000");
    QTest::newRow("107.95") << QStringLiteral("107.95") << QByteArray::fromHex("027f");
    QTest::newRow("88.07 cut") << QStringLiteral("88.07") << QByteArray::fromHex("00f1");
    QTest::newRow("whole number") << QStringLiteral("102.1") << QByteArray::fromHex("020a");
    QTest::newRow("emptied") << QString() << QByteArray::fromHex("ffff");
}

void TestDtmfFmCalibration::fmEncodeChannel()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, bytes);
    FmRadio fm;
    fm.decode(imageWith(kFmChannels.start, QByteArray::fromHex("0100")));   // channel 1 holds 88.80
    QCOMPARE(fm.commitCell(1, typed), FmEdit::Changed);
    fm.ok();
    MemoryImage out;
    fm.encode(out);
    QCOMPARE(fmChannelBytes(out, 1), bytes);
    QCOMPARE(fmChannelBytes(out, 2), QByteArray::fromHex("ffff"));
}

void TestDtmfFmCalibration::fmCellRules_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<FmEdit>("result");
    QTest::addColumn<QString>("cell");   // the cell held 90.00
    QTest::newRow("empty") << QString() << FmEdit::Changed << QString();
    QTest::newRow("cut onto raster") << QStringLiteral("88.07") << FmEdit::Changed << QStringLiteral("88.05");
    QTest::newRow("highest") << QStringLiteral("107.95") << FmEdit::Changed << QStringLiteral("107.95");
    QTest::newRow("lowest") << QStringLiteral("76") << FmEdit::Changed << QStringLiteral("76.00");
    QTest::newRow("just above") << QStringLiteral("107.97") << FmEdit::OutOfRange << QStringLiteral("90.00");
    QTest::newRow("108") << QStringLiteral("108") << FmEdit::OutOfRange << QStringLiteral("90.00");
    QTest::newRow("just below") << QStringLiteral("75.99") << FmEdit::OutOfRange << QStringLiteral("90.00");
    QTest::newRow("two points") << QStringLiteral("1.2.3") << FmEdit::Unchanged << QStringLiteral("90.00");
    QTest::newRow("point only") << QStringLiteral(".") << FmEdit::Unchanged << QStringLiteral("90.00");
}

void TestDtmfFmCalibration::fmCellRules()
{
    QFETCH(QString, typed);
    QFETCH(FmEdit, result);
    QFETCH(QString, cell);
    FmRadio fm;
    QCOMPARE(fm.commitCell(5, QStringLiteral("90")), FmEdit::Changed);
    QCOMPARE(fm.commitCell(5, typed), result);
    QCOMPARE(fm.cell(5), cell);
    QCOMPARE(fm.store().channels[4], QString());   // only OK stores
}

void TestDtmfFmCalibration::fmFrequencyModeRules_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<FmEdit>("result");
    QTest::addColumn<QString>("text");
    QTest::newRow("cut onto raster") << QStringLiteral("107.99") << FmEdit::Changed << QStringLiteral("107.95");
    QTest::newRow("lowest") << QStringLiteral("76") << FmEdit::Changed << QStringLiteral("76.00");
    QTest::newRow("108 refused") << QStringLiteral("108") << FmEdit::OutOfRange << QString();
    QTest::newRow("below") << QStringLiteral("75.95") << FmEdit::OutOfRange << QString();
    QTest::newRow("empty") << QString() << FmEdit::Unchanged << QString();
    QTest::newRow("no number") << QStringLiteral("9.9.9") << FmEdit::Unchanged << QStringLiteral("9.9.9");
}

void TestDtmfFmCalibration::fmFrequencyModeRules()
{
    QFETCH(QString, typed);
    QFETCH(FmEdit, result);
    QFETCH(QString, text);
    FmRadio fm;
    fm.typeFrequencyMode(typed);
    QCOMPARE(fm.commitFrequencyMode(), result);
    QCOMPARE(fm.controls().frequencyModeText, text);
    QCOMPARE(fm.store().frequencyMode, QString());
}

void TestDtmfFmCalibration::fmFrequencyModeEncoding_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");   // 0x07A4, 0x07A5
    QTest::newRow("88.00") << QStringLiteral("88.00") << QByteArray::fromHex("00f0");
    QTest::newRow("107.95") << QStringLiteral("107.95") << QByteArray::fromHex("027f");
    QTest::newRow("empty") << QString() << QByteArray::fromHex("ffff");
    QTest::newRow("zero") << QStringLiteral("0") << QByteArray::fromHex("ffff");
    // The box lets texts through that are no number; they store nothing.
    QTest::newRow("no number") << QStringLiteral("9.9.9") << QByteArray::fromHex("ffff");
    QTest::newRow("point only") << QStringLiteral(".") << QByteArray::fromHex("ffff");
}

void TestDtmfFmCalibration::fmFrequencyModeEncoding()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    FmRadio fm;
    fm.typeFrequencyMode(text);
    fm.ok();
    MemoryImage out = imageWith(0, QByteArray(kImageSize, 0x11));
    fm.encode(out);
    QCOMPARE(out.bytes(kFmFrequencyMode, 2), bytes);
    QCOMPARE(out.at(kFmUnused), 0xFF);
}

void TestDtmfFmCalibration::fmSettings()
{
    FmRadio fm;
    fm.decode(imageWith(kFmPresentChannel, QByteArray::fromHex("0501ffff00f0")));
    QCOMPARE(fm.store().presentChannel, 5);
    QCOMPARE(fm.controls().presentChannelText, QStringLiteral("5"));
    QCOMPARE(fm.controls().displayModeIndex, 1);
    QCOMPARE(fm.store().frequencyMode, QStringLiteral("88.00"));
    QCOMPARE(fm.controls().frequencyModeText, QStringLiteral("88.00"));

    for (auto [text, byte] : {std::pair{"12", 0x0C}, std::pair{"32", 0x20}}) {
        fm.selectPresentChannel(QString::fromLatin1(text));
        fm.selectDisplayMode(0);
        fm.selectStep(2);
        MemoryImage out;
        fm.encode(out);
        QCOMPARE(out.at(kFmPresentChannel), 5);   // not stored before OK
        fm.ok();
        fm.encode(out);
        QCOMPARE(out.at(kFmPresentChannel), byte);
        QCOMPARE(out.bytes(kFmDisplayMode, 2), QByteArray::fromHex("0002"));
        fm.decode(imageWith(kFmPresentChannel, QByteArray::fromHex("05")));
    }
}

void TestDtmfFmCalibration::fmListBytesWithoutSelection()
{
    FmRadio fm;
    fm.selectDisplayMode(1);
    fm.selectStep(2);
    // Bytes without a list entry: the store takes them, the lists keep their
    // selections, and the encoder leaves those bytes alone.
    fm.decode(imageWith(kFmDisplayMode, QByteArray::fromHex("ff03")));
    QCOMPARE(fm.controls().displayModeIndex, 1);
    QCOMPARE(fm.controls().stepIndex, 2);
    MemoryImage out = imageWith(0, QByteArray(kImageSize, 0x5A));
    fm.encode(out);
    QCOMPARE(out.bytes(kFmDisplayMode, 2), QByteArray::fromHex("5a03"));

    fm.selectDisplayMode(-1);   // no selection at OK
    fm.ok();
    fm.encode(out);
    QCOMPARE(out.bytes(kFmDisplayMode, 2), QByteArray::fromHex("5a02"));
}

void TestDtmfFmCalibration::fmCancelledEdits()
{
    FmRadio fm;
    fm.decode(imageWith(kFmChannels.start, QByteArray::fromHex("00f000f0fffff0f0")));   // 88.00 88.00 - -
    // Edited without OK: emptiness comes from the grid, values from the store.
    fm.commitCell(1, QString());
    fm.commitCell(2, QStringLiteral("99"));
    fm.commitCell(3, QStringLiteral("90"));
    MemoryImage out;
    fm.encode(out);
    QCOMPARE(fmChannelBytes(out, 1), QByteArray::fromHex("ffff"));
    QCOMPARE(fmChannelBytes(out, 2), QByteArray::fromHex("00f0"));
    // A cell filled in without OK has no stored value: written as empty.
    QCOMPARE(fmChannelBytes(out, 3), QByteArray::fromHex("ffff"));

    fm.ok();
    fm.encode(out);
    QCOMPARE(fmChannelBytes(out, 2), QByteArray::fromHex("01cc"));
    QCOMPARE(fmChannelBytes(out, 3), QByteArray::fromHex("0118"));
}

void TestDtmfFmCalibration::fmDecodedAreaEncodesBack()
{
    QByteArray area;
    for (int m = 0; m < 32; ++m)
        area += m % 3 == 0 ? QByteArray::fromHex("ffff") : QByteArray(1, char(m % 2)) + char(m * 4);
    area += QByteArray::fromHex("0c0102ff0280");
    FmRadio fm;
    fm.decode(imageWith(kFmChannels.start, area));
    MemoryImage out;
    fm.encode(out);
    QCOMPARE(out.bytes(kFmChannels.start, area.size()).toHex(), area.toHex());
    fm.ok();   // OK without an edit stores what was decoded
    fm.encode(out);
    QCOMPARE(out.bytes(kFmChannels.start, area.size()).toHex(), area.toHex());
}

QTEST_GUILESS_MAIN(TestDtmfFmCalibration)
#include "tst_dtmf_fm_calibration.moc"
