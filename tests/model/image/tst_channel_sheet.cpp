#include "i18n/texts.h"
#include "image/address_map.h"
#include "image/channel_sheet.h"

#include <QTest>

using namespace quillon;

namespace {

MemoryImage erasedImage()
{
    return MemoryImage::fromByteArray(QByteArray(kImageSize, '\xFF'));
}

BandState band(int index)
{
    BandState state;
    state.select(index);
    return state;
}

// Cells 1..10 of a channel joined with "|".
QString fields(const ChannelSheet &sheet, int channel)
{
    QStringList cells;
    for (int column = kColumnRx; column <= kColumnScramble; ++column)
        cells << sheet.cell(channel, column);
    return cells.join(u'|');
}

QString emptyFields()
{
    return QString(9, u'|');
}

// Decodes one record as channel 5 (and its name) the way the image passes do.
ChannelSheet decoded(const QByteArray &record, int bandIndex, Language language,
                     const QByteArray &name = QByteArray(8, '\0'))
{
    MemoryImage image = erasedImage();
    image.store(kChannelRecords.address(4), record);
    image.store(kChannelNames.address(4), name);
    ChannelSheet sheet;
    sheet.setNumOf(image, language);
    sheet.setGrid(band(bandIndex));
    sheet.decodeNames(image);
    return sheet;
}

QByteArray encodedRecord(const ChannelSheet &sheet, int channel)
{
    MemoryImage image;   // zero-filled: shows every byte the encoder skips
    sheet.encodeRecords(image);
    return image.bytes(kChannelRecords.address(channel - 1), kChannelRecords.recordSize);
}

QByteArray encodedName(const ChannelSheet &sheet, int channel)
{
    MemoryImage image;
    sheet.encodeNames(image);
    return image.bytes(kChannelNames.address(channel - 1), kChannelNames.recordSize);
}

const QByteArray kRecord95 = QByteArray::fromHex("5062254650622546ffffffff95");

} // namespace

class TestChannelSheet : public QObject {
    Q_OBJECT

private slots:
    void records_data();
    void records();
    void names_data();
    void names();
    void clearNoAndBadChannelNumbers();
    void commitFrequency_data();
    void commitFrequency();
    void newChannelEncodes();
    void listChoices();
    void nameEditing();
    void refreshLanguage();
};

