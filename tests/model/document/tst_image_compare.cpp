#include "document/document.h"
#include "document/image_compare.h"
#include "image/address_map.h"

#include <QTest>

using namespace quillon;

namespace {

MemoryImage baseImage()
{
    Document document;
    document.newImage();
    document.commitFrequency(12, kColumnRx, QStringLiteral("446.52"));
    document.commitName(12, QStringLiteral("RPT"));
    return document.encode();
}

QStringList lines(const QList<ImageDifference> &differences)
{
    QStringList out;
    for (const ImageDifference &d : differences)
        out << d.line();
    return out;
}

} // namespace

class TestImageCompare : public QObject {
    Q_OBJECT

private slots:
    void sameImageHasNoDifference();
    void eachKindOfDifferenceIsNamed();
    void bytesWithoutADecodedValue();
    void onlyComparedAddressesCount();
};

void TestImageCompare::sameImageHasNoDifference()
{
    const MemoryImage image = baseImage();
    QVERIFY(compareImages(image, image, Language::English).isEmpty());
}

void TestImageCompare::eachKindOfDifferenceIsNamed()
{
    const MemoryImage a = baseImage();
    Document document;
    document.openImage(a);
    document.commitFrequency(12, kColumnRx, QStringLiteral("446.55"));
    document.commitName(12, QStringLiteral("RPT2"));
    document.setFeatureSelection(Feature::SquelchLevel, 3);
    document.setCalibrationValue(1, 200);
    document.commitFmCell(2, QStringLiteral("88"));
    document.confirmFm();
    const MemoryImage b = document.encode();

    const QList<ImageDifference> differences = compareImages(a, b, Language::English);
    QCOMPARE(lines(differences), (QStringList{
        QStringLiteral("channel 12 rx: 446.52000 -> 446.55000"),
        QStringLiteral("setting Squelch Level: 5 -> 3"),
        QStringLiteral("fm Channel 2:  -> 88.00"),
        QStringLiteral("calibration High Power Grades Mid Sect Grades: 208 -> 200"),
        QStringLiteral("channel 12 name: RPT -> RPT2"),
    }));
    QCOMPARE(differences.first().addresses, (QList<int>{143, 144, 145, 146}));
    QCOMPARE(compareImages(a, b, Language::Chinese).at(1).line(), QString::fromUtf8("setting 静噪等级: 5 -> 3"));
}

void TestImageCompare::bytesWithoutADecodedValue()
{
    const MemoryImage a = baseImage();
    MemoryImage b = a;
    b.set(0x0680, 0x00);   // unused
    b.set(0x0681, 0x12);
    b.set(kChannelRecords.address(11) + 12, a.at(kChannelRecords.address(11) + 12) & 0x7F);   // bit 7 is not decoded
    QCOMPARE(lines(compareImages(a, b, Language::English)), (QStringList{
        QStringLiteral("bytes 0x009B: FD -> 7D"),
        QStringLiteral("bytes 0x0680-0x0681: FF FF -> 00 12"),
    }));
}

void TestImageCompare::onlyComparedAddressesCount()
{
    const MemoryImage a = baseImage();
    MemoryImage b = a;
    b.set(0x07C5, 0x00);   // a block a write never sends
    b.set(kCalibration, 0x01);
    const auto written = [](int address) { return address < 0x07C0 || address >= 0x0800; };
    QVERIFY(compareImages(a, b, Language::English, written).isEmpty());
    QCOMPARE(compareImages(a, b, Language::English).size(), 2);
}

QTEST_GUILESS_MAIN(TestImageCompare)
#include "tst_image_compare.moc"
