#include "document/channel_import.h"
#include "document/image_summary.h"
#include "image/address_map.h"
#include "image/tone_list.h"

#include <QSet>
#include <QTest>

using namespace quillon;

namespace {

int tone(const QString &text)
{
    return text == u"Off" ? 0 : toneIndexOf(text, Language::English);
}

// Builds an image the way a user would, channel after channel.
class ImageBuilder {
public:
    explicit ImageBuilder(int band) { startNewImage(m_document, band); }

    // tx "" = no TX; options: power, busy lock, scan add, bandwidth, TX prohibit, scramble.
    ImageBuilder &add(const char *rx, const char *tx, const char *rxTone = "Off", const char *txTone = "Off",
                      std::array<int, 6> options = {1, 1, 1, 1, 1, 1}, const char *name = "")
    {
        const int channel = ++m_channel;
        m_document.commitFrequency(channel, kColumnRx, QString::fromLatin1(rx));
        if (QByteArrayView(tx).isEmpty())
            m_document.step(EditKind::ChannelCell, [channel](Workspace &ws) { ws.channels.clearTransmit(channel); });
        else
            m_document.commitFrequency(channel, kColumnTx, QString::fromLatin1(tx));
        m_document.chooseTone(channel, kColumnRxTone, tone(QString::fromLatin1(rxTone)));
        m_document.chooseTone(channel, kColumnTxTone, tone(QString::fromLatin1(txTone)));
        for (int k = 0; k < 6; ++k)
            m_document.chooseOption(channel, kColumnPower + k, options[k]);
        m_document.commitName(channel, QString::fromLatin1(name));
        return *this;
    }
    MemoryImage image() { return m_document.encode(); }

private:
    Document m_document;
    int m_channel = 0;
};

ChannelCsvRead rows(const QByteArray &csv, bool sequential = false)
{
    ChannelCsvRead read = readChannelCsv(csv, sequential);
    if (read.status != ChannelCsvRead::Status::Ok)
        qWarning() << "not a table:" << read.error.en;
    return read;
}

// Cells 1..11 of a channel joined with "|".
QString fields(const Workspace &ws, int channel)
{
    QStringList cells;
    for (int column = kColumnRx; column <= kColumnName; ++column)
        cells << ws.channels.cell(channel, column);
    return cells.join(u'|');
}

QStringList notices(const QList<CsvNotice> &list)
{
    QStringList lines;
    for (const CsvNotice &notice : list)
        lines << QStringLiteral("%1 ch%2: %3").arg(notice.line).arg(notice.channel).arg(notice.text.en);
    return lines;
}

const QByteArray kHeader = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                           "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n";

} // namespace

class TestChannelImport : public QObject {
    Q_OBJECT

private slots:
    void exportThenImportGivesTheSameBytes_data();
    void exportThenImportGivesTheSameBytes();
    void bothHeaderGenerations_data();
    void bothHeaderGenerations();
    void badRowsAreRejectedWithTheirLine();
    void rowsAreTypedByTheEditorsRules();
    void numbering();
    void powerAndOptions();
    void replacesTheWholeChannel();
    void oneUndoStep();
    void newImageIsWhatSaveWritesAfterStart();
    void summary();
};