void TestChannelSheet::records_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<int>("bandIndex");
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("cells");        // columns 1..10
    QTest::addColumn<QString>("indices");      // rx tone, tx tone, options 5..10
    QTest::addColumn<QByteArray>("reencoded");

    const QByteArray erased(13, '\xFF');
    QTest::newRow("0x95 in 400-470")
        << kRecord95 << 3 << Language::English
        << "462.56250|462.56250|Off|Off|High|Off|Off|wide|On|On" << "0 0 1 1 0 1 0 0" << kRecord95;
    QTest::newRow("0x95 in Chinese")
        << kRecord95 << 3 << Language::Chinese
        << "462.56250|462.56250|关闭|关闭|高|关|禁止|宽带|开|开" << "0 0 1 1 0 1 0 0" << kRecord95;
    QTest::newRow("0x95 in 136-174 is cleared")
        << kRecord95 << 0 << Language::English << emptyFields() << "0 0 0 0 0 0 0 0" << erased;
    QTest::newRow("upper band limit is outside")
        << QByteArray::fromHex("00000047ffffffffffffffff95") << 3 << Language::English << emptyFields()
        << "0 0 0 0 0 0 0 0" << erased;
    QTest::newRow("lower band limit is inside")
        << QByteArray::fromHex("00000040ffffffffffffffff95") << 3 << Language::English
        << "400.00000||Off|Off|High|Off|Off|wide|On|On" << "0 0 1 1 0 1 0 0"
        << QByteArray::fromHex("00000040ffffffffffffffff95");
    QTest::newRow("CTCSS and inverted DCS tones")
        << QByteArray::fromHex("5062254650622546700623c095") << 3 << Language::English
        << "462.56250|462.56250|67.0|D023I|High|Off|Off|wide|On|On" << "1 159 1 1 0 1 0 0"
        << QByteArray::fromHex("5062254650622546700623c095");
    QTest::newRow("tone outside the list is shown, written as Off")
        << QByteArray::fromHex("5062254650622546940677c795") << 3 << Language::English
        << "462.56250|462.56250|69.4|D777I|High|Off|Off|wide|On|On" << "0 0 1 1 0 1 0 0"
        << QByteArray::fromHex("5062254650622546ffffffff95");
    QTest::newRow("option byte 0x00")
        << QByteArray::fromHex("5062254650622546ffffffff00") << 3 << Language::English
        << "462.56250|462.56250|Off|Off|Low|Carry|Off|Narror|On|On" << "0 0 0 0 0 0 0 0"
        << QByteArray::fromHex("5062254650622546ffffffff80");
    QTest::newRow("power 3 shows empty, written back")
        << QByteArray::fromHex("5062254650622546ffffffff7f") << 3 << Language::English
        << "462.56250|462.56250|Off|Off||Off|On|wide|Off|Off" << "0 0 3 1 1 1 1 1"
        << QByteArray::fromHex("5062254650622546ffffffffff");
    QTest::newRow("bytes after erased markers become 0xFF")
        << QByteArray::fromHex("50622546ff123456ff12ff3495") << 3 << Language::English
        << "462.56250||Off|Off|High|Off|Off|wide|On|On" << "0 0 1 1 0 1 0 0"
        << QByteArray::fromHex("50622546ffffffffffffffff95");
    QTest::newRow("letter in the MHz digits is cleared")
        << QByteArray::fromHex("5062254a50622546ffffffff95") << 3 << Language::English << emptyFields()
        << "0 0 0 0 0 0 0 0" << erased;
    QTest::newRow("letter in the decimals is cleared")
        << QByteArray::fromHex("50a2254650622546ffffffff95") << 3 << Language::English << emptyFields()
        << "0 0 0 0 0 0 0 0" << erased;
}

void TestChannelSheet::records()
{
    QFETCH(QByteArray, record);
    QFETCH(int, bandIndex);
    QFETCH(Language, language);
    QFETCH(QString, cells);
    QFETCH(QString, indices);
    QFETCH(QByteArray, reencoded);

    const ChannelSheet sheet = decoded(record, bandIndex, language);
    QCOMPARE(fields(sheet, 5), cells);
    const ChannelRow &row = sheet.row(5);
    QStringList got{QString::number(row.rxToneIndex), QString::number(row.txToneIndex)};
    for (int index : row.optionIndex)
        got << QString::number(index);
    QCOMPARE(got.join(u' '), indices);
    QCOMPARE(encodedRecord(sheet, 5).toHex(' '), reencoded.toHex(' '));
    // A second encoding of the same table writes the same bytes.
    QCOMPARE(encodedRecord(sheet, 5), encodedRecord(sheet, 5));
    // Neighbours stay empty.
    QCOMPARE(fields(sheet, 4), emptyFields());
    QCOMPARE(encodedRecord(sheet, 6), QByteArray(13, '\xFF'));
}

void TestChannelSheet::names_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("reencoded");

    const QByteArray zeros(8, '\0');
    QTest::newRow("CH1") << QByteArray::fromHex("434831ffffffffff") << "CH1"
                         << QByteArray::fromHex("434831ffffffffff");
    QTest::newRow("eight zeros") << zeros << "" << zeros;
    QTest::newRow("eight 0xFF") << QByteArray(8, '\xFF') << "" << zeros;
    QTest::newRow("byte above 0x7F") << QByteArray::fromHex("41e9ffffffffffff") << QString::fromUtf8("Aé")
                                     << QByteArray::fromHex("41e9ffffffffffff");
    QTest::newRow("only the first zero") << QByteArray::fromHex("0041ffffffffffff") << QString(QChar(0)) + u'A'
                                         << QByteArray::fromHex("0041ffffffffffff");
}

