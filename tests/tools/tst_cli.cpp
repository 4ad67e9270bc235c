// quillon-cli run as a program, as a shell or a script would run it.

#include "document/channel_import.h"
#include "document/document.h"
#include "files/dat_file.h"
#include "image/address_map.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    QStringList errorLines() const { return QString::fromUtf8(err).split(u'\n', Qt::SkipEmptyParts); }
};

Run cli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(QUILLON_CLI), arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
    }
    Run run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Band 3 with three channels: a repeater, a DCS channel and a narrow one.
MemoryImage sampleImage()
{
    Document document;
    startNewImage(document, 3);
    document.commitFrequency(1, kColumnRx, QStringLiteral("446.00625"));
    document.commitFrequency(1, kColumnTx, QStringLiteral("441.00625"));
    document.chooseTone(1, kColumnTxTone, 13);   // 100.0
    document.commitName(1, QStringLiteral("RPT"));
    document.commitFrequency(2, kColumnRx, QStringLiteral("462.5625"));
    document.chooseTone(2, kColumnRxTone, 52);   // D023N
    document.chooseTone(2, kColumnTxTone, 159);  // D023I
    document.chooseOption(2, kColumnPower, 0);
    document.commitFrequency(7, kColumnRx, QStringLiteral("433.5"));
    document.chooseOption(7, kColumnBandwidth, 0);
    document.chooseOption(7, kColumnScanAdd, 0);
    return document.encode();
}

const QByteArray kHeader = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                           "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n";

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void helpAndVersion();
    void usageErrors_data();
    void usageErrors();
    void fileErrors_data();
    void fileErrors();
    void info();
    void diff();
    void exportThenImport();
    void rejectedRows();

private:
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

    QTemporaryDir m_dir;
    QString m_image;
};

void TestCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_image = path("sample.dat");
    QCOMPARE(saveDatFile(m_image, sampleImage()).status, DatStatus::Ok);
    QVERIFY(writeAll(path("foreign.dat"), QByteArray(kDatFileSize, 'x')));
    QVERIFY(writeAll(path("latin1.csv"), "Location,Name,Frequency\n1,CAF\xC9,146.52\n"));
    QVERIFY(writeAll(path("nofrequency.csv"), "Location,Name\n1,A\n"));
    QVERIFY(writeAll(path("good.csv"), kHeader + "1,A,446.5,,,,,,,,,,FM,,,,,,,,\n"));
}

void TestCli::helpAndVersion()
{
    const Run help = cli({QStringLiteral("--help")});
    QCOMPARE(help.exitCode, 0);
    const QString text = QString::fromUtf8(help.out);
    for (const char *line : {"  0  success", "  1  differences found", "  2  usage", "  3  file error",
                             "  4  the radio did not answer", "  5  write refused", "  6  verify found differences",
                             "  7  rows rejected by import"})
        QVERIFY2(text.contains(QLatin1String(line)), line);
    for (const char *command : {"info", "diff", "export", "import"}) {
        QVERIFY(text.contains(QStringLiteral("quillon-cli %1 ").arg(QLatin1String(command))));
        const Run own = cli({QLatin1String(command), QStringLiteral("--help")});
        QCOMPARE(own.exitCode, 0);
        QVERIFY(own.out.startsWith("Usage: quillon-cli " + QByteArray(command)));
    }
    const Run version = cli({QStringLiteral("--version")});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QByteArray("quillon-cli 1.60\n"));
}

void TestCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("says");

    const QString dat = QStringLiteral("x.dat");
    QTest::newRow("no command") << QStringList() << "a command is needed";
    QTest::newRow("unknown command") << QStringList{QStringLiteral("frob")} << "unknown command \"frob\"";
    QTest::newRow("unknown option") << QStringList{QStringLiteral("info"), dat, QStringLiteral("--frob")} << "frob";
    QTest::newRow("missing file") << QStringList{QStringLiteral("diff"), dat} << "a file name is missing";
    QTest::newRow("extra file") << QStringList{QStringLiteral("info"), dat, dat} << "unexpected argument";
    QTest::newRow("language") << QStringList{QStringLiteral("info"), dat, QStringLiteral("--language"),
                                             QStringLiteral("fr")}
                              << "--language must be en or zh";
    const QStringList import{QStringLiteral("import"), QStringLiteral("in.csv"), QStringLiteral("-o"), dat};
    QTest::newRow("import without a start") << import << "either --base";
    QTest::newRow("import with two starts")
        << import + QStringList{QStringLiteral("--base"), dat, QStringLiteral("--new"), QStringLiteral("--band"),
                                QStringLiteral("3")}
        << "either --base";
    QTest::newRow("--new without --band") << import + QStringList{QStringLiteral("--new")} << "go together";
    QTest::newRow("band 10") << import + QStringList{QStringLiteral("--new"), QStringLiteral("--band"), QStringLiteral("10")}
                             << "--band must be a band index 0..9";
    QTest::newRow("no output") << QStringList{QStringLiteral("import"), QStringLiteral("in.csv"),
                                              QStringLiteral("--new"), QStringLiteral("--band"), QStringLiteral("3")}
                               << "-o OUT.dat is missing";
}

