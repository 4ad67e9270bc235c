#include "image/address_map.h"
#include "image/codecs.h"
#include "image/tone_list.h"
#include "document/workspace.h"

#include <QRandomGenerator>
#include <QTest>

using namespace quillon;

namespace {

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

QByteArray erased(int size)
{
    return QByteArray(size, '\xFF');
}

MemoryImage erasedImage()
{
    return MemoryImage::fromByteArray(erased(kImageSize));
}

// Address ranges (first, last) that hold no data and encode as 0xFF.
const QList<std::pair<int, int>> &erasedAreas()
{
    static const QList<std::pair<int, int>> areas{
        {kUnusedAfterChannels, kOptionBytes - 1},
        {kDtmfAniEndCode, kPassword - 1},
        {kUnusedAfterPassword, kFmChannels.start - 1},
        {kFmUnused, kFmUnused},
        {kUnusedAfterFm, kFixedBytes - 1},
        {kUnusedBeforeCalibration, kCalibration - 1},
        {kUnusedAfterCalibration, kChannelNames.start - 1},
    };
    return areas;
}

// Four packed-BCD bytes, lowest address first, of a random frequency in
// the given whole MHz.
QByteArray packedBcd(QRandomGenerator &random, int megahertz)
{
    QString digits = QString::number(megahertz).rightJustified(3, u'0');
    for (int i = 0; i < 5; ++i)
        digits += QChar(u'0' + random.bounded(10));
    QByteArray bytes(4, '\0');
    for (int k = 0; k < 4; ++k)
        bytes[3 - k] = static_cast<char>(digits.mid(2 * k, 2).toInt(nullptr, 16));
    return bytes;
}

// An erased image that decodes without a failing step: band 400-470MHz and
// FM settings the lists have (an erased FM list byte is kept, not rewritten).
MemoryImage cleanImage()
{
    MemoryImage image = erasedImage();
    image.set(kBandIndex, 3);
    image.store(kFmPresentChannel, QByteArray::fromHex("010000"));
    return image;
}

QByteArray toneCodeBytes(int toneIndex)
{
    if (toneIndex == 0)
        return QByteArray::fromHex("FFFF");
    const auto bytes = toneBytes(toneEntry(toneIndex, Language::English));
    return bytesOf({bytes->first, bytes->second});
}

// A record the decoder keeps, and the record the encoder must give back for it.
struct RecordCase {
    QByteArray record;
    QByteArray expected;
};

RecordCase randomInBandRecord(QRandomGenerator &random, const BandState &band)
{
    QByteArray record = packedBcd(random, band.low + random.bounded(band.high - band.low));
    QByteArray expected = record;
    if (random.bounded(4) == 0) {
        // No transmit frequency: the bytes after the marker are not kept.
        record += bytesOf({0xFF, random.bounded(256), random.bounded(256), random.bounded(256)});
        expected += erased(4);
    } else {
        const QByteArray tx = packedBcd(random, random.bounded(100, 1000));
        record += tx;
        expected += tx;
    }
    for (int tone = 0; tone < 2; ++tone) {
        const int choice = random.bounded(6);
        if (choice == 0) {
            // Off with a stray high byte: written back as FF FF.
            record += bytesOf({0xFF, random.bounded(256)});
            expected += erased(2);
        } else if (choice == 1) {
            // 69.4 Hz is no entry of the list: written back as Off.
            record += QByteArray::fromHex("9406");
            expected += erased(2);
        } else {
            const QByteArray code = toneCodeBytes(random.bounded(1, kToneCount));
            record += code;
            expected += code;
        }
    }
    const auto flags = static_cast<std::uint8_t>(random.bounded(256));
    record += static_cast<char>(flags);
    expected += static_cast<char>(flags | 0x80);   // bit 7 is always written as 1
    return {record, expected};
}

QByteArray randomName(QRandomGenerator &random)
{
    const int length = random.bounded(9);
    if (length == 0)
        return QByteArray(8, '\0');
    QByteArray name;
    for (int i = 0; i < length; ++i)
        name += static_cast<char>(random.bounded(35, 123));   // what the name editor lets through
    return name + erased(8 - length);
}

} // namespace