void TestChannelImport::exportThenImportGivesTheSameBytes_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<MemoryImage>("image");

    ImageBuilder tones(9);
    // Every tone combination the format tells apart.
    const char *pairs[][2] = {{"Off", "Off"},     {"Off", "100.0"},   {"199.9", "199.9"}, {"D023N", "D023N"},
                              {"D754I", "D754I"}, {"67.0", "100.0"},  {"D411I", "254.1"}, {"67.0", "D023I"},
                              {"D411N", "D025N"}, {"D023I", "D023N"}, {"Off", "D125N"},   {"D125I", "Off"},
                              {"71.9", "Off"},    {"D017N", "D017N"}, {"199.9", "D050I"}};
    for (const auto &pair : pairs)
        tones.add("146.52", "146.52", pair[0], pair[1]);
    QTest::newRow("every tone combination") << 9 << tones.image();

    ImageBuilder duplex(9);
    duplex.add("146.52", "146.52")
        .add("146.52", "147.12")
        .add("146.52", "141.52")
        .add("146.52", "216.52")
        .add("146.52", "216.525")
        .add("146.52", "")
        .add("146.50625", "146.50625")
        .add("259.99375", "134.0");
    QTest::newRow("every duplex case") << 9 << duplex.image();

    ImageBuilder options(3);
    for (int i = 0; i < 12; ++i) {
        options.add("462.5625", "467.5625", "Off", "Off",
                    {i % 3, i & 1, (i >> 1) & 1, (i >> 2) & 1, (i + 1) & 1, ((i >> 1) + 1) & 1});
    }
    QTest::newRow("every power, mode and option") << 3 << options.image();

    ImageBuilder names(0);
    names.add("136.0", "173.99375", "D023N", "88.5", {1, 1, 1, 1, 1, 1}, "A,B")
        .add("150.0", "150.0", "Off", "Off", {1, 1, 1, 1, 1, 1}, "#$%&'")
        .add("151.0", "151.0", "Off", "Off", {1, 1, 1, 1, 1, 1}, "[\\]^_")
        .add("152.0", "152.0", "Off", "Off", {1, 1, 1, 1, 1, 1}, "@`09Z");
    QTest::newRow("names and band edges") << 0 << names.image();
    QTest::newRow("no channel") << 5 << ImageBuilder(5).image();
}

void TestChannelImport::exportThenImportGivesTheSameBytes()
{
    QFETCH(int, band);
    QFETCH(MemoryImage, image);

    Workspace ws;
    ws.readImage = image;
    decodeImage(ws);
    const ChannelCsvExport exported = exportChannelCsv(ws.channels, ws.band);
    QVERIFY(exported.warnings.isEmpty());

    Document document;
    startNewImage(document, band);
    const ChannelImportReport report = importChannels(document, rows(exported.bytes));
    QVERIFY2(report.rejected.isEmpty(), qPrintable(notices(report.rejected).join(u'\n')));
    QVERIFY2(report.warnings.isEmpty(), qPrintable(notices(report.warnings).join(u'\n')));
    QCOMPARE(report.imported, exported.channels);
    const MemoryImage imported = document.encode();
    QCOMPARE(imported.bytes(0, kChannelRecords.end()).toHex(' '), image.bytes(0, kChannelRecords.end()).toHex(' '));
    QCOMPARE(imported.bytes(kChannelNames.start, 1024).toHex(' '), image.bytes(kChannelNames.start, 1024).toHex(' '));
    QVERIFY(imported == image);
}