void TestCli::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, says);
    const Run run = cli(arguments);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.errorLines().size(), 1);
    QVERIFY2(run.errorLines().first().contains(says), run.err.constData());
    QVERIFY(run.out.isEmpty());
}

void TestCli::fileErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("says");   // %1 is the temporary folder
    QTest::addColumn<QString>("unwritten");

    const QString dir = m_dir.path() + u'/';
    const QString missing = dir + QStringLiteral("missing.dat");
    const QString foreign = dir + QStringLiteral("foreign.dat");
    const QString out = dir + QStringLiteral("out.dat");
    const QString nowhere = dir + QStringLiteral("no/such/folder/out.csv");
    QTest::newRow("unreadable image") << QStringList{QStringLiteral("info"), missing}
                                      << missing + QStringLiteral(": cannot be read: ") << QString();
    QTest::newRow("foreign identification")
        << QStringList{QStringLiteral("diff"), m_image, foreign}
        << foreign + QStringLiteral(": File type is incorrect! (no QVM-7K identification)") << QString();
    QTest::newRow("cannot write") << QStringList{QStringLiteral("export"), m_image, QStringLiteral("-o"), nowhere}
                                  << nowhere + QStringLiteral(": cannot be written: ") << nowhere;
    const QStringList newImage{QStringLiteral("--new"), QStringLiteral("--band"), QStringLiteral("3"),
                               QStringLiteral("-o"), out};
    QTest::newRow("CSV not UTF-8") << QStringList{QStringLiteral("import"), dir + QStringLiteral("latin1.csv")} + newImage
                                   << dir + QStringLiteral("latin1.csv: not UTF-8 text") << out;
    QTest::newRow("CSV without Frequency")
        << QStringList{QStringLiteral("import"), dir + QStringLiteral("nofrequency.csv")} + newImage
        << dir + QStringLiteral("nofrequency.csv: line 1: no Frequency column in the header") << out;
    QTest::newRow("CSV unreadable") << QStringList{QStringLiteral("import"), dir + QStringLiteral("none.csv")} + newImage
                                    << dir + QStringLiteral("none.csv: cannot be read: ") << out;
    QTest::newRow("base unreadable")
        << QStringList{QStringLiteral("import"), dir + QStringLiteral("good.csv"), QStringLiteral("--base"), missing,
                       QStringLiteral("-o"), out}
        << missing + QStringLiteral(": cannot be read: ") << out;
    QTest::newRow("output cannot be written")
        << QStringList{QStringLiteral("import"), dir + QStringLiteral("good.csv"), QStringLiteral("--new"),
                       QStringLiteral("--band"), QStringLiteral("3"), QStringLiteral("-o"), nowhere}
        << nowhere + QStringLiteral(": cannot be written: ") << nowhere;
}

void TestCli::fileErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, says);
    QFETCH(QString, unwritten);
    const Run run = cli(arguments);
    QCOMPARE(run.exitCode, 3);
    QCOMPARE(run.errorLines().size(), 1);
    QVERIFY2(run.errorLines().first().startsWith(says), run.err.constData());
    if (!unwritten.isEmpty())
        QVERIFY(!QFile::exists(unwritten));
    // Nothing half-written is left beside the files either.
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files).size(), 5);
}

