#include "files/channel_csv.h"
#include "files/csv_table.h"
#include "image/address_map.h"
#include "image/tone_list.h"

#include <QTest>

using namespace quillon;

namespace {

BandState band(int index)
{
    BandState state;
    state.select(index);
    return state;
}

int tone(const char *text)
{
    return QByteArrayView(text) == "Off" ? 0 : toneIndexOf(QString::fromLatin1(text), Language::English);
}

// Channel 1 typed into band 9 (134-260MHz, wide enough for a split): RX,
// then TX ("" for none), tones and options (-1 leaves the new-row default).
ChannelSheet typed(const char *rx, const char *tx, const char *rxTone = "Off", const char *txTone = "Off",
                   std::array<int, 6> options = {-1, -1, -1, -1, -1, -1})
{
    ChannelSheet sheet;
    const BandState wide = band(9);
    sheet.commitFrequency(1, kColumnRx, QString::fromLatin1(rx), wide, Language::English);
    if (QByteArrayView(tx).isEmpty())
        sheet.clearTransmit(1);
    else
        sheet.commitFrequency(1, kColumnTx, QString::fromLatin1(tx), wide, Language::English);
    sheet.chooseTone(1, kColumnRxTone, tone(rxTone), Language::English);
    sheet.chooseTone(1, kColumnTxTone, tone(txTone), Language::English);
    for (int k = 0; k < 6; ++k) {
        if (options[k] >= 0)
            sheet.chooseOption(1, kColumnPower + k, options[k], Language::English);
    }
    return sheet;
}

// One record decoded as channel 1 of band 3, as an image from the radio gives it.
ChannelSheet decodedRecord(const char *recordHex)
{
    MemoryImage image = MemoryImage::fromByteArray(QByteArray(kImageSize, '\xFF'));
    image.store(kChannelRecords.address(0), QByteArray::fromHex(recordHex));
    ChannelSheet sheet;
    sheet.setNumOf(image, Language::English);
    sheet.setGrid(band(3));
    return sheet;
}

// The exported row of channel 1, by column name.
QMap<QString, QString> exportedRow(const ChannelSheet &sheet, const BandState &state = band(9))
{
    const CsvParse parse = parseCsv(exportChannelCsv(sheet, state).bytes);
    if (!parse.ok || parse.table.records.isEmpty())
        return {};
    QMap<QString, QString> row;
    for (qsizetype i = 0; i < parse.table.header.size(); ++i)
        row.insert(parse.table.header[i], parse.table.records.first().fields.value(i));
    return row;
}

QString join(const QMap<QString, QString> &row, const QStringList &columns)
{
    QStringList values;
    for (const QString &column : columns)
        values << row.value(column);
    return values.join(u'|');
}

} // namespace

class TestChannelCsv : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void refusedFiles_data();
    void refusedFiles();
    void writeQuotesWhatNeedsIt();
    void header();
    void exportTones_data();
    void exportTones();
    void exportDuplex_data();
    void exportDuplex();
    void exportOptions_data();
    void exportOptions();
    void exportWarnsWhatTheFormatCannotCarry();
    void exportKeepsTheBandCheck();
    void tsvUsesTheGridsColumns();
};

void TestChannelCsv::parse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<QString>("records");   // line:field|field;line:...

    const QStringList ab{QStringLiteral("A"), QStringLiteral("B")};
    QTest::newRow("LF") << QByteArray("A,B\n1,2\n3,4\n") << ab << QStringLiteral("2:1|2;3:3|4");
    QTest::newRow("CRLF") << QByteArray("A,B\r\n1,2\r\n3,4\r\n") << ab << QStringLiteral("2:1|2;3:3|4");
    QTest::newRow("CR alone") << QByteArray("A,B\r1,2\r3,4") << ab << QStringLiteral("2:1|2;3:3|4");
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF" "A,B\n1,2\n") << ab << QStringLiteral("2:1|2");
    QTest::newRow("blank lines skipped, lines still counted")
        << QByteArray("A,B\n\n1,2\n\r\n3,4") << ab << QStringLiteral("3:1|2;5:3|4");
    QTest::newRow("quoted separator, doubled quote")
        << QByteArray("A,B\n\"1,5\",\"say \"\"hi\"\"\"\n") << ab << QStringLiteral("2:1,5|say \"hi\"");
    QTest::newRow("quoted line end: the next record's line follows")
        << QByteArray("A,B\n\"x\r\ny\",2\n3,4\n") << ab << QStringLiteral("2:x\ny|2;4:3|4");
    QTest::newRow("short and empty fields") << QByteArray("A,B\n1\n,\n") << ab << QStringLiteral("2:1;3:|");
    QTest::newRow("UTF-8 text") << QByteArray("A,B\n\xE4\xBF\xA1\xE9\x81\x93,2\n") << ab
                                << QString::fromUtf8("2:信道|2");
}