void TestChannelImport::bothHeaderGenerations_data()
{
    QTest::addColumn<QByteArray>("csv");

    QTest::newRow("current header, LF")
        << QByteArray(kHeader
                      + "1,RPT,146.520000,+,0.600000,Tone,100.0,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\n"
                        "2,DCS,146.550000,,0.000000,DTCS,88.5,88.5,754,RN,023,Tone->Tone,NFM,5.00,S,Low,,,,,\n"
                        "3,X,146.580000,off,0.000000,Cross,77.0,67.0,023,NN,023,Tone->Tone,FM,5.00,,Mid,,,,,\n"
                        "4,SQ,146.610000,-,1.000000,TSQL,88.5,199.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\n");
    QByteArray crlf = "\xEF\xBB\xBF" + kHeader
        + "1,RPT,146.52,+,0.6,Tone,100.0,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\n"
          "2,DCS,146.55,,0,DTCS,88.5,88.5,754,RN,023,Tone->Tone,NFM,5.00,S,Low,,,,,\n"
          "3,X,146.58,off,0,Cross,77.0,67.0,023,NN,023,Tone->Tone,FM,5.00,,Mid,,,,,\n"
          "4,SQ,146.61,-,1,TSQL,88.5,199.9,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\n";
    crlf.replace("\n", "\r\n");
    QTest::newRow("current header, CRLF and a byte-order mark") << crlf;
    // The older generation has no RxDtcsCode, CrossMode, Power or DVCODE:
    // a Cross row is Tone->Tone, power the default (High).
    QTest::newRow("older header, CRLF")
        << QByteArray("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,"
                      "TStep,Skip,Comment,URCALL,RPT1CALL,RPT2CALL\r\n"
                      "1,RPT,146.520000,+,0.600000,Tone,100.0,88.5,023,NN,FM,5.00,,,,,\r\n"
                      "2,DCS,146.550000,,0.000000,DTCS,88.5,88.5,754,RN,NFM,5.00,S,,,,\r\n"
                      "3,X,146.580000,off,0.000000,Cross,77.0,67.0,023,NN,FM,5.00,,,,,\r\n"
                      "4,SQ,146.610000,-,1.000000,TSQL,88.5,199.5,023,NN,FM,5.00,,,,,\r\n");
    QTest::newRow("any order, unknown columns, no cToneFreq")
        << QByteArray("Comment,frequency,Location,Bank,Tone,rToneFreq,Duplex,Offset,DtcsCode,DtcsPolarity,Skip,Mode,Name\n"
                      "x,146.52,1,A,Tone,100.0,+,0.6,023,NN,,FM,RPT\n"
                      "x,146.55,2,A,DTCS,88.5,,0,754,RN,S,NFM,DCS\n"
                      "x,146.58,3,A,Cross,77.0,off,0,023,NN,,FM,X\n"
                      "x,146.61,4,A,TSQL,199.5,-,1,023,NN,,FM,SQ\n");
}

void TestChannelImport::bothHeaderGenerations()
{
    QFETCH(QByteArray, csv);
    const bool powers = csv.contains("Power");

    Document document;
    startNewImage(document, 0);
    const ChannelImportReport report = importChannels(document, rows(csv));
    QCOMPARE(notices(report.rejected), QStringList());
    QCOMPARE(report.changedChannels, (QList<int>{1, 2, 3, 4}));
    const Workspace &ws = document.workspace();
    QCOMPARE(fields(ws, 1), QStringLiteral("146.52000|147.12000|Off|100.0|High|Off|On|wide|Off|Off|RPT"));
    QCOMPARE(fields(ws, 2), QStringLiteral("146.55000|146.55000|D754N|D754I|%1|Off|Off|Narror|Off|Off|DCS")
                                .arg(powers ? QStringLiteral("Low") : QStringLiteral("High")));
    QCOMPARE(fields(ws, 3), QStringLiteral("146.58000||%1|77.0|%2|Off|On|wide|Off|Off|X")
                                .arg(csv.contains("cToneFreq") ? QStringLiteral("67.0") : QStringLiteral("77.0"))
                                .arg(powers ? QStringLiteral("Middle") : QStringLiteral("High")));
    QCOMPARE(fields(ws, 4), QStringLiteral("146.61000|145.61000|199.9|199.9|High|Off|On|wide|Off|Off|SQ"));
}