class TestWorkspace : public QObject {
    Q_OBJECT

private slots:
    void erasedImageDecodesEmpty();
    void newImageOptionRows();
    void encodingIsRepeatable_data();
    void encodingIsRepeatable();
    void roundTripOfRecordsAndNames_data();
    void roundTripOfRecordsAndNames();
    void damagedImages();
};

void TestWorkspace::erasedImageDecodesEmpty()
{
    Workspace ws;
    ws.readImage = erasedImage();
    decodeImage(ws);

    for (int n = 1; n <= ChannelSheet::kChannels; ++n) {
        QVERIFY(ws.channels.row(n).rxText.isEmpty());
        QVERIFY(ws.channels.row(n).name.isEmpty());
        for (int column = kColumnRx; column <= kColumnName; ++column)
            QVERIFY2(ws.channels.cell(n, column).isEmpty(), qPrintable(QString::number(n)));
    }
    for (int m = 1; m <= FmRadio::kChannels; ++m) {
        QVERIFY(ws.fm.store().channels[m - 1].isEmpty());
        QVERIFY(ws.fm.cell(m).isEmpty());
    }

    encodeImage(ws);
    const MemoryImage &out = ws.writeImage;
    QCOMPARE(out.bytes(kChannelRecords.start, kChannelRecords.end()), erased(kChannelRecords.end()));
    QCOMPARE(out.bytes(kFmChannels.start, kFmChannels.end() - kFmChannels.start),
             erased(kFmChannels.end() - kFmChannels.start));
    for (const auto &[first, last] : erasedAreas())
        QVERIFY2(out.bytes(first, last - first + 1) == erased(last - first + 1),
                 qPrintable(QString::number(first, 16)));
    QCOMPARE(out.bytes(kFixedBytes, 4), QByteArray::fromHex("00010000"));
    QCOMPARE(out.bytes(kChannelNames.start, kImageSize - kChannelNames.start),
             QByteArray(kImageSize - kChannelNames.start, '\0'));
}

void TestWorkspace::newImageOptionRows()
{
    Workspace ws;
    QVERIFY(ws.band.select(3));   // 400-470MHz
    ws.channels.startForm();
    ws.dtmf.startForm();
    ws.features.startForm(ws.band);
    encodeImage(ws);
    QCOMPARE(ws.writeImage.bytes(0x0700, 16), QByteArray::fromHex("00 01 04 01 05 01 7F 78 2B 01 01 FF 00 00 FF 02"));
    QCOMPARE(ws.writeImage.bytes(0x0720, 16), QByteArray::fromHex("00 00 50 43 00 00 00 01 FF FF FF FF FD FF 01 FF"));
    QCOMPARE(ws.writeImage.bytes(kFixedModelText, 7), QByteArray("QVN-7K") + char(3));
}

void TestWorkspace::encodingIsRepeatable_data()
{
    QTest::addColumn<MemoryImage>("image");   // decoded first; empty: a fresh workspace
    QTest::addColumn<bool>("everyByteSet");

    QTest::newRow("fresh") << MemoryImage() << false;
    QTest::newRow("erased image") << erasedImage() << false;
    QTest::newRow("clean image") << cleanImage() << true;

    QRandomGenerator random(2024);
    MemoryImage valid = cleanImage();
    BandState band;
    band.select(3);
    for (int n = 0; n < 40; ++n)
        valid.store(kChannelRecords.address(n), randomInBandRecord(random, band).record);
    QTest::newRow("in-band channels") << valid << true;

    MemoryImage noise;
    for (int address = 0; address < kImageSize; ++address)
        noise.set(address, static_cast<std::uint8_t>(random.bounded(256)));
    QTest::newRow("noise") << noise << false;
}

void TestWorkspace::encodingIsRepeatable()
{
    QFETCH(MemoryImage, image);
    QFETCH(bool, everyByteSet);
    Workspace ws;
    if (image != MemoryImage()) {
        ws.readImage = image;
        decodeImage(ws);
    }
    encodeImage(ws);
    const MemoryImage first = ws.writeImage;
    encodeImage(ws);
    QCOMPARE(ws.writeImage, first);

    if (everyByteSet) {
        // Nothing failed to convert, so no byte may depend on what the
        // buffer held before.
        ws.writeImage = MemoryImage::fromByteArray(QByteArray(kImageSize, '\x5A'));
        encodeImage(ws);
        QCOMPARE(ws.writeImage, first);
    }
}

