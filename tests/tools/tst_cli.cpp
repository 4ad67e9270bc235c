// quillon-cli run as a program, as a shell or a script would run it; its
// transfers against the simulated radio on a pseudo-terminal.

#include "support/radio_process.h"

#include "document/channel_import.h"
#include "document/document.h"
#include "files/dat_file.h"
#include "image/address_map.h"
#include "link/transfer_protocol.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using quillon::test::RadioProcess;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    QStringList errorLines() const { return QString::fromUtf8(err).split(u'\n', Qt::SkipEmptyParts); }
};

// The tool started with arguments and extra environment variables (an
// empty value removes the variable); finished by result().
class Started {
public:
    explicit Started(const QStringList &arguments, const QMap<QString, QString> &environment = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (auto it = environment.begin(); it != environment.end(); ++it) {
            if (it.value().isEmpty())
                env.remove(it.key());
            else
                env.insert(it.key(), it.value());
        }
        m_process.setProcessEnvironment(env);
        m_process.start(QStringLiteral(QUILLON_CLI), arguments);
    }
    Run result()
    {
        if (!m_process.waitForFinished(30000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
        Run run;
        run.exitCode = m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
        run.out = m_process.readAllStandardOutput();
        run.err = m_process.readAllStandardError();
        return run;
    }

private:
    QProcess m_process;
};

Run cli(const QStringList &arguments, const QMap<QString, QString> &environment = {})
{
    return Started(arguments, environment).result();
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
    void ports();
    void transfers();
    void verifyAfterWriteFindsTheRadiosFault();
    void radioThatFails();
    void report();

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
    for (const char *command : {"ports", "read", "write", "verify", "info", "diff", "export", "import", "report"}) {
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("^  quillon-cli %1( |$)").arg(QLatin1String(command)),
                                                  QRegularExpression::MultilineOption)),
                 command);
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
    const QString read = QStringLiteral("read");
    const QString out = QStringLiteral("-o");
    const QString port = QStringLiteral("--port");
    const QString device = QStringLiteral("--device");
    QTest::newRow("read without a port") << QStringList{read, out, dat} << "either --port N or --device PATH";
    QTest::newRow("read with port and device")
        << QStringList{read, out, dat, port, QStringLiteral("1"), device, QStringLiteral("/dev/null")}
        << "either --port N or --device PATH";
    QTest::newRow("port 0") << QStringList{read, out, dat, port, QStringLiteral("0")} << "--port must be a port number 1..16, not \"0\"";
    QTest::newRow("port 17") << QStringList{QStringLiteral("verify"), dat, port, QStringLiteral("17")}
                             << "--port must be a port number 1..16";
    QTest::newRow("port x") << QStringList{QStringLiteral("write"), dat, port, QStringLiteral("x")}
                            << "--port must be a port number 1..16";
    QTest::newRow("read without output") << QStringList{read, port, QStringLiteral("1")} << "-o OUT.dat is missing";
    QTest::newRow("write without image") << QStringList{QStringLiteral("write"), port, QStringLiteral("1")}
                                         << "a file name is missing";
    QTest::newRow("report without output") << QStringList{QStringLiteral("report"), dat} << "-o OUT.pdf is missing";
    QTest::newRow("report language") << QStringList{QStringLiteral("report"), dat, out, QStringLiteral("x.pdf"),
                                                    QStringLiteral("--language"), QStringLiteral("de")}
                                     << "--language must be en or zh";
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
    // Checked before the radio is spoken to: no device is needed to fail.
    const QStringList noRadio{QStringLiteral("--device"), dir + QStringLiteral("no-radio")};
    QTest::newRow("image to write unreadable") << QStringList{QStringLiteral("write"), missing} + noRadio
                                               << missing + QStringLiteral(": cannot be read: ") << QString();
    QTest::newRow("image to verify foreign")
        << QStringList{QStringLiteral("verify"), foreign} + noRadio
        << foreign + QStringLiteral(": File type is incorrect! (no QVM-7K identification)") << QString();
    const QString nowhereDat = dir + QStringLiteral("no/such/folder/read.dat");
    QTest::newRow("read into a missing folder")
        << QStringList{QStringLiteral("read"), QStringLiteral("-o"), nowhereDat} + noRadio
        << nowhereDat + QStringLiteral(": cannot be written: the folder ") << nowhereDat;
    QTest::newRow("trace into a missing folder")
        << QStringList{QStringLiteral("write"), m_image, QStringLiteral("--trace"), nowhere} + noRadio
        << nowhere + QStringLiteral(": cannot be written: the folder ") << nowhere;
    const QString nowherePdf = dir + QStringLiteral("no/such/folder/report.pdf");
    QTest::newRow("report cannot be written") << QStringList{QStringLiteral("report"), m_image, QStringLiteral("-o"), nowherePdf}
                                              << nowherePdf + QStringLiteral(": cannot be written: ") << nowherePdf;
    QTest::newRow("report of a foreign file")
        << QStringList{QStringLiteral("report"), foreign, QStringLiteral("-o"), dir + QStringLiteral("report.pdf")}
        << foreign + QStringLiteral(": File type is incorrect!") << dir + QStringLiteral("report.pdf");
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

namespace {

// What standard error shows of a transfer when it is no terminal: a line per 10 %.
QStringList progressLines(const QString &label)
{
    QStringList lines;
    for (int percent = 10; percent <= 100; percent += 10)
        lines << QStringLiteral("%1: %2%").arg(label).arg(percent);
    return lines;
}

QStringList lines(const QByteArray &text)
{
    return QString::fromUtf8(text).split(u'\n', Qt::SkipEmptyParts);
}

qsizetype countMatching(const QStringList &list, const QString &pattern)
{
    const QRegularExpression expression(pattern);
    return std::count_if(list.begin(), list.end(), [&](const QString &l) { return expression.match(l).hasMatch(); });
}

// Whether the radio holds the image in every block a write sends.
bool holdsWritten(const MemoryImage &radio, const MemoryImage &image)
{
    for (int address = 0; address < kImageSize; ++address) {
        if (isWrittenAddress(address, false) && radio.at(address) != image.at(address))
            return false;
    }
    return true;
}

} // namespace

void TestCli::ports()
{
    RadioProcess radio({});
    const QString device = radio.device();
    QVERIFY(!device.isEmpty());
    const QString missing = path("ttyUSB9");
    // Port 2 has no device: it is left out.
    const Run run = cli({QStringLiteral("ports")}, {{QStringLiteral("QUILLON_SERIAL_PORTS"), device + "::" + missing}});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.err.isEmpty());
    const QStringList shown = lines(run.out);
    QCOMPARE(shown.size(), 3);
    QVERIFY(QRegularExpression(QStringLiteral("^PORT +DEVICE +ADAPTER +USB ID +STATE$")).match(shown[0]).hasMatch());
    QVERIFY2(QRegularExpression(QStringLiteral("^1 +%1 +Available$").arg(QRegularExpression::escape(device)))
                 .match(shown[1]).hasMatch(), qPrintable(shown[1]));
    QVERIFY2(QRegularExpression(QStringLiteral("^3 +%1 +No such device \\(.+\\)$").arg(QRegularExpression::escape(missing)))
                 .match(shown[2]).hasMatch(), qPrintable(shown[2]));
}