void TestChannelImport::badRowsAreRejectedWithTheirLine()
{
    const QByteArray csv = kHeader
        + "1,GOOD,146.52,,,,,,,,,,FM,,,,,,,,\n"               // line 2
          "2,,146.5x,,,,,,,,,,FM,,,,,,,,\n"                    // a letter in the frequency
          "3,,146.52,,,Tone,69.4,,,,,,FM,,,,,,,,\n"            // a CTCSS tone not in the list
          "4,,146.52,,,DTCS,,,777,NN,,,FM,,,,,,,,\n"           // a DCS code not in the list
          "129,,146.52,,,,,,,,,,FM,,,,,,,,\n"                  // beyond channel 128
          "6,,146.52,,,,,,,,,,AM,,,,,,,,\n"                    // a mode the radio lacks
          "7,,446.52,,,,,,,,,,FM,,,,,,,,\n"                    // outside the band
          "8,,146.52,,,TSQL-R,88.5,88.5,,,,,FM,,,,,,,,\n"
          "9,,146.52,x,,,,,,,,,,,,,,,,,\n"
          "10,,146.52,+,abc,,,,,,,,,,,,,,,,\n"
          "11,,146.52,,,,,,,,,,,,,Turbo,,,,,\n"
          "12,,146.52,,,Cross,,,023,XY,023,DTCS->DTCS,,,,,,,,,\n"
          "13,,146.52,,,Cross,,,,,,Tone->AM,,,,,,,,,\n"
          "1,SECND,146.55,,,,,,,,,,FM,,,,,,,,\n"               // channel 1 again
          "x,,146.52,,,,,,,,,,FM,,,,,,,,\n"
          "15,,,,,,,,,,,,FM,,,,,,,,\n"                         // empty frequency: skipped silently
          "16,,0.000000,,,,,,,,,,FM,,,,,,,,\n";
    Document document;
    startNewImage(document, 0);
    const MemoryImage before = document.encode();
    const ChannelCsvRead read = rows(csv);
    const ChannelImportReport preview = previewChannelImport(document.workspace(), read);
    QCOMPARE(notices(preview.rejected), (QStringList{
        QStringLiteral("3 ch2: Frequency \"146.5x\" is not a number"),
        QStringLiteral("4 ch3: rToneFreq \"69.4\" is not in the tone list"),
        QStringLiteral("5 ch4: DtcsCode \"777\" is not in the tone list"),
        QStringLiteral("6 ch129: channel 129 is beyond channel 128"),
        QStringLiteral("7 ch6: Mode \"AM\" is not supported by the radio"),
        QStringLiteral("8 ch7: RX 446.52 is outside the band 136-174MHz"),
        QStringLiteral("9 ch8: Tone \"TSQL-R\" is not supported by the radio"),
        QStringLiteral("10 ch9: Duplex \"x\" is not one of \"\", +, -, split, off"),
        QStringLiteral("11 ch10: Offset \"abc\" is not a number"),
        QStringLiteral("12 ch11: Power \"Turbo\" is not High, Low, Mid or watts"),
        QStringLiteral("13 ch12: DtcsPolarity \"XY\" is not one of NN, NR, RN, RR"),
        QStringLiteral("14 ch13: CrossMode \"Tone->AM\" is not one of Tone->Tone, Tone->DTCS, DTCS->Tone, "
                       "DTCS->DTCS, DTCS->, Tone->, ->DTCS, ->Tone"),
        QStringLiteral("15 ch1: channel 1 is already taken by line 2"),
        QStringLiteral("16 ch0: Location \"x\" is not a channel number"),
    }));
    for (const CsvNotice &notice : preview.rejected)
        QVERIFY(!notice.text.zh.isEmpty() && notice.text.zh != notice.text.en);
    QCOMPARE(preview.imported, 1);
    // A preview changes nothing; the import takes the good row only.
    QVERIFY(document.encode() == before);
    const ChannelImportReport report = importChannels(document, read);
    QCOMPARE(notices(report.rejected), notices(preview.rejected));
    QCOMPARE(report.changedChannels, QList<int>{1});
    QCOMPARE(fields(document.workspace(), 1), QStringLiteral("146.52000|146.52000|Off|Off|High|Off|On|wide|Off|Off|GOOD"));
}

