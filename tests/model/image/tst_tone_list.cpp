#include "image/codecs.h"
#include "i18n/texts.h"
#include "image/tone_list.h"

#include <QTest>

using namespace quillon;

class TestToneList : public QObject {
    Q_OBJECT

private slots:
    void entries_data();
    void entries();
    void shape();
    void everyToneRoundTrips();
    void lookup_data();
    void lookup();
};

void TestToneList::entries_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("code");   // lo, hi
    QTest::newRow("first ctcss") << 1 << "67.0" << QByteArray::fromHex("7006");
    QTest::newRow("100.0") << 13 << "100.0" << QByteArray::fromHex("0010");
    QTest::newRow("last ctcss") << 50 << "254.1" << QByteArray::fromHex("4125");
    QTest::newRow("first normal") << 51 << "D017N" << QByteArray::fromHex("1780");
    QTest::newRow("second normal") << 52 << "D023N" << QByteArray::fromHex("2380");
    QTest::newRow("050 present") << 60 << "D050N" << QByteArray::fromHex("5080");
    QTest::newRow("last normal") << 157 << "D754N" << QByteArray::fromHex("5487");
    QTest::newRow("first inverted") << 158 << "D017I" << QByteArray::fromHex("17C0");
    QTest::newRow("last inverted") << 264 << "D754I" << QByteArray::fromHex("54C7");
}

void TestToneList::entries()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(QByteArray, code);
    QCOMPARE(toneEntry(index, Language::English), text);
    QCOMPARE(toneEntry(index, Language::Chinese), text);
    const auto bytes = toneBytes(text);
    QVERIFY(bytes);
    QCOMPARE(bytes->first, std::uint8_t(code[0]));
    QCOMPARE(bytes->second, std::uint8_t(code[1]));
}

void TestToneList::shape()
{
    const QStringList english = toneEntries(Language::English);
    const QStringList chinese = toneEntries(Language::Chinese);
    QCOMPARE(english.size(), kToneCount);
    QCOMPARE(chinese.size(), kToneCount);
    QCOMPARE(english.first(), QStringLiteral("Off"));
    QCOMPARE(chinese.first(), QStringLiteral("关闭"));
    QCOMPARE(english.mid(1), chinese.mid(1));
    // No duplicate entries, so a lookup by text is unambiguous.
    QCOMPARE(QSet<QString>(english.begin(), english.end()).size(), kToneCount);
    QVERIFY(toneEntry(-1, Language::English).isEmpty());
    QVERIFY(toneEntry(kToneCount, Language::English).isEmpty());
}

void TestToneList::everyToneRoundTrips()
{
    for (Language language : {Language::Chinese, Language::English}) {
        for (int index = 1; index < kToneCount; ++index) {
            const QString text = toneEntry(index, language);
            const auto bytes = toneBytes(text);
            QVERIFY2(bytes, qPrintable(text));
            QVERIFY2(bytes->first != 0xFF, qPrintable(text));   // would read back as Off
            const QString back = toneText(bytes->first, bytes->second, language);
            QCOMPARE(back, text);
            QCOMPARE(toneIndexOf(back, language), index);
        }
    }
}

void TestToneList::lookup_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Language>("language");
    QTest::addColumn<int>("index");
    QTest::newRow("off english") << "Off" << Language::English << 0;
    QTest::newRow("off chinese") << "关闭" << Language::Chinese << 0;
    QTest::newRow("case-sensitive") << "d023n" << Language::English << 0;
    QTest::newRow("not in list ctcss") << "69.4" << Language::English << 0;
    QTest::newRow("not in list dcs") << "D777N" << Language::English << 0;
    QTest::newRow("dcs") << "D023N" << Language::Chinese << 52;
    QTest::newRow("empty") << "" << Language::English << 0;
}

void TestToneList::lookup()
{
    QFETCH(QString, text);
    QFETCH(Language, language);
    QFETCH(int, index);
    QCOMPARE(toneIndexOf(text, language), index);
}

QTEST_APPLESS_MAIN(TestToneList)
#include "tst_tone_list.moc"