void TestCli::transfers()
{
    RadioProcess radio({QStringLiteral("--band"), QStringLiteral("3")}, sampleImage());
    const QString device = radio.device();
    QVERIFY(!device.isEmpty());
    const QMap<QString, QString> ports{{QStringLiteral("QUILLON_SERIAL_PORTS"), device + QStringLiteral("::")}};

    // Read: the radio's bytes as they came, behind the file's header.
    const QString readFile = path("read.dat");
    const QString readTrace = path("read-trace.txt");
    const Run read = cli({QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("1"), QStringLiteral("-o"),
                          readFile, QStringLiteral("--trace"), readTrace},
                         ports);
    QCOMPARE(read.exitCode, 0);
    QCOMPARE(readAll(readFile), readAll(m_image));
    QCOMPARE(QString::fromUtf8(read.out),
             readFile + QStringLiteral(": read from port 1 (%1), band 400-470MHz, 3 channels\n").arg(device));
    QCOMPARE(read.errorLines(), progressLines(QStringLiteral("read")));
    const QStringList readFrames = lines(readAll(readTrace));
    QVERIFY(readFrames.first().startsWith(QLatin1String("Quillon serial trace: the last 1 transfers")));
    QCOMPARE(countMatching(readFrames, QStringLiteral("^== Transfer 1: read on port 1 \\(%1\\), started ")
                                           .arg(QRegularExpression::escape(device))),
             1);
    QCOMPARE(countMatching(readFrames, QStringLiteral("^ +\\d+  tx  step +\\d+  read request 0x0[0-9A-F]{3} +52 ")), 192);
    QCOMPARE(countMatching(readFrames, QStringLiteral("^ +\\d+  rx  step +\\d+  read request 0x0BF0 +57 0B F0 10 ")), 1);
    QCOMPARE(readFrames.last(), QStringLiteral("== Ended: read complete"));

    const Run same = cli({QStringLiteral("verify"), m_image, QStringLiteral("--device"), device});
    QCOMPARE(same.exitCode, 0);
    QCOMPARE(QString::fromUtf8(same.out), QStringLiteral("The radio holds exactly what a write of %1 sends.\n").arg(m_image));
    QCOMPARE(same.errorLines(), progressLines(QStringLiteral("verify")));

    // Write with the read-back, traced: both transfers in the file.
    Document document;
    document.openImage(sampleImage());
    document.commitFrequency(1, kColumnRx, QStringLiteral("446.5"));
    document.commitName(2, QStringLiteral("NEW"));
    const MemoryImage changed = document.encode();
    const QString changedFile = path("changed-written.dat");
    QCOMPARE(saveDatFile(changedFile, changed).status, DatStatus::Ok);
    const QString writeTrace = path("write-trace.txt");
    const Run write = cli({QStringLiteral("write"), changedFile, QStringLiteral("--device"), device,
                           QStringLiteral("--verify"), QStringLiteral("--trace"), writeTrace});
    QCOMPARE(write.exitCode, 0);
    QCOMPARE(QString::fromUtf8(write.out), changedFile + QStringLiteral(": written to %1, band 400-470MHz\n"
                                                                        "The radio holds exactly what was written.\n")
                                                             .arg(device));
    QCOMPARE(write.errorLines(), progressLines(QStringLiteral("write")) + progressLines(QStringLiteral("verify")));
    QVERIFY(radio.waitForLine(QStringLiteral("saved")));
    QVERIFY(holdsWritten(radio.savedMemory(), changed));
    const QStringList writeFrames = lines(readAll(writeTrace));
    QVERIFY(writeFrames.first().startsWith(QLatin1String("Quillon serial trace: the last 2 transfers")));
    QCOMPARE(countMatching(writeFrames, QStringLiteral("^== Transfer 1: write on %1, started ").arg(QRegularExpression::escape(device))), 1);
    QCOMPARE(countMatching(writeFrames, QStringLiteral("^== Transfer 2: read on %1, started ").arg(QRegularExpression::escape(device))), 1);
    QCOMPARE(countMatching(writeFrames, QStringLiteral("^ +\\d+  tx  step +\\d+  write block 0x0[0-9A-F]{3} +57 ")), 188);
    QCOMPARE(countMatching(writeFrames, QStringLiteral("^ +\\d+  tx  step 128  calibration block left out +06$")), 1);
    QVERIFY(writeFrames.contains(QStringLiteral("== Ended: write complete")));
    QCOMPARE(writeFrames.last(), QStringLiteral("== Ended: read complete"));

    // The radio now differs from the first image: told image -> radio, with addresses.
    const Run different = cli({QStringLiteral("verify"), m_image, QStringLiteral("--device"), device});
    QCOMPARE(different.exitCode, 1);
    const QStringList differences = lines(different.out);
    QVERIFY2(differences.contains(QStringLiteral("channel 1 rx: 446.00625 -> 446.50000 (0x0000-0x0003)")),
             qPrintable(differences.join(u'\n')));
    QCOMPARE(countMatching(differences, QStringLiteral("^channel 2 name:  -> NEW \\(0x080[89A-F].*\\)$")), 1);

    // A radio of another band: refused before any block, the radio unchanged.
    Document otherBand;
    startNewImage(otherBand, 0);
    otherBand.commitFrequency(1, kColumnRx, QStringLiteral("146.52"));
    const QString otherFile = path("band0.dat");
    QCOMPARE(saveDatFile(otherFile, otherBand.encode()).status, DatStatus::Ok);
    const Run refused = cli({QStringLiteral("write"), otherFile, QStringLiteral("--port"), QStringLiteral("1")}, ports);
    QCOMPARE(refused.exitCode, 5);
    QCOMPARE(refused.errorLines(),
             QStringList{QStringLiteral("port 1 (%1): write refused: the radio's band differs from the image's (the radio "
                                        "reports the band 400-470MHz); nothing was written")
                             .arg(device)});
    QVERIFY(refused.out.isEmpty());
    QVERIFY(radio.waitForLine(QStringLiteral("session end"), 5));
    QVERIFY(radio.lastSessionEnd().contains(QLatin1String(" writes=0 ")));
    QVERIFY(holdsWritten(radio.savedMemory(), changed));

    // Ports that do not lead to a radio.
    const Run noDevice = cli({QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("2"), QStringLiteral("-o"),
                              path("none.dat")},
                             ports);
    QCOMPARE(noDevice.exitCode, 4);
    QCOMPARE(noDevice.errorLines(), QStringList{QStringLiteral("port 2: No serial device is known as port 2")});
    const QString missing = path("ttyUSB9");
    const Run notThere = cli({QStringLiteral("verify"), m_image, QStringLiteral("--device"), missing});
    QCOMPARE(notThere.exitCode, 4);
    QCOMPARE(notThere.errorLines().size(), 1);
    QVERIFY2(notThere.errorLines().first().startsWith(missing + QStringLiteral(": cannot be opened: ")), notThere.err.constData());
    QVERIFY(!QFile::exists(path("none.dat")));
}