void TestChannelImport::rowsAreTypedByTheEditorsRules()
{
    const QByteArray csv = kHeader
        + "1,lower,146.523,,,,,,,,,,,,,,,,,,\n"            // snapped down onto the raster, name raised
          "2,TOO LONG!,146.512499,+,0.6,,,,,,,,,,,,,,,,\n"  // more decimals: five, then snapped; TX from the file's RX
          "3,OK,146.52,split,446.52,,,,,,,,,,,,,,,,\n"      // TX outside the band: the editor keeps TX = RX
          "4,,173.999999,,,,,,,,,,,,,,,,,,\n"               // five decimals reach the band's end
          "5,,146.52,-,150,,,,,,,,,,,,,,,,\n"               // a negative TX is no frequency either
          "6,,146.52,,,Tone,100.0,junk,junk,ZZ,junk,junk,,,,,,,,,\n"   // unused tone columns are ignored
          "7,,146.52,,,Cross,88.5,xx,023,RN,023,DTCS->,,,,,,,,,\n"
          "8,,146.52,,,Cross,100.0,xx,023,RN,023,Tone->,,,,,,,,,\n";
    Document document;
    startNewImage(document, 0);
    const ChannelImportReport report = importChannels(document, rows(csv));
    QCOMPARE(notices(report.rejected), QStringList{QStringLiteral("5 ch4: RX 173.999999 is outside the band 136-174MHz")});
    QCOMPARE(notices(report.warnings), (QStringList{
        QStringLiteral("2 ch1: name \"lower\" is stored as \"LOWER\" by the name rule"),
        QStringLiteral("3 ch2: name \"TOO LONG!\" is stored as \"TOOLO\" by the name rule"),
        QStringLiteral("4 ch3: TX 446.520000 is outside the band 136-174MHz and not taken: TX = RX"),
        QStringLiteral("6 ch5: TX -3.480000 is outside the band 136-174MHz and not taken: TX = RX"),
    }));
    const Workspace &ws = document.workspace();
    QCOMPARE(fields(ws, 1), QStringLiteral("146.52000|146.52000|Off|Off|High|Off|On|Wide|Off|Off|LOWER"));
    QCOMPARE(fields(ws, 2), QStringLiteral("146.51250|147.11250|Off|Off|High|Off|On|Wide|Off|Off|TOOLO"));
    QCOMPARE(fields(ws, 3), QStringLiteral("146.52000|146.52000|Off|Off|High|Off|On|Wide|Off|Off|OK"));
    QCOMPARE(ws.channels.row(4).rxText, QString());
    QCOMPARE(fields(ws, 6), QStringLiteral("146.52000|146.52000|Off|100.0|High|Off|On|Wide|Off|Off|"));
    QCOMPARE(fields(ws, 7), QStringLiteral("146.52000|146.52000|Off|D023I|High|Off|On|Wide|Off|Off|"));
    QCOMPARE(fields(ws, 8), QStringLiteral("146.52000|146.52000|Off|100.0|High|Off|On|Wide|Off|Off|"));
}

void TestChannelImport::numbering()
{
    // A file that counts from 0 moves up by one; the zero-frequency row at
    // Location 0 does not count.
    const QByteArray zeroBased = kHeader
        + "0,,0,,,,,,,,,,,,,,,,,,\n"
          "1,A,146.52,,,,,,,,,,,,,,,,,,\n"
          "0,B,146.55,,,,,,,,,,,,,,,,,,\n"
          "127,C,146.58,,,,,,,,,,,,,,,,,,\n";
    Document document;
    startNewImage(document, 0);
    ChannelImportReport report = importChannels(document, rows(zeroBased));
    QCOMPARE(report.changedChannels, (QList<int>{1, 2, 128}));
    QCOMPARE(document.workspace().channels.row(2).name, QStringLiteral("A"));

    const QByteArray oneBased = kHeader
        + "5,A,146.52,,,,,,,,,,,,,,,,,,\n"
          "9,B,446.55,,,,,,,,,,,,,,,,,,\n"
          "3,C,146.58,,,,,,,,,,,,,,,,,,\n";
    Document plain;
    startNewImage(plain, 0);
    QCOMPARE(importChannels(plain, rows(oneBased)).changedChannels, (QList<int>{3, 5}));

    // In file order from channel 1; a rejected row uses up no number.
    Document sequential;
    startNewImage(sequential, 0);
    report = importChannels(sequential, rows(oneBased, true));
    QCOMPARE(report.changedChannels, (QList<int>{1, 2}));
    QCOMPARE(notices(report.rejected), QStringList{QStringLiteral("3 ch2: RX 446.55 is outside the band 136-174MHz")});
    QCOMPARE(sequential.workspace().channels.row(2).name, QStringLiteral("C"));

    QByteArray many = "Frequency\n";   // no Location column: file order
    for (int i = 0; i < 130; ++i)
        many += "146.52\n";
    report = importChannels(sequential, rows(many));
    QCOMPARE(report.imported, 128);
    QCOMPARE(notices(report.rejected), (QStringList{QStringLiteral("130 ch129: channel 129 is beyond channel 128"),
                                                    QStringLiteral("131 ch129: channel 129 is beyond channel 128")}));
}