void TestChannelSheet::names()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QByteArray, reencoded);

    const ChannelSheet sheet = decoded(kRecord95, 3, Language::English, bytes);
    QCOMPARE(sheet.row(5).name, name);
    QCOMPARE(sheet.cell(5, kColumnName), name);
    QCOMPARE(encodedName(sheet, 5).toHex(' '), reencoded.toHex(' '));
}

void TestChannelSheet::clearNoAndBadChannelNumbers()
{
    ChannelSheet sheet = decoded(kRecord95, 3, Language::English, QByteArray::fromHex("434831ffffffffff"));
    sheet.clearNo(5);
    QCOMPARE(sheet.cell(5, kColumnNumber), QStringLiteral("5"));
    QCOMPARE(fields(sheet, 5), emptyFields());
    QVERIFY(sheet.cell(5, kColumnName).isEmpty());
    const ChannelRow &row = sheet.row(5);
    QVERIFY(row.rxText.isEmpty() && row.txText.isEmpty() && row.name.isEmpty() && row.rxToneText.isEmpty());
    QCOMPARE(row.optionIndex, (std::array<int, 6>{}));
    QCOMPARE(encodedRecord(sheet, 5), QByteArray(13, '\xFF'));
    QCOMPARE(encodedName(sheet, 5), QByteArray(8, '\0'));

    // Channel numbers outside 1..128 are ignored everywhere.
    for (int channel : {-1, 0, 129}) {
        sheet.clearNo(channel);
        sheet.commitName(channel, QStringLiteral("X"));
        sheet.editName(channel, QStringLiteral("X"));
        QVERIFY(sheet.cell(channel, kColumnRx).isEmpty());
        QVERIFY(sheet.row(channel).name.isEmpty());
        QCOMPARE(sheet.commitFrequency(channel, kColumnRx, QStringLiteral("400"), band(3), Language::English),
                 FrequencyCommit::Unchanged);
        QVERIFY(!sheet.chooseTone(channel, kColumnRxTone, 1, Language::English));
        QVERIFY(!sheet.chooseOption(channel, kColumnPower, 1, Language::English));
    }
    QVERIFY(sheet.cell(1, ChannelSheet::kColumns).isEmpty());
}

void TestChannelSheet::commitFrequency_data()
{
    QTest::addColumn<bool>("filled");        // channel 5 holds the 0x95 record named CH1
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Language>("language");
    QTest::addColumn<FrequencyCommit>("result");
    QTest::addColumn<QString>("cells");

    const QString filled = "462.56250|462.56250|Off|Off|High|Off|Off|wide|On|On";
    QTest::newRow("below the band") << false << 1 << "399.99999" << Language::English << FrequencyCommit::OutOfBand
                                    << emptyFields();
    QTest::newRow("new channel, Chinese") << false << 1 << "400" << Language::Chinese << FrequencyCommit::Stored
                                          << "400.00000|400.00000|关闭|关闭|高|关|使能|宽带|关|关";
    QTest::newRow("two decimals") << false << 1 << "462.55" << Language::English << FrequencyCommit::Stored
                                  << "462.55000|462.55000|Off|Off|High|Off|On|Wide|Off|Off";
    QTest::newRow("trailing point") << false << 1 << "435." << Language::English << FrequencyCommit::Stored
                                    << "435.00000|435.00000|Off|Off|High|Off|On|Wide|Off|Off";
    QTest::newRow("two points") << false << 1 << "4.0.0" << Language::English << FrequencyCommit::Unchanged
                                << emptyFields();
    QTest::newRow("pasted value rounding onto the limit")
        << false << 1 << "469.9999996" << Language::English << FrequencyCommit::OutOfBand << emptyFields();
    QTest::newRow("transmit of an empty channel") << false << 2 << "440" << Language::English
                                                  << FrequencyCommit::Unchanged << emptyFields();
    QTest::newRow("erase on empty channel") << false << 1 << "" << Language::English << FrequencyCommit::Cleared
                                            << emptyFields();

    QTest::newRow("new transmit") << true << 2 << "440" << Language::English << FrequencyCommit::Stored
                                  << "462.56250|440.00000|Off|Off|High|Off|Off|wide|On|On";
    QTest::newRow("out of band keeps the channel") << true << 1 << "480" << Language::English
                                                   << FrequencyCommit::OutOfBand << filled;
    QTest::newRow("not a number keeps the channel") << true << 2 << "." << Language::English
                                                    << FrequencyCommit::Unchanged << filled;
}

