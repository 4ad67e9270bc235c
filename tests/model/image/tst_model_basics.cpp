#include "i18n/messages.h"
#include "image/band.h"
#include "image/memory_image.h"

#include <QTest>

using namespace quillon;

class TestModelBasics : public QObject {
    Q_OBJECT

private slots:
    void imageAccess();
    void imageFromBytes_data();
    void imageFromBytes();
    void bands_data();
    void bands();
    void bandLimits();
    void messages_data();
    void messages();
    void portMessage();
    void buttons();
};

void TestModelBasics::imageAccess()
{
    MemoryImage image;
    QCOMPARE(image.toByteArray(), QByteArray(kImageSize, '\0'));
    image.set(0, 0x12);
    image.set(kImageSize - 1, 0x34);
    QCOMPARE(image.at(0), 0x12);
    QCOMPARE(image.at(kImageSize - 1), 0x34);
    image.fill(0x10, 0x13, 0xFF);
    QCOMPARE(image.bytes(0x0F, 6), QByteArray::fromHex("00FFFFFFFF00"));
    // A store running past the end keeps the bytes that fit and drops the rest.
    image.store(kImageSize - 2, QByteArray::fromHex("AABBCCDD"));
    QCOMPARE(image.bytes(kImageSize - 3, 3), QByteArray::fromHex("00AABB"));
    QCOMPARE(image.toByteArray().size(), kImageSize);
}

void TestModelBasics::imageFromBytes_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("empty") << 0;
    QTest::newRow("short") << 100;
    QTest::newRow("exact") << kImageSize;
    QTest::newRow("long") << kImageSize + 50;
}

void TestModelBasics::imageFromBytes()
{
    QFETCH(int, size);
    const QByteArray data(size, '\x5A');
    const MemoryImage image = MemoryImage::fromByteArray(data);
    const QByteArray bytes = image.toByteArray();
    QCOMPARE(bytes.size(), kImageSize);
    const int kept = std::min(size, kImageSize);
    QCOMPARE(bytes.left(kept), data.left(kept));
    QCOMPARE(bytes.mid(kept), QByteArray(kImageSize - kept, '\0'));
}

void TestModelBasics::bands_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::addColumn<QString>("centre");
    QTest::newRow("0") << 0 << "136-174MHz" << 136 << 174 << "155.00000";
    QTest::newRow("3") << 3 << "400-470MHz" << 400 << 470 << "435.00000";
    QTest::newRow("8") << 8 << "400-490MHz" << 400 << 490 << "445.00000";
    QTest::newRow("9") << 9 << "134-260MHz" << 134 << 260 << "197.00000";
}

void TestModelBasics::bands()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(int, low);
    QFETCH(int, high);
    QFETCH(QString, centre);
    QCOMPARE(bandText(index), text);
    BandState band;
    QVERIFY(band.select(index));
    QCOMPARE(band.index, index);
    QCOMPARE(band.low, low);
    QCOMPARE(band.high, high);
    QCOMPARE(band.centreText(), centre);
}

void TestModelBasics::bandLimits()
{
    BandState band;
    QCOMPARE(band.low, 136);   // entry 0 before anything is chosen
    QCOMPARE(band.high, 174);
    QVERIFY(band.select(3));
    QVERIFY(band.contains(400.0));
    QVERIFY(band.contains(469.99375));
    QVERIFY(!band.contains(470.0));   // the upper limit is outside
    QVERIFY(!band.contains(399.99999));
    // A band code the list lacks keeps the current band.
    QVERIFY(!band.select(10));
    QVERIFY(!band.select(-1));
    QVERIFY(!band.select(255));
    QCOMPARE(band.index, 3);
    QCOMPARE(band.low, 400);
    QVERIFY(bandText(10).isEmpty());
}

void TestModelBasics::messages_data()
{
    QTest::addColumn<Message>("message");
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("style");
    QTest::newRow("port invalid") << Message::SerialPortInvalid << Language::English << "The serial port is invalid" << "" << kStyleOk;
    QTest::newRow("exit en") << Message::Exit << Language::English
                             << "Confirm that withdraws from a procedure?\nLose all in change not kept!" << "Be careful" << kStyleQuestion;
    QTest::newRow("file type zh") << Message::FileTypeIncorrect << Language::Chinese << "文件类型不正确！" << "错误" << kStyleStop;
    QTest::newRow("forced write en") << Message::ForcedWrite << Language::English
                                     << "The frequency band is not accorded with, whether write into by force?" << "Be careful" << kStyleQuestion;
    QTest::newRow("mismatch en") << Message::BandMismatch << Language::English
                                 << "The frequency band is not accorded with, can't write into!" << "Mistake" << kStyleExclamation;
    QTest::newRow("out of band en") << Message::OutOfBand << Language::English << "Beyond the scope of frequency band" << "" << kStyleOk;
    QTest::newRow("fm mode zh") << Message::FmFrequencyRange << Language::Chinese << "超出频率范围(76-107.95)，请重输。" << "" << kStyleOk;
}

void TestModelBasics::messages()
{
    QFETCH(Message, message);
    QFETCH(Language, language);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    QFETCH(int, style);
    const MessageText m = messageText(message, language);
    QCOMPARE(m.text, text);
    QCOMPARE(m.caption, caption);
    QCOMPARE(m.style, style);
}

void TestModelBasics::portMessage()
{
    for (int m = 0; m <= int(Message::FmFrequencyRange); ++m) {
        for (Language language : {Language::Chinese, Language::English})
            QVERIFY(!messageText(Message(m), language).text.isEmpty());
    }
    QCOMPARE(messageText(Message::SerialPortUnusable, Language::English, QStringLiteral("3")).text,
             QStringLiteral("Serial port3Invalid or has already been used by other procedures, please "
                            "choose other bunches of mouths or close its procedure."));
    const MessageText zh = messageText(Message::SerialPortUnusable, Language::Chinese, QStringLiteral("12"));
    QCOMPARE(zh.text, QStringLiteral("串行端口12无效或已被其它程序使用，请选择其他串口或关闭其程序."));
    QCOMPARE(zh.caption, QStringLiteral("错误"));
    QCOMPARE(zh.style, kStyleExclamation);
}

void TestModelBasics::buttons()
{
    // Numbered as the platform numbers its answers, not in table order.
    QCOMPARE(buttonText(kAnswerOk, Language::Chinese), QStringLiteral("确定"));
    QCOMPARE(buttonText(kAnswerCancel, Language::English), QStringLiteral("Cancel"));
    QCOMPARE(buttonText(kAnswerRetry, Language::Chinese), QStringLiteral("重试"));
    QCOMPARE(buttonText(kAnswerNo, Language::English), QStringLiteral("No"));
    QVERIFY(buttonText(kAnswerOk, Language(2)).isEmpty());   // the platform's texts stay
    QVERIFY(buttonText(0, Language::English).isEmpty());
    QVERIFY(buttonText(8, Language::English).isEmpty());
}

QTEST_APPLESS_MAIN(TestModelBasics)
#include "tst_model_basics.moc"