void TestCli::verifyAfterWriteFindsTheRadiosFault()
{
    Document document;
    document.openImage(sampleImage());
    document.commitFrequency(5, kColumnRx, QStringLiteral("435.0"));
    const QString five = path("five.dat");
    QCOMPARE(saveDatFile(five, document.encode()).status, DatStatus::Ok);
    // The radio stores bit 0 of 0x0040, channel 5's power, flipped. Its
    // answer to the write's last frame (0x45) comes 20 ms late, in the
    // middle of a read-back that would start at once.
    RadioProcess radio({QStringLiteral("--band"), QStringLiteral("3"), QStringLiteral("--corrupt-block"),
                        QStringLiteral("0x0040"), QStringLiteral("--late-end-answer"), QStringLiteral("20")},
                       sampleImage());
    const QString device = radio.device();
    QVERIFY(!device.isEmpty());

    const Run write = cli({QStringLiteral("write"), five, QStringLiteral("--device"), device, QStringLiteral("--verify")});
    QCOMPARE(write.exitCode, 6);
    const QStringList out = lines(write.out);
    QCOMPARE(out.size(), 2);
    QCOMPARE(out[0], five + QStringLiteral(": written to %1, band 400-470MHz").arg(device));
    QVERIFY2(QRegularExpression(QStringLiteral("^channel 5 power: High -> \\w+ \\(0x0040\\)$")).match(out[1]).hasMatch(),
             qPrintable(out[1]));
    QCOMPARE(write.errorLines().last(),
             QStringLiteral("%1: verify after the write found 1 difference from %2 (listed on standard output as "
                            "written -> in the radio)")
                 .arg(device, five));

    // The fault stays in the radio: a verify of its own tells the same
    // (once the late answer to the write's end has come and gone).
    QTest::qWait(100);
    const Run verify = cli({QStringLiteral("verify"), five, QStringLiteral("--device"), device});
    QCOMPARE(verify.exitCode, 1);
    QCOMPARE(lines(verify.out), QStringList{out[1]});
}