void TestChannelCsv::parse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, header);
    QFETCH(QString, records);

    const CsvParse parse = parseCsv(bytes);
    QVERIFY(parse.ok);
    QCOMPARE(parse.table.header, header);
    QStringList got;
    for (const CsvRecord &record : parse.table.records)
        got << QString::number(record.line) + u':' + record.fields.join(u'|');
    QCOMPARE(got.join(u';'), records);
}

void TestChannelCsv::refusedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("error");

    QTest::newRow("not UTF-8") << QByteArray("Location,Name\n1,CAF\xC9\n") << 0 << QStringLiteral("not UTF-8 text");
    QTest::newRow("empty") << QByteArray("\n\n") << 0 << QStringLiteral("no header row");
    QTest::newRow("unclosed quote") << QByteArray("Location,Frequency\n1,146.52\n2,\"146.55\n3,146.58\n") << 3
                                    << QStringLiteral("a quote opened on this line is never closed");
    QTest::newRow("no Frequency column") << QByteArray("\nLocation,Name\n1,A\n") << 2
                                         << QStringLiteral("no Frequency column in the header");
}

void TestChannelCsv::refusedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QFETCH(QString, error);

    const ChannelCsvRead read = readChannelCsv(bytes, false);
    QCOMPARE(read.status, ChannelCsvRead::Status::BadFile);
    QCOMPARE(read.errorLine, line);
    QCOMPARE(read.error.en, error);
    QVERIFY(!read.error.zh.isEmpty());
}

void TestChannelCsv::writeQuotesWhatNeedsIt()
{
    const QList<QStringList> rows{{QStringLiteral("plain"), QStringLiteral("a,b"), QStringLiteral("say \"x\"")},
                                  {QStringLiteral("two\nlines"), QString(), QStringLiteral("tab\there")}};
    const QByteArray csv = writeCsv(rows);
    QCOMPARE(csv, QByteArray("plain,\"a,b\",\"say \"\"x\"\"\"\r\n\"two\nlines\",,tab\there\r\n"));
    QCOMPARE(writeCsv(rows, u'\t'), QByteArray("plain\ta,b\t\"say \"\"x\"\"\"\r\n\"two\nlines\"\t\t\"tab\there\"\r\n"));
    // What is written reads back as it was.
    const CsvParse parse = parseCsv(csv);
    QCOMPARE(parse.table.header, rows[0]);
    QCOMPARE(parse.table.records.first().fields, rows[1]);
}

void TestChannelCsv::header()
{
    QCOMPARE(channelCsvHeader().join(u','),
             QStringLiteral("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                            "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE,"
                            "BusyLock,TxProhibit,Scramble"));
}