void TestCli::info()
{
    const Run text = cli({QStringLiteral("info"), m_image});
    QCOMPARE(text.exitCode, 0);
    const QStringList lines = QString::fromUtf8(text.out).split(u'\n');
    QCOMPARE(lines.mid(0, 4), (QStringList{QStringLiteral("Identification: QVM-7K"),
                                           QStringLiteral("Range: 400-470MHz"), QStringLiteral("Channels: 3"),
                                           QStringLiteral("  Fre  RXFre      TXfre      QT/DQT Dec  QT/DQT Enc  Power  "
                                                          "Channel lock  Add scan  Band    TX Estop  Scramble  "
                                                          "Channel Name")}));
    QCOMPARE(lines[4], QStringLiteral("  1    446.00625  441.00625  Off         100.0       High   Off           On        "
                                      "wide    Off       Off       RPT"));
    QVERIFY(lines.contains(QStringLiteral("  Squelch Level: 5")));

    const Run json = cli({QStringLiteral("info"), m_image, QStringLiteral("--json")});
    QCOMPARE(json.exitCode, 0);
    const QJsonObject object = QJsonDocument::fromJson(json.out).object();
    QCOMPARE(object.value(QStringLiteral("band_index")).toInt(), 3);
    QCOMPARE(object.value(QStringLiteral("band")).toString(), QStringLiteral("400-470MHz"));
    const QJsonArray channels = object.value(QStringLiteral("channels")).toArray();
    QCOMPARE(channels.size(), 3);
    const QJsonObject second = channels[1].toObject();
    QCOMPARE(second.keys(), (QStringList{QStringLiteral("bandwidth"), QStringLiteral("busy_lock"),
                                         QStringLiteral("channel"), QStringLiteral("name"), QStringLiteral("power"),
                                         QStringLiteral("rx"), QStringLiteral("rx_tone"), QStringLiteral("scan_add"),
                                         QStringLiteral("scramble"), QStringLiteral("tx"), QStringLiteral("tx_prohibit"),
                                         QStringLiteral("tx_tone")}));
    QCOMPARE(second.value(QStringLiteral("channel")).toInt(), 2);
    QCOMPARE(second.value(QStringLiteral("rx_tone")).toString(), QStringLiteral("D023N"));
    QCOMPARE(second.value(QStringLiteral("power")).toString(), QStringLiteral("Low"));
    QCOMPARE(channels[2].toObject().value(QStringLiteral("channel")).toInt(), 7);
    QCOMPARE(object.value(QStringLiteral("settings")).toObject().value(QStringLiteral("Squelch Level")).toString(),
             QStringLiteral("5"));

    const Run chinese = cli({QStringLiteral("info"), m_image, QStringLiteral("--json"), QStringLiteral("--language"),
                             QStringLiteral("zh")});
    const QJsonObject zh = QJsonDocument::fromJson(chinese.out).object();
    QCOMPARE(zh.value(QStringLiteral("channels")).toArray()[0].toObject().value(QStringLiteral("rx_tone")).toString(),
             QString::fromUtf8("关闭"));
    QCOMPARE(zh.value(QStringLiteral("settings")).toObject().value(QString::fromUtf8("静噪等级")).toString(),
             QStringLiteral("5"));
    QVERIFY(cli({QStringLiteral("info"), m_image, QStringLiteral("--language"), QStringLiteral("zh")})
                .out.startsWith(QString::fromUtf8("识别码: QVM-7K\n频段: 400-470MHz\n").toUtf8()));
}

void TestCli::diff()
{
    const Run same = cli({QStringLiteral("diff"), m_image, m_image});
    QCOMPARE(same.exitCode, 0);
    QVERIFY(same.out.isEmpty());
    QVERIFY(same.err.isEmpty());

    Document document;
    document.openImage(sampleImage());
    document.commitFrequency(1, kColumnRx, QStringLiteral("446.5"));
    document.commitName(2, QStringLiteral("NEW"));
    document.setFeatureSelection(Feature::SquelchLevel, 3);
    document.setCalibrationValue(1, 200);
    document.commitFmCell(2, QStringLiteral("88"));
    document.confirmFm();
    MemoryImage changed = document.encode();
    changed.set(kUnusedAfterChannels, 0x00);
    const QString other = path("changed.dat");
    QCOMPARE(saveDatFile(other, changed).status, DatStatus::Ok);

    const Run run = cli({QStringLiteral("diff"), m_image, other});
    QCOMPARE(run.exitCode, 1);
    const QStringList lines = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
    for (const char *expected : {"channel 1 rx: 446.00625 -> 446.50000", "channel 2 name:  -> NEW",
                                 "setting Squelch Level: 5 -> 3", "bytes 0x0680: FF -> 00"})
        QVERIFY2(lines.contains(QLatin1String(expected)), qPrintable(lines.join(u'\n')));
    for (const char *start : {"calibration ", "fm "})
        QVERIFY2(std::any_of(lines.begin(), lines.end(), [&](const QString &l) { return l.startsWith(QLatin1String(start)); }),
                 start);

    const QJsonObject json = QJsonDocument::fromJson(cli({QStringLiteral("diff"), m_image, other,
                                                          QStringLiteral("--json")}).out).object();
    QCOMPARE(json.value(QStringLiteral("equal")).toBool(), false);
    const QJsonObject first = json.value(QStringLiteral("differences")).toArray().first().toObject();
    QCOMPARE(first.value(QStringLiteral("area")).toString(), QStringLiteral("channel"));
    QCOMPARE(first.value(QStringLiteral("number")).toInt(), 1);
    QCOMPARE(first.value(QStringLiteral("field")).toString(), QStringLiteral("rx"));
    QCOMPARE(first.value(QStringLiteral("addresses")).toArray().size(), 4);
    QCOMPARE(QJsonDocument::fromJson(cli({QStringLiteral("diff"), m_image, m_image, QStringLiteral("--json")}).out)
                 .object()
                 .value(QStringLiteral("equal"))
                 .toBool(),
             true);
}