void TestWorkspace::roundTripOfRecordsAndNames_data()
{
    QTest::addColumn<int>("bandIndex");
    QTest::addColumn<Language>("language");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("400-470 english") << 3 << Language::English << 1u;
    QTest::newRow("400-470 chinese") << 3 << Language::Chinese << 2u;
    QTest::newRow("136-174 chinese") << 0 << Language::Chinese << 3u;
    QTest::newRow("134-260 english") << 9 << Language::English << 4u;
}

void TestWorkspace::roundTripOfRecordsAndNames()
{
    QFETCH(int, bandIndex);
    QFETCH(Language, language);
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    BandState band;
    QVERIFY(band.select(bandIndex));

    MemoryImage image = erasedImage();
    image.set(kBandIndex, static_cast<std::uint8_t>(bandIndex));
    QList<QByteArray> expected;
    QList<QByteArray> names;
    for (int n = 0; n < kChannelRecords.count; ++n) {
        QByteArray record;
        QByteArray want;
        switch (random.bounded(5)) {
        case 0:   // empty channel
            record = erased(13);
            want = record;
            break;
        case 1: {   // outside the band, either side: the band check clears it
            const int megahertz = random.bounded(2) ? random.bounded(band.low) : random.bounded(band.high, 1000);
            record = packedBcd(random, megahertz) + erased(9);
            want = erased(13);
            break;
        }
        default: {
            const RecordCase c = randomInBandRecord(random, band);
            record = c.record;
            want = c.expected;
        }
        }
        image.store(kChannelRecords.address(n), record);
        expected.append(want);
        names.append(randomName(random));
        image.store(kChannelNames.address(n), names.last());
    }

    Workspace ws;
    ws.language = language;
    ws.readImage = image;
    decodeImage(ws);
    QCOMPARE(ws.band.index, bandIndex);
    encodeImage(ws);
    for (int n = 0; n < kChannelRecords.count; ++n) {
        QCOMPARE(ws.writeImage.bytes(kChannelRecords.address(n), 13).toHex(' '), expected[n].toHex(' '));
        QCOMPARE(ws.writeImage.bytes(kChannelNames.address(n), 8).toHex(' '), names[n].toHex(' '));
    }
    QCOMPARE(ws.writeImage.at(kBandIndex), std::uint8_t(bandIndex));
}

void TestWorkspace::damagedImages()
{
    // Random images and valid ones with flipped bits: decoding and encoding
    // must neither crash nor touch a byte outside the image, and the decode
    // changes the read buffer only at 0x0717.
    QRandomGenerator random(3072);
    MemoryImage valid = cleanImage();
    BandState band;
    band.select(3);
    for (int n = 0; n < kChannelRecords.count; ++n)
        valid.store(kChannelRecords.address(n), randomInBandRecord(random, band).record);

    Workspace ws;
    for (int round = 0; round < 200; ++round) {
        MemoryImage image = valid;
        if (round % 2 == 0) {
            for (int address = 0; address < kImageSize; ++address)
                image.set(address, static_cast<std::uint8_t>(random.bounded(256)));
        } else {
            for (int flip = 0; flip < 64; ++flip) {
                const int address = random.bounded(kImageSize);
                image.set(address, image.at(address) ^ static_cast<std::uint8_t>(1 << random.bounded(8)));
            }
        }
        ws.language = round % 3 == 0 ? Language::Chinese : Language::English;
        ws.readImage = image;
        decodeImage(ws);
        QByteArray before = image.toByteArray();
        QByteArray after = ws.readImage.toByteArray();
        before[kOptionRest] = after[kOptionRest];
        QVERIFY2(after == before, qPrintable(QStringLiteral("round %1").arg(round)));
        encodeImage(ws);
        const MemoryImage first = ws.writeImage;
        encodeImage(ws);
        QVERIFY2(ws.writeImage == first, qPrintable(QStringLiteral("round %1").arg(round)));
    }
}

QTEST_APPLESS_MAIN(TestWorkspace)
#include "tst_workspace.moc"
