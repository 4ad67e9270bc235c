#include "image/codecs.h"

#include <QRandomGenerator>
#include <QTest>

using namespace quillon;

namespace {

QString ff(int count)
{
    return QString(count, QChar(0xFF));
}

} // namespace

class TestCodecs : public QObject {
    Q_OBJECT

private slots:
    void parseHexByteRule_data();
    void parseHexByteRule();
    void numbers_data();
    void numbers();
    void frequencyText_data();
    void frequencyText();
    void frequencyByte_data();
    void frequencyByte();
    void frequencyRoundTrip();
    void snapToRaster_data();
    void snapToRaster();
    void toneText_data();
    void toneText();
    void toneCode_data();
    void toneCode();
    void trimPadding_data();
    void trimPadding();
    void fmText_data();
    void fmText();
    void channelCode_data();
    void channelCode();
};

void TestCodecs::parseHexByteRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");   // -1: no value
    QTest::newRow("two digits") << "46" << 0x46;
    QTest::newRow("one digit") << "7" << 0x07;
    QTest::newRow("lower case") << "fe" << 0xFE;
    QTest::newRow("leading zeros") << "0046" << 0x46;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("not hex") << "4G" << -1;
    QTest::newRow("point") << "4." << -1;
    QTest::newRow("too large") << "100" << -1;
}

void TestCodecs::parseHexByteRule()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    const std::optional<std::uint8_t> value = parseHexByte(text);
    QCOMPARE(value.has_value(), expected >= 0);
    if (value)
        QCOMPARE(int(*value), expected);
}

void TestCodecs::numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("leading");
    QTest::addColumn<bool>("decimal");
    QTest::newRow("frequency") << "462.56250" << 462.5625 << true;
    QTest::newRow("whole") << "470" << 470.0 << true;
    QTest::newRow("point first") << ".5" << 0.5 << true;
    QTest::newRow("blanks around") << " 435.1 " << 435.1 << true;
    QTest::newRow("two points") << "435.1.2" << 435.1 << false;
    QTest::newRow("letter nibble") << "4A2.56250" << 4.0 << false;
    QTest::newRow("letters") << "abc" << 0.0 << false;
    QTest::newRow("empty") << "" << 0.0 << false;
    QTest::newRow("only point") << "." << 0.0 << false;
    QTest::newRow("sign") << "-12.5x" << -12.5 << false;
    QTest::newRow("padding") << QString(ff(3)) << 0.0 << false;
}

void TestCodecs::numbers()
{
    QFETCH(QString, text);
    QFETCH(double, leading);
    QFETCH(bool, decimal);
    QCOMPARE(leadingNumber(text), leading);
    QCOMPARE(isDecimalNumber(text), decimal);
}

void TestCodecs::frequencyText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("example") << QByteArray::fromHex("50622546") << "462.56250";
    QTest::newRow("zero") << QByteArray::fromHex("00000000") << "000.00000";
    QTest::newRow("nines") << QByteArray::fromHex("99999999") << "999.99999";
    QTest::newRow("letter nibble") << QByteArray::fromHex("5062254A") << "4A2.56250";
    QTest::newRow("erased") << QByteArray::fromHex("FFFFFFFF") << "FFF.FFFFF";
}

void TestCodecs::frequencyText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const auto b = [&](int i) { return static_cast<std::uint8_t>(bytes[i]); };
    QCOMPARE(quillon::frequencyText(b(0), b(1), b(2), b(3)), text);
}

void TestCodecs::frequencyByte_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("expected");   // -1: no value
    QTest::newRow("k1") << "462.56250" << 1 << 0x46;
    QTest::newRow("k2 across the point") << "462.56250" << 2 << 0x25;
    QTest::newRow("k4") << "462.56250" << 4 << 0x50;
    QTest::newRow("k0 gives 0") << "462.56250" << 0 << 0;
    QTest::newRow("k5 gives 0") << "462.56250" << 5 << 0;
    QTest::newRow("not hex") << "4X2.56250" << 1 << -1;
    QTest::newRow("point picked") << "46.56250" << 2 << 0x56;
    QTest::newRow("empty") << "" << 4 << -1;
}

void TestCodecs::frequencyByte()
{
    QFETCH(QString, text);
    QFETCH(int, k);
    QFETCH(int, expected);
    const std::optional<std::uint8_t> value = quillon::frequencyByte(text, k);
    QCOMPARE(value.has_value(), expected >= 0);
    if (value)
        QCOMPARE(int(*value), expected);
}

void TestCodecs::frequencyRoundTrip()
{
    // Any packed-BCD frequency survives text and back, byte for byte.
    QRandomGenerator random(7);
    for (int n = 0; n < 500; ++n) {
        std::uint8_t b[4];
        for (auto &byte : b)
            byte = static_cast<std::uint8_t>(random.bounded(10) * 16 + random.bounded(10));
        const QString text = quillon::frequencyText(b[0], b[1], b[2], b[3]);
        for (int k = 1; k <= 4; ++k) {
            const auto byte = quillon::frequencyByte(text, k);
            QVERIFY2(byte && *byte == b[4 - k], qPrintable(text));
        }
    }
}