void TestChannelSheet::commitFrequency()
{
    QFETCH(bool, filled);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(Language, language);
    QFETCH(FrequencyCommit, result);
    QFETCH(QString, cells);

    const QByteArray name = QByteArray::fromHex("434831ffffffffff");
    ChannelSheet sheet = filled ? decoded(kRecord95, 3, Language::English, name) : ChannelSheet();
    QCOMPARE(sheet.commitFrequency(5, column, typed, band(3), language), result);
    QCOMPARE(fields(sheet, 5), cells);
    const ChannelRow &row = sheet.row(5);
    // The table holds what the cells show.
    QCOMPARE(row.rxText, sheet.cell(5, kColumnRx));
    QCOMPARE(row.txText, sheet.cell(5, kColumnTx));
    const bool keepsName = filled && result != FrequencyCommit::Cleared;
    QCOMPARE(row.name, keepsName ? QStringLiteral("CH1") : QString());
    QCOMPARE(sheet.cell(5, kColumnName), row.name);
}

void TestChannelSheet::newChannelEncodes()
{
    ChannelSheet sheet;
    QCOMPARE(sheet.commitFrequency(1, kColumnRx, QStringLiteral("400"), band(3), Language::English),
             FrequencyCommit::Stored);
    QCOMPARE(sheet.editorColumn(1, kColumnPower), int(kColumnPower));
    QCOMPARE(sheet.editorColumn(2, kColumnPower), int(kColumnRx));
    // Tones Off, every option at its list position 1, bit 7 set.
    QCOMPARE(encodedRecord(sheet, 1).toHex(' '),
             QByteArray::fromHex("0000004000000040fffffffffd").toHex(' '));
    QCOMPARE(encodedName(sheet, 1), QByteArray(8, '\0'));
}

void TestChannelSheet::listChoices()
{
    ChannelSheet sheet = decoded(kRecord95, 3, Language::English);
    QVERIFY(sheet.chooseTone(5, kColumnRxTone, 52, Language::English));
    QCOMPARE(sheet.cell(5, kColumnRxTone), QStringLiteral("D023N"));
    QCOMPARE(sheet.row(5).rxToneIndex, 52);
    QCOMPARE(sheet.row(5).rxToneText, QStringLiteral("D023N"));
    QVERIFY(sheet.chooseTone(5, kColumnTxTone, 1, Language::English));
    QVERIFY(sheet.chooseOption(5, kColumnPower, 2, Language::English));
    QCOMPARE(sheet.cell(5, kColumnPower), QStringLiteral("Middle"));
    QCOMPARE(sheet.row(5).optionText[0], QStringLiteral("High"));   // only the index follows
    QVERIFY(sheet.chooseOption(5, kColumnScramble, 1, Language::English));
    QCOMPARE(encodedRecord(sheet, 5).toHex(' '),
             QByteArray::fromHex("506225465062254623807006d6").toHex(' '));

    // Choices no list offers change nothing.
    const QString before = fields(sheet, 5);
    QVERIFY(!sheet.chooseTone(5, kColumnRxTone, 265, Language::English));
    QVERIFY(!sheet.chooseTone(5, kColumnRxTone, -1, Language::English));
    QVERIFY(!sheet.chooseTone(5, kColumnPower, 3, Language::English));
    QVERIFY(!sheet.chooseOption(5, kColumnPower, 3, Language::English));
    QVERIFY(!sheet.chooseOption(5, kColumnBusyLock, 2, Language::English));
    QVERIFY(!sheet.chooseOption(5, kColumnRxTone, 0, Language::English));
    QVERIFY(!sheet.chooseTone(6, kColumnRxTone, 1, Language::English));   // an empty channel has no tones
    QCOMPARE(fields(sheet, 5), before);
    QCOMPARE(fields(sheet, 6), emptyFields());
}