void TestChannelImport::powerAndOptions()
{
    const QByteArray csv = "Frequency,Power,Mode,Skip,BusyLock,TxProhibit,Scramble\n"
                           "146.52,5W,fm,s,carry,on,On\n"
                           "146.52,1.0W,NFM,P,Off,Off,Off\n"
                           "146.52,2.5 w,,,,,\n"
                           "146.52,5.0W,,,,,\n"
                           "146.52,h,,,,,\n"
                           "146.52,L,,,,,\n"
                           "146.52,Med,,,,,\n"
                           "146.52,middle,,,,,\n"
                           "146.52,,,," + QString::fromUtf8("载波,开,关").toUtf8() + "\n"
                           "146.52,,,,Maybe,,\n";
    Document document;
    startNewImage(document, 0);
    const ChannelImportReport report = importChannels(document, rows(csv));
    QCOMPARE(notices(report.rejected),
             QStringList{QStringLiteral("11 ch0: BusyLock \"Maybe\" is not one of Carry, Off")});
    QStringList options;
    for (int channel = 1; channel <= 9; ++channel) {
        QStringList cells;
        for (int column = kColumnPower; column <= kColumnScramble; ++column)
            cells << document.workspace().channels.cell(channel, column);
        options << cells.join(u' ');
    }
    QCOMPARE(options, (QStringList{
        QStringLiteral("High Carry Off wide On On"),
        QStringLiteral("Low Off On Narror Off Off"),
        QStringLiteral("Middle Off On Wide Off Off"),
        QStringLiteral("High Off On Wide Off Off"),
        QStringLiteral("High Off On Wide Off Off"),
        QStringLiteral("Low Off On Wide Off Off"),
        QStringLiteral("Middle Off On Wide Off Off"),
        QStringLiteral("Middle Off On Wide Off Off"),
        QStringLiteral("High Carry On Wide On Off"),
    }));

    // One distinct value in watts is High.
    Document single;
    startNewImage(single, 0);
    importChannels(single, rows("Frequency,Power\n146.52,0.5W\n146.55,0.5W\n"));
    QCOMPARE(single.workspace().channels.cell(2, kColumnPower), QStringLiteral("High"));
}

void TestChannelImport::replacesTheWholeChannel()
{
    Document document;
    startNewImage(document, 0);
    document.commitFrequency(4, kColumnRx, QStringLiteral("150"));
    document.commitFrequency(4, kColumnTx, QStringLiteral("155"));
    document.chooseTone(4, kColumnRxTone, 52);
    document.chooseOption(4, kColumnScramble, 0);
    document.commitName(4, QStringLiteral("OLD"));
    document.commitFrequency(5, kColumnRx, QStringLiteral("151"));

    const ChannelImportReport report = importChannels(document, rows("Location,Frequency\n4,146.52\n5,151\n"));
    QCOMPARE(report.changedChannels, QList<int>{4});   // the same values again change nothing
    QCOMPARE(fields(document.workspace(), 4), QStringLiteral("146.52000|146.52000|Off|Off|High|Off|On|Wide|Off|Off|"));
}