void TestCodecs::snapToRaster_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");   // -1: no value
    QTest::newRow("to 6.25 kHz") << "462.56300" << 462.5625;
    QTest::newRow("to 5 kHz") << "462.56600" << 462.565;
    QTest::newRow("on 6.25 raster") << "462.56250" << 462.5625;
    QTest::newRow("remainder 0") << "400.00000" << 400.0;
    QTest::newRow("equal remainders") << "400.00100" << 400.0;
    QTest::newRow("just below 5 kHz") << "400.00499" << 400.0;
    QTest::newRow("top of 100 kHz") << "400.09400" << 400.09375;
    QTest::newRow("not numeric") << "abc.defgh" << -1.0;
    QTest::newRow("letter nibble") << "4A2.56300" << -1.0;
    QTest::newRow("two points") << "462.5.300" << -1.0;
    QTest::newRow("empty") << "" << -1.0;
    QTest::newRow("too short") << "46" << -1.0;
}

void TestCodecs::snapToRaster()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    const std::optional<double> value = quillon::snapToRaster(text);
    QCOMPARE(value.has_value(), expected >= 0);
    if (value)
        QCOMPARE(*value, expected);
}

void TestCodecs::toneText_data()
{
    QTest::addColumn<int>("lo");
    QTest::addColumn<int>("hi");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("chinese");
    QTest::newRow("off ignores hi") << 0xFF << 0x06 << "Off" << "关闭";
    QTest::newRow("ctcss") << 0x70 << 0x06 << "67.0" << "67.0";
    QTest::newRow("ctcss 254.1") << 0x41 << 0x25 << "254.1" << "254.1";
    QTest::newRow("dcs normal") << 0x23 << 0x80 << "D023N" << "D023N";
    QTest::newRow("dcs normal 8F") << 0x00 << 0x8F << "DF00N" << "DF00N";
    QTest::newRow("dcs inverted") << 0x54 << 0xC7 << "D754I" << "D754I";
    QTest::newRow("unpadded C") << 0x00 << 0x0C << "DC00I" << "DC00I";
    QTest::newRow("not in list") << 0x94 << 0x06 << "69.4" << "69.4";
    QTest::newRow("hi zero") << 0x70 << 0x00 << "07.0" << "07.0";
    QTest::newRow("hi 0x90") << 0x00 << 0x90 << "900.0" << "900.0";
}

void TestCodecs::toneText()
{
    QFETCH(int, lo);
    QFETCH(int, hi);
    QFETCH(QString, english);
    QFETCH(QString, chinese);
    QCOMPARE(quillon::toneText(std::uint8_t(lo), std::uint8_t(hi), Language::English), english);
    QCOMPARE(quillon::toneText(std::uint8_t(lo), std::uint8_t(hi), Language::Chinese), chinese);
}

void TestCodecs::toneCode_data()
{
    QTest::addColumn<QString>("tone");
    QTest::addColumn<QString>("code");   // empty: no value
    QTest::newRow("ctcss") << "67.0" << "7006";
    QTest::newRow("ctcss 254.1") << "254.1" << "4125";
    QTest::newRow("normal") << "D023N" << "2380";
    QTest::newRow("inverted") << "D754I" << "54C7";
    QTest::newRow("off english") << "Off" << "";
    QTest::newRow("off chinese") << "关闭" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("too large") << "12345.6" << "";
    QTest::newRow("past int range") << "99999999999.0" << "";
    QTest::newRow("short dcs") << "DN" << "";
}

void TestCodecs::toneCode()
{
    QFETCH(QString, tone);
    QFETCH(QString, code);
    const std::optional<QString> result = quillon::toneCode(tone);
    QCOMPARE(result.value_or(QString()), code);
    const auto bytes = toneBytes(tone);
    QCOMPARE(bytes.has_value(), !code.isEmpty());
    if (bytes) {
        QCOMPARE(hex2(bytes->first) + hex2(bytes->second), code);
    }
}

void TestCodecs::trimPadding_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << "" << "";
    QTest::newRow("only padding") << ff(8) << "";
    QTest::newRow("trailing") << QString("CH1" + ff(5)) << "CH1";
    QTest::newRow("inner kept") << QString("A" + ff(1) + "B") << QString("A" + ff(1) + "B");
}

void TestCodecs::trimPadding()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(quillon::trimPadding(text), expected);
}

void TestCodecs::fmText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole") << "108" << "108.00";
    QTest::newRow("point last") << "88." << "88.00";
    QTest::newRow("one decimal") << "87.5" << "87.50";
    QTest::newRow("cut to 0.05") << "88.07" << "88.05";
    QTest::newRow("three decimals") << "88.123" << "88.10";
    QTest::newRow("never rounds up") << "99.999" << "99.95";
    QTest::newRow("many decimals") << "88.175999" << "88.15";
}

void TestCodecs::fmText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(quillon::fmText(text), expected);
}

void TestCodecs::channelCode_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("code");
    QTest::newRow("empty") << "" << "0000000000000000";
    QTest::newRow("short") << "CH1" << "434831FFFFFFFFFF";
    QTest::newRow("cut to eight") << "ABCDEFGHIJ" << "4142434445464748";
    QTest::newRow("low code keeps two digits") << QString("A" + QString(QChar(5)) + "B") << "410542FFFFFFFFFF";
    QTest::newRow("latin-1") << QString::fromUtf8("é") << "E9FFFFFFFFFFFFFF";
    QTest::newRow("wide char does not shift") << QString::fromUtf8("A中B") << "413F42FFFFFFFFFF";
    QTest::newRow("outside basic plane") << QString::fromUtf8("A\U0001F600B") << "413F42FFFFFFFFFF";
}

void TestCodecs::channelCode()
{
    QFETCH(QString, name);
    QFETCH(QString, code);
    QCOMPARE(quillon::channelCode(name), code);
    QCOMPARE(channelNameBytes(name), QByteArray::fromHex(code.toLatin1()));
}

QTEST_APPLESS_MAIN(TestCodecs)
#include "tst_codecs.moc"