void TestCli::exportThenImport()
{
    const QString csv = path("channels.csv");
    const Run exported = cli({QStringLiteral("export"), m_image, QStringLiteral("-o"), csv});
    QCOMPARE(exported.exitCode, 0);
    QVERIFY(exported.out.isEmpty());
    const QByteArray written = readAll(csv);
    QVERIFY(written.startsWith("Location,Name,Frequency,"));
    QCOMPARE(written.count('\n'), 4);
    QCOMPARE(cli({QStringLiteral("export"), m_image}).out, written);   // the same on standard output
    QVERIFY(cli({QStringLiteral("export"), m_image, QStringLiteral("--tsv")}).out.startsWith("Fre\tRXFre\t"));

    const QString imported = path("imported.dat");
    const Run run = cli({QStringLiteral("import"), csv, QStringLiteral("--new"), QStringLiteral("--band"),
                         QStringLiteral("3"), QStringLiteral("-o"), imported});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.err.isEmpty());
    QCOMPARE(run.out, imported.toUtf8() + ": 3 rows imported, 0 rejected; changed channels: 1-2, 7\n");
    QCOMPARE(readAll(imported), readAll(m_image));

    // Into a base image: the rows replace their channels, the others stay.
    const QString onto = path("onto.dat");
    QVERIFY(writeAll(path("one.csv"), "Location,Frequency,Name\n7,440.0,SEVEN\n"));
    QCOMPARE(cli({QStringLiteral("import"), path("one.csv"), QStringLiteral("--base"), m_image, QStringLiteral("-o"),
                  onto})
                 .exitCode,
             0);
    QCOMPARE(QString::fromUtf8(cli({QStringLiteral("diff"), m_image, onto}).out).split(u'\n', Qt::SkipEmptyParts),
             (QStringList{QStringLiteral("channel 7 rx: 433.50000 -> 440.00000"),
                          QStringLiteral("channel 7 tx: 433.50000 -> 440.00000"),
                          QStringLiteral("channel 7 scan_add: Off -> On"),
                          QStringLiteral("channel 7 bandwidth: Narror -> wide"),
                          QStringLiteral("channel 7 name:  -> SEVEN")}));
}

void TestCli::rejectedRows()
{
    const QString csv = path("bad.csv");
    QVERIFY(writeAll(csv, kHeader + "1,OK,446.5,,,,,,,,,,FM,,,,,,,,\n"
                                    "2,,44x.5,,,,,,,,,,FM,,,,,,,,\n"
                                    "129,,446.5,,,,,,,,,,FM,,,,,,,,\n"
                                    "4,,146.5,,,,,,,,,,FM,,,,,,,,\n"
                                    "5,,446.5,,,Tone,69.4,,,,,,FM,,,,,,,,\n"
                                    "6,,446.5,,,,,,,,,,AM,,,,,,,,\n"
                                    "7,lower,446.5,,,,,,,,,,FM,,,,,,,,\n"));
    const QString out = path("rejected.dat");
    QVERIFY(writeAll(out, "old contents"));
    const QStringList arguments{QStringLiteral("import"), csv,        QStringLiteral("--new"), QStringLiteral("--band"),
                                QStringLiteral("3"),      QStringLiteral("-o"), out};
    const QStringList rejected{
        csv + QStringLiteral(": line 3 (channel 2): rejected: Frequency \"44x.5\" is not a number"),
        csv + QStringLiteral(": line 4 (channel 129): rejected: channel 129 is beyond channel 128"),
        csv + QStringLiteral(": line 5 (channel 4): rejected: RX 146.5 is outside the band 400-470MHz"),
        csv + QStringLiteral(": line 6 (channel 5): rejected: rToneFreq \"69.4\" is not in the tone list"),
        csv + QStringLiteral(": line 7 (channel 6): rejected: Mode \"AM\" is not supported by the radio"),
        csv + QStringLiteral(": line 8 (channel 7): note: name \"lower\" is stored as \"LOWER\" by the name rule"),
    };

    const Run refused = cli(arguments);
    QCOMPARE(refused.exitCode, 7);
    QCOMPARE(refused.errorLines(),
             rejected + QStringList{csv + QStringLiteral(": 5 rows rejected, %1 not written (--skip-bad imports the "
                                                         "others)").arg(out)});
    QCOMPARE(readAll(out), QByteArray("old contents"));

    const Run skipped = cli(arguments + QStringList{QStringLiteral("--skip-bad")});
    QCOMPARE(skipped.exitCode, 0);
    QCOMPARE(skipped.errorLines(), rejected);
    QCOMPARE(skipped.out, out.toUtf8() + ": 2 rows imported, 5 rejected; changed channels: 1, 7\n");
    MemoryImage image;
    QCOMPARE(loadDatFile(out, image).status, DatStatus::Ok);
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