void TestChannelCsv::exportTones_data()
{
    QTest::addColumn<QString>("rxTone");   // our RX tone is the decoder, TX the encoder
    QTest::addColumn<QString>("txTone");
    QTest::addColumn<QString>("columns");  // Tone|rToneFreq|cToneFreq|DtcsCode|DtcsPolarity|RxDtcsCode|CrossMode

    auto row = [](const char *name, const char *rx, const char *tx, const char *columns) {
        QTest::newRow(name) << QString::fromLatin1(rx) << QString::fromLatin1(tx) << QString::fromLatin1(columns);
    };
    row("both Off", "Off", "Off", "|88.5|88.5|023|NN|023|Tone->Tone");
    row("Tone", "Off", "100.0", "Tone|100.0|88.5|023|NN|023|Tone->Tone");
    row("TSQL, 199.9 as the format's 199.5", "199.9", "199.9", "TSQL|199.5|199.5|023|NN|023|Tone->Tone");
    row("DTCS normal", "D023N", "D023N", "DTCS|88.5|88.5|023|NN|023|Tone->Tone");
    row("DTCS inverted", "D754I", "D754I", "DTCS|88.5|88.5|754|RR|023|Tone->Tone");
    row("Tone->Tone", "67.0", "100.0", "Cross|100.0|67.0|023|NN|023|Tone->Tone");
    row("Tone->DTCS", "D411I", "100.0", "Cross|100.0|88.5|023|NR|411|Tone->DTCS");
    row("DTCS->Tone", "67.0", "D023I", "Cross|88.5|67.0|023|RN|023|DTCS->Tone");
    row("DTCS->DTCS", "D411N", "D025N", "Cross|88.5|88.5|025|NN|411|DTCS->DTCS");
    row("one code, two polarities", "D023I", "D023N", "Cross|88.5|88.5|023|NR|023|DTCS->DTCS");
    row("DTCS->", "Off", "D125N", "Cross|88.5|88.5|125|NN|023|DTCS->");
    row("->DTCS", "D125I", "Off", "Cross|88.5|88.5|023|NR|125|->DTCS");
    row("->Tone", "71.9", "Off", "Cross|88.5|71.9|023|NN|023|->Tone");
}

void TestChannelCsv::exportTones()
{
    QFETCH(QString, rxTone);
    QFETCH(QString, txTone);
    QFETCH(QString, columns);
    const ChannelSheet sheet = typed("146.52", "146.52", rxTone.toLatin1().constData(), txTone.toLatin1().constData());
    QCOMPARE(join(exportedRow(sheet), {QStringLiteral("Tone"), QStringLiteral("rToneFreq"), QStringLiteral("cToneFreq"),
                                       QStringLiteral("DtcsCode"), QStringLiteral("DtcsPolarity"),
                                       QStringLiteral("RxDtcsCode"), QStringLiteral("CrossMode")}),
             columns);
}

void TestChannelCsv::exportDuplex_data()
{
    QTest::addColumn<QString>("tx");
    QTest::addColumn<QString>("columns");   // Frequency|Duplex|Offset

    QTest::newRow("TX = RX") << "146.52" << "146.520000||0.000000";
    QTest::newRow("+") << "147.12" << "146.520000|+|0.600000";
    QTest::newRow("-") << "141.52" << "146.520000|-|5.000000";
    QTest::newRow("70 MHz is still an offset") << "216.52" << "146.520000|+|70.000000";
    QTest::newRow("beyond 70 MHz: split") << "216.525" << "146.520000|split|216.525000";
    QTest::newRow("no TX") << "" << "146.520000|off|0.000000";
}

void TestChannelCsv::exportDuplex()
{
    QFETCH(QString, tx);
    QFETCH(QString, columns);
    const ChannelSheet sheet = typed("146.52", tx.toLatin1().constData());
    QCOMPARE(join(exportedRow(sheet), {QStringLiteral("Frequency"), QStringLiteral("Duplex"), QStringLiteral("Offset")}),
             columns);
}

void TestChannelCsv::exportOptions_data()
{
    QTest::addColumn<QString>("rx");
    QTest::addColumn<QList<int>>("options");   // power, busy lock, scan add, bandwidth, TX prohibit, scramble
    QTest::addColumn<QString>("columns");      // Location|Name|Mode|TStep|Skip|Power|BusyLock|TxProhibit|Scramble

    QTest::newRow("new-row defaults") << "146.52" << QList<int>{-1, -1, -1, -1, -1, -1}
                                      << "1||FM|5.00||High|Off|Off|Off";
    QTest::newRow("every option at 0") << "146.52" << QList<int>{0, 0, 0, 0, 0, 0}
                                       << "1||NFM|5.00|S|Low|Carry|On|On";
    QTest::newRow("middle power, 6.25 kHz raster") << "146.50625" << QList<int>{2, -1, -1, -1, -1, -1}
                                                   << "1||FM|6.25||Mid|Off|Off|Off";
}