void TestCli::radioThatFails()
{
    // Both at once: each waits out the watchdog's limit.
    RadioProcess silent({QStringLiteral("--silent-after"), QStringLiteral("5")}, sampleImage());
    RadioProcess stranger({QStringLiteral("--wrong-id"), QStringLiteral("--band"), QStringLiteral("3")}, sampleImage());
    const QString silentDevice = silent.device();
    const QString strangerDevice = stranger.device();
    QVERIFY(!silentDevice.isEmpty() && !strangerDevice.isEmpty());
    const QString output = path("silent.dat");
    const QString trace = path("silent-trace.txt");
    QElapsedTimer clock;
    clock.start();
    Started reading({QStringLiteral("read"), QStringLiteral("--device"), silentDevice, QStringLiteral("-o"), output,
                     QStringLiteral("--trace"), trace});
    Started writing({QStringLiteral("write"), m_image, QStringLiteral("--device"), strangerDevice});
    const Run read = reading.result();
    const Run write = writing.result();
    QVERIFY(clock.elapsed() > TransferProtocol::kSilenceLimitMs);

    QCOMPARE(read.exitCode, 4);
    QCOMPARE(read.errorLines(), QStringList{silentDevice + QStringLiteral(": the radio did not answer within 3000 ms "
                                                                          "after the frame \"read request 0x0010\" (step 4)")});
    QVERIFY(read.out.isEmpty());
    QVERIFY(!QFile::exists(output));
    // The trace of a failure is written all the same.
    const QStringList frames = lines(readAll(trace));
    QCOMPARE(countMatching(frames, QStringLiteral("^ +\\d+  tx  step   1  opening +50 52 4F 47 52 41 4D$")), 1);
    QCOMPARE(countMatching(frames, QStringLiteral("^ +\\d+  tx  step   4  read request 0x0010 +52 00 10 10$")), 1);
    QCOMPARE(countMatching(frames, QStringLiteral("^ +\\d+  tx  step   4  end +45$")), 1);
    QCOMPARE(frames.last(), QStringLiteral("== Ended: time-out, the radio was silent for more than 3000 ms"));

    QCOMPARE(write.exitCode, 4);
    QCOMPARE(write.errorLines().size(), 1);
    const QString wrong = write.errorLines().first();
    QVERIFY2(wrong.startsWith(strangerDevice + QStringLiteral(": the radio answered wrongly after the frame "
                                                              "\"identification request\" (step 2): 51564D2D384B")),
             qPrintable(wrong));
    QVERIFY(wrong.endsWith(QLatin1String(", no answer the protocol accepts within 3000 ms")));
    QVERIFY(stranger.linesWith(QStringLiteral("saved")).isEmpty());
}