void TestChannelImport::oneUndoStep()
{
    Document document;
    startNewImage(document, 0);
    document.commitFrequency(1, kColumnRx, QStringLiteral("150"));
    const MemoryImage before = document.encode();
    const int steps = document.undoCount();

    importChannels(document, rows(kHeader + "1,A,146.52,,,,,,,,,,,,,,,,,,\n2,B,146.55,+,0.6,,,,,,,,,,,,,,,,\n"));
    QCOMPARE(document.undoCount(), steps + 1);
    QCOMPARE(document.undoKind(), EditKind::Import);
    QVERIFY(!(document.encode() == before));
    document.undo();
    QVERIFY(document.encode() == before);
    document.redo();
    QCOMPARE(document.workspace().channels.row(2).txText, QStringLiteral("147.15000"));

    // A file whose every row is rejected adds no step.
    importChannels(document, rows(kHeader + "1,A,446.52,,,,,,,,,,,,,,,,,,\n"));
    QCOMPARE(document.undoCount(), steps + 1);
}

void TestChannelImport::newImageIsWhatSaveWritesAfterStart()
{
    Document started;   // the state right after start: band 0
    Document fresh;
    QVERIFY(startNewImage(fresh, 0));
    QVERIFY(fresh.encode() == started.encode());

    Document uhf;
    QVERIFY(startNewImage(uhf, 3));
    QCOMPARE(uhf.workspace().band.index, 3);
    // The VFO follows the band chosen, as the band list's confirmed change does.
    QCOMPARE(uhf.workspace().features.text(Feature::VfoFrequency), QStringLiteral("435.00000"));
    started.confirmBandChange(3);
    QVERIFY(uhf.encode() == started.encode());
    QVERIFY(!startNewImage(uhf, 10));
    QCOMPARE(uhf.workspace().band.index, 3);

    QCOMPARE(channelRanges({1, 2, 3, 5, 7, 8}), QStringLiteral("1-3, 5, 7-8"));
    QCOMPARE(channelRanges({}), QString());
}

void TestChannelImport::summary()
{
    MemoryImage image = ImageBuilder(3).add("462.5625", "467.5625", "D023N", "Off", {1, 1, 1, 1, 1, 1}, "CH1").image();
    image.store(kChannelRecords.address(1), QByteArray::fromHex("50622546ffffffffffffffff95"));   // 462.5625 again
    image.store(kChannelRecords.address(2), QByteArray::fromHex("00002015ffffffffffffffff95"));   // 152.0: outside
    const ImageSummary english = summarizeImage(image, Language::English);
    QCOMPARE(english.bandIndex, 3);
    QCOMPARE(english.band, QStringLiteral("400-470MHz"));
    QCOMPARE(english.headers.size(), 12);
    QCOMPARE(english.channels.size(), 2);
    QCOMPARE(english.channels[0].join(u'|'),
             QStringLiteral("1|462.56250|467.56250|D023N|Off|High|Off|On|wide|Off|Off|CH1"));
    QCOMPARE(english.channels[1].first(), QStringLiteral("2"));
    const ImageSummary chinese = summarizeImage(image, Language::Chinese);
    QCOMPARE(chinese.channels[0][kColumnTxTone], QString::fromUtf8("关闭"));
    QCOMPARE(chinese.headers[kColumnRx], QString::fromUtf8("接收频率"));

    // The settings are named by their captions, which JSON uses as keys.
    for (const ImageSummary &summary : {english, chinese}) {
        QSet<QString> captions;
        for (const SettingValue &setting : summary.settings) {
            QVERIFY2(!setting.caption.isEmpty() && !setting.caption.endsWith(u':'), qPrintable(setting.caption));
            captions.insert(setting.caption);
        }
        QCOMPARE(captions.size(), summary.settings.size());
    }
    QCOMPARE(channelFieldName(kColumnTxTone), QStringLiteral("tx_tone"));
    QCOMPARE(channelFieldName(kColumnNumber), QString());
}

QTEST_APPLESS_MAIN(TestChannelImport)
#include "tst_channel_import.moc"