void TestChannelCsv::exportOptions()
{
    QFETCH(QString, rx);
    QFETCH(QList<int>, options);
    QFETCH(QString, columns);
    std::array<int, 6> chosen{};
    std::copy(options.begin(), options.end(), chosen.begin());
    const ChannelSheet sheet = typed(rx.toLatin1().constData(), rx.toLatin1().constData(), "Off", "Off", chosen);
    QCOMPARE(join(exportedRow(sheet), {QStringLiteral("Location"), QStringLiteral("Name"), QStringLiteral("Mode"),
                                       QStringLiteral("TStep"), QStringLiteral("Skip"), QStringLiteral("Power"),
                                       QStringLiteral("BusyLock"), QStringLiteral("TxProhibit"),
                                       QStringLiteral("Scramble")}),
             columns);
}

void TestChannelCsv::exportWarnsWhatTheFormatCannotCarry()
{
    // RX 462.5625, TX with a letter in its BCD, RX tone 69.4 (not in the
    // list), TX tone Off, flags 0x97: power value 3, the one without an entry.
    const ChannelSheet sheet = decodedRecord("50622546502a2546 9406 ffff 97");
    const ChannelCsvExport exported = exportChannelCsv(sheet, band(3));
    QCOMPARE(exported.channels, 1);
    QStringList warnings;
    for (const CsvNotice &warning : exported.warnings)
        warnings << QString::number(warning.channel) + u' ' + warning.text.en;
    QCOMPARE(warnings, (QStringList{QStringLiteral("1 TX \"462.52A50\" is not a number and is written as Duplex off"),
                                    QStringLiteral("1 RX tone \"69.4\" is not in the tone list and is written as Off")}));
    const QMap<QString, QString> row = exportedRow(sheet, band(3));
    QCOMPARE(join(row, {QStringLiteral("Frequency"), QStringLiteral("Duplex"), QStringLiteral("Offset"),
                        QStringLiteral("Tone"), QStringLiteral("Power")}),
             QStringLiteral("462.562500|off|0.000000||"));
}

void TestChannelCsv::exportKeepsTheBandCheck()
{
    ChannelSheet sheet = typed("146.52", "146.52");
    sheet.commitFrequency(3, kColumnRx, QStringLiteral("150"), band(9), Language::English);
    sheet.commitFrequency(2, kColumnRx, QStringLiteral("250"), band(9), Language::English);
    QVERIFY(sheet.passesBandCheck(2, band(9)));
    QVERIFY(!sheet.passesBandCheck(2, band(0)));
    // Channels a keyboard band change left outside the band are not exported.
    const CsvParse parse = parseCsv(exportChannelCsv(sheet, band(0)).bytes);
    QCOMPARE(parse.table.records.size(), 2);
    QCOMPARE(parse.table.records[0].fields.first(), QStringLiteral("1"));
    QCOMPARE(parse.table.records[1].fields.first(), QStringLiteral("3"));
    QCOMPARE(exportChannelCsv(ChannelSheet(), band(0)).bytes, writeCsv({channelCsvHeader()}));
}

void TestChannelCsv::tsvUsesTheGridsColumns()
{
    ChannelSheet sheet = typed("146.52", "147.12", "D023N", "100.0");
    sheet.commitName(1, QStringLiteral("RPT"));
    QCOMPARE(exportChannelTsv(sheet, band(9), Language::English),
             QByteArray("Fre\tRXFre\tTXfre\tQT/DQT Dec\tQT/DQT Enc\tPower\tChannel lock\tAdd scan\tBand\tTX Estop\t"
                        "Scramble\tChannel Name\r\n"
                        "1\t146.52000\t147.12000\tD023N\t100.0\tHigh\tOff\tOn\tWide\tOff\tOff\tRPT\r\n"));
    QVERIFY(exportChannelTsv(sheet, band(9), Language::Chinese).startsWith(QString::fromUtf8("频道\t接收频率").toUtf8()));
}

QTEST_APPLESS_MAIN(TestChannelCsv)
#include "tst_channel_csv.moc"