void TestCli::report()
{
    // No platform chosen and no display: the tool picks the offscreen one.
    const QMap<QString, QString> bare{{QStringLiteral("QT_QPA_PLATFORM"), QString()},
                                      {QStringLiteral("DISPLAY"), QString()},
                                      {QStringLiteral("WAYLAND_DISPLAY"), QString()}};
    const auto pdfText = [](const QString &pdf) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        return text.waitForFinished(60000) ? QString::fromUtf8(text.readAllStandardOutput()) : QString();
    };
    const QString chinese = path("report-zh.pdf");
    const Run zh = cli({QStringLiteral("report"), m_image, QStringLiteral("-o"), chinese, QStringLiteral("--language"),
                        QStringLiteral("zh")},
                       bare);
    QCOMPARE(zh.exitCode, 0);
    QVERIFY2(zh.err.isEmpty(), zh.err.constData());
    QVERIFY(zh.out.isEmpty());
    const QString pages = pdfText(chinese);
    for (const char *phrase : {"禁止", "Quillon 无线电", "接收亚音频", "446.00625", "441.00625", "RPT"})
        QVERIFY2(pages.contains(QString::fromUtf8(phrase)), phrase);

    const QString english = path("report-en.pdf");
    QCOMPARE(cli({QStringLiteral("report"), m_image, QStringLiteral("-o"), english}, bare).exitCode, 0);
    const QString englishPages = pdfText(english);
    QVERIFY(englishPages.contains(QLatin1String("Quillon Radio Works")));
    QVERIFY(!englishPages.contains(QString::fromUtf8("禁止")));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