void TestChannelSheet::nameEditing()
{
    ChannelSheet sheet = decoded(kRecord95, 3, Language::English, QByteArray::fromHex("434831ffffffffff"));
    const QString padded = QStringLiteral("AB") + QString(2, QChar(0xFF));
    sheet.editName(5, padded);
    QCOMPARE(sheet.row(5).name, QStringLiteral("AB"));
    QCOMPARE(sheet.cell(5, kColumnName), QStringLiteral("CH1"));   // the cell follows on commit
    sheet.commitName(5, padded);
    QCOMPARE(sheet.cell(5, kColumnName), QStringLiteral("AB"));
    sheet.commitName(5, QString());
    QVERIFY(sheet.row(5).name.isEmpty());
    QCOMPARE(encodedName(sheet, 5), QByteArray(8, '\0'));

    // No gesture types these, but whatever a name is given, it is kept as the
    // radio will hold it: a save opened again shows and saves the same name.
    const QChar y(0xFF);
    const QList<std::pair<QString, QString>> kept{
        {QStringLiteral("ABCDEFGHIJ"), QStringLiteral("ABCDEFGH")},
        {QStringLiteral("A\u4E2D"), QStringLiteral("A?")},
        {QString(y), QString()},
        {QString(8, y) + u'A', QString()},                    // eight padding bytes
        {QString(2, QChar(0)) + QStringLiteral("AB"), QString()},   // the empty name's mark
        {QString(y) + QStringLiteral("AB"), QString(y) + QStringLiteral("AB")},
    };
    for (const auto &[typed, stored] : kept) {
        sheet.commitName(5, typed);
        QCOMPARE(sheet.row(5).name, stored);
        QCOMPARE(sheet.cell(5, kColumnName), stored);
        MemoryImage image;
        sheet.encodeNames(image);
        ChannelSheet reopened;
        reopened.decodeNames(image);
        QCOMPARE(reopened.row(5).name, stored);
    }
}

void TestChannelSheet::refreshLanguage()
{
    const QByteArray name = QByteArray::fromHex("434831ffffffffff");
    MemoryImage image = erasedImage();
    image.store(kChannelRecords.address(0), QByteArray::fromHex("5062254650622546940623c095"));
    image.store(kChannelNames.address(0), name);
    image.store(kChannelNames.address(1), name);   // a name on an empty channel
    ChannelSheet sheet;
    sheet.setNumOf(image, Language::English);
    sheet.setGrid(band(3));
    sheet.decodeNames(image);
    QCOMPARE(sheet.commitFrequency(3, kColumnRx, QStringLiteral("400"), band(3), Language::English),
             FrequencyCommit::Stored);
    QCOMPARE(sheet.cell(3, kColumnBandwidth), QStringLiteral("Wide"));

    sheet.refreshLanguage(Language::Chinese);
    // Cells follow the stored positions: a tone outside the list shows as Off.
    QCOMPARE(fields(sheet, 1), QStringLiteral("462.56250|462.56250|关闭|D023I|高|关|禁止|宽带|开|开"));
    QCOMPARE(fields(sheet, 3), QStringLiteral("400.00000|400.00000|关闭|关闭|高|关|使能|宽带|关|关"));
    QCOMPARE(sheet.cell(1, kColumnName), QStringLiteral("CH1"));
    // A row without a receive frequency becomes an empty row, name included.
    QVERIFY(sheet.cell(2, kColumnName).isEmpty());
    QVERIFY(sheet.row(2).name.isEmpty());

    sheet.refreshLanguage(Language::English);
    QCOMPARE(fields(sheet, 3), QStringLiteral("400.00000|400.00000|Off|Off|High|Off|On|wide|Off|Off"));
    // The table's texts are what encoding uses; they did not move.
    QCOMPARE(sheet.row(1).rxToneText, QStringLiteral("69.4"));
    QCOMPARE(encodedRecord(sheet, 1).toHex(' '),
             QByteArray::fromHex("5062254650622546ffff23c095").toHex(' '));
}

QTEST_GUILESS_MAIN(TestChannelSheet)
#include "tst_channel_sheet.moc"
