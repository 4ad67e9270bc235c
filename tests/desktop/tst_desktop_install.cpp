// The installation as a desktop sees it: every file in place under a
// temporary prefix, the desktop entry and the metadata valid, the file type
// telling our images from other .dat files, and the installed program
// starting and quitting on its own.

#include "document/document.h"
#include "files/dat_file.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace quillon;

namespace {

const QString kId = QStringLiteral("example.quillon.Quillon");
const QString kMimeType = QStringLiteral("application/x-quillon-image");

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run run(const QString &program, const QStringList &arguments,
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        result.err = QStringLiteral("%1 did not finish: %2").arg(program, process.errorString());
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

QString tool(const char *name)
{
    return QStandardPaths::findExecutable(QLatin1String(name));
}

// The key=value lines of the [Desktop Entry] group.
QMap<QString, QString> desktopEntry(const QString &path)
{
    QFile file(path);
    QMap<QString, QString> keys;
    if (!file.open(QIODevice::ReadOnly))
        return keys;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0 && !line.startsWith(u'#'))
            keys.insert(line.left(equals), line.mid(equals + 1));
    }
    return keys;
}

} // namespace

class TestDesktopInstall : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void installsEveryFile();
    void entryAndMetadataValidate();
    void fileTypeTellsImagesFromOtherDatFiles();
    void installedProgramStartsAndQuitsWhenIdle_data();
    void installedProgramStartsAndQuitsWhenIdle();

private:
    QString installed(const QString &relative) const { return m_dir.filePath(QStringLiteral("usr/") + relative); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QByteArray m_image;   // a saved image as Save writes it
};

void TestDesktopInstall::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const Run install = run(QStringLiteral(QUILLON_CMAKE), {QStringLiteral("--install"), QStringLiteral(QUILLON_BUILD_DIR),
                                                           QStringLiteral("--prefix"), m_dir.filePath(QStringLiteral("usr"))});
    QVERIFY2(install.exitCode == 0, qPrintable(install.out + install.err));

    Document document;
    document.selectBand(5);
    document.commitFrequency(1, kColumnRx, QStringLiteral("462.5625"));
    m_image = datFileBytes(document.encode());
}

void TestDesktopInstall::installsEveryFile()
{
    QStringList files{QStringLiteral("bin/Quillon"),
                      QStringLiteral("bin/quillon"),
                      QStringLiteral("bin/quillon-radio-sim"),
                      QStringLiteral("share/applications/%1.desktop").arg(kId),
                      QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(kId),
                      QStringLiteral("share/icons/hicolor/48x48/apps/%1.png").arg(kId),
                      QStringLiteral("share/icons/hicolor/256x256/apps/%1.png").arg(kId),
                      QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kId),
                      QStringLiteral("share/mime/packages/%1.xml").arg(kId),
                      QStringLiteral("share/doc/quillon/guide_en.html"),
                      QStringLiteral("share/doc/quillon/guide_zh.html"),
                      QStringLiteral("share/man/man1/Quillon.1")};
    const QStringList cliFiles{QStringLiteral("bin/quillon-cli"), QStringLiteral("share/man/man1/quillon-cli.1")};
    if (QUILLON_HAS_CLI)
        files += cliFiles;
    for (const QString &relative : files)
        QVERIFY2(QFileInfo(installed(relative)).isFile(), qPrintable(relative));
    for (const QString &relative : cliFiles)
        QCOMPARE(QFileInfo::exists(installed(relative)), bool(QUILLON_HAS_CLI));

    // The lower-case command is the same program.
    const QFileInfo lower(installed(QStringLiteral("bin/quillon")));
    QVERIFY(lower.isSymLink());
    QCOMPARE(lower.canonicalFilePath(), QFileInfo(installed(QStringLiteral("bin/Quillon"))).canonicalFilePath());
    for (const QString &program : {QStringLiteral("bin/Quillon"), QStringLiteral("bin/quillon-radio-sim")})
        QVERIFY(QFileInfo(installed(program)).isExecutable());

    // The PNG icons are the drawing at their sizes.
    for (int side : {48, 256}) {
        const QImage icon(installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(side).arg(kId)));
        QCOMPARE(icon.size(), QSize(side, side));
    }
    // The man pages read without a warning.
    if (const QString groff = tool("groff"); !groff.isEmpty()) {
        for (const QString &page : files.filter(QStringLiteral("/man1/"))) {
            const Run check = run(groff, {QStringLiteral("-man"), QStringLiteral("-z"), QStringLiteral("-ww"), installed(page)});
            QVERIFY2(check.exitCode == 0 && check.err.isEmpty(), qPrintable(page + u' ' + check.err));
        }
    }
}

void TestDesktopInstall::entryAndMetadataValidate()
{
    const QString entryPath = installed(QStringLiteral("share/applications/%1.desktop").arg(kId));
    const QString metadata = installed(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kId));
    const QString validateEntry = tool("desktop-file-validate");
    const QString appstream = tool("appstreamcli");
    QVERIFY2(!validateEntry.isEmpty() && !appstream.isEmpty(), "scripts/install-deps.sh installs the validators");
    Run check = run(validateEntry, {entryPath});
    QVERIFY2(check.exitCode == 0, qPrintable(check.out + check.err));
    check = run(appstream, {QStringLiteral("validate"), QStringLiteral("--no-net"), metadata});
    QVERIFY2(check.exitCode == 0, qPrintable(check.out + check.err));

    // The entry starts an installed program with the chosen file, shows the
    // installed icon and offers itself for the installed file type.
    const QMap<QString, QString> entry = desktopEntry(entryPath);
    const QStringList exec = entry.value(QStringLiteral("Exec")).split(u' ');
    QCOMPARE(exec.size(), 2);
    QVERIFY(QFileInfo(installed(QStringLiteral("bin/") + exec[0])).isExecutable());
    QCOMPARE(exec[1], QStringLiteral("%f"));
    QCOMPARE(entry.value(QStringLiteral("Icon")), kId);
    QCOMPARE(entry.value(QStringLiteral("MimeType")), kMimeType + u';');
    QFile mime(installed(QStringLiteral("share/mime/packages/%1.xml").arg(kId)));
    QVERIFY(mime.open(QIODevice::ReadOnly));
    QVERIFY(mime.readAll().contains(QStringLiteral("type=\"%1\"").arg(kMimeType).toUtf8()));
    QFile meta(metadata);
    QVERIFY(meta.open(QIODevice::ReadOnly));
    const QByteArray metaText = meta.readAll();
    QVERIFY(metaText.contains(QStringLiteral("<launchable type=\"desktop-id\">%1.desktop</launchable>").arg(kId).toUtf8()));
    QVERIFY(metaText.contains("<caption>"));
    QCOMPARE(metaText.contains("<binary>quillon-cli</binary>"), bool(QUILLON_HAS_CLI));
}

void TestDesktopInstall::fileTypeTellsImagesFromOtherDatFiles()
{
    const QString updater = tool("update-mime-database");
    QVERIFY2(!updater.isEmpty(), "shared-mime-info is needed");
    // The desktop's database with ours and another program's type that also
    // claims *.dat at the default weight, as a system with both installed has
    // them: all packages compiled into one cache.
    const QString share = file(QStringLiteral("system/share"));
    QVERIFY(QDir().mkpath(share + QStringLiteral("/mime/packages")));
    QVERIFY(QFile::copy(installed(QStringLiteral("share/mime/packages/%1.xml").arg(kId)),
                        share + QStringLiteral("/mime/packages/%1.xml").arg(kId)));
    QFile otherType(share + QStringLiteral("/mime/packages/other.xml"));
    QVERIFY(otherType.open(QIODevice::WriteOnly));
    otherType.write("<?xml version=\"1.0\"?>\n"
                    "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                    "  <mime-type type=\"application/x-other-data\"><glob pattern=\"*.dat\"/></mime-type>\n"
                    "</mime-info>\n");
    otherType.close();
    const Run update = run(updater, {share + QStringLiteral("/mime")});
    QVERIFY2(update.exitCode == 0, qPrintable(update.err));
    // Set before any lookup: the database is read once per process.
    qputenv("XDG_DATA_HOME", QFile::encodeName(file(QStringLiteral("no-user-data"))));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(share + QStringLiteral(":/usr/share")));

    QByteArray noise(3120, '\0');
    QRandomGenerator random(15);
    for (char &byte : noise)
        byte = char(random.bounded(256));
    noise.replace(0, 6, "QVM-8K");   // another radio's file of the same size
    auto write = [this](const QString &name, const QByteArray &bytes) {
        QFile out(file(name));
        return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
    };
    QVERIFY(write(QStringLiteral("radio.dat"), m_image));
    QVERIFY(write(QStringLiteral("random.dat"), noise));
    QVERIFY(write(QStringLiteral("radio-copy"), m_image));

    const QMimeDatabase database;
    QVERIFY(database.mimeTypeForName(kMimeType).isValid());
    QCOMPARE(database.mimeTypeForFile(file(QStringLiteral("radio.dat"))).name(), kMimeType);
    QCOMPARE(database.mimeTypeForFile(file(QStringLiteral("random.dat"))).name(), QStringLiteral("application/x-other-data"));
    // By its first six bytes alone, whatever its name.
    QCOMPARE(database.mimeTypeForFile(file(QStringLiteral("radio-copy"))).name(), kMimeType);
    QCOMPARE(database.mimeTypeForData(m_image).name(), kMimeType);
    QVERIFY(database.mimeTypeForData(noise).name() != kMimeType);
    QVERIFY(database.mimeTypeForData(QByteArray("QVM-7")).name() != kMimeType);
}

void TestDesktopInstall::installedProgramStartsAndQuitsWhenIdle_data()
{
    QTest::addColumn<QString>("argument");   // a file for the command line, if any
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");     // what standard output (0) or error (1) holds
    QTest::newRow("plain start") << QString() << 0 << QStringLiteral("Quillon idle: Quillon Radio Programming Software V1.60, COM: 1");
    QTest::newRow("with an image") << QStringLiteral("radio.dat") << 0 << QStringLiteral("Quillon idle: ");
    // Open's message waits for an answer: the check says which.
    QTest::newRow("with a foreign file") << QStringLiteral("foreign.dat") << 1 << QStringLiteral("File type is incorrect!");
}

void TestDesktopInstall::installedProgramStartsAndQuitsWhenIdle()
{
    QFETCH(QString, argument);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFile image(file(QStringLiteral("radio.dat")));
    QVERIFY(image.open(QIODevice::WriteOnly) && image.write(m_image) == m_image.size());
    image.close();
    QFile foreign(file(QStringLiteral("foreign.dat")));
    QVERIFY(foreign.open(QIODevice::WriteOnly) && foreign.write(QByteArray(3120, 'x')) == 3120);
    foreign.close();

    // The installed simulator gives port 1 a radio.
    QProcess sim;
    sim.start(installed(QStringLiteral("bin/quillon-radio-sim")), {});
    QVERIFY(sim.waitForReadyRead(10000));
    const QString line = QString::fromLocal8Bit(sim.readLine()).trimmed();
    QVERIFY(line.startsWith(QLatin1String("device: ")));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QUILLON_SERIAL_PORTS"), line.mid(8));
    const QString config = file(QStringLiteral("config"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    QStringList arguments{QStringLiteral("--quit-when-idle")};
    if (!argument.isEmpty())
        arguments << file(argument);
    const Run start = run(installed(QStringLiteral("bin/quillon")), arguments, environment);
    sim.terminate();
    sim.waitForFinished(10000);

    QVERIFY2(start.exitCode == exitCode, qPrintable(start.out + start.err));
    QVERIFY2((exitCode == 0 ? start.out : start.err).contains(output), qPrintable(start.out + start.err));
    // The language is not stored (a file opened is remembered as usual).
    QVERIFY(!QSettings(config + QStringLiteral("/Lumbra.conf"), QSettings::IniFormat).contains(QStringLiteral("BinaryValue")));
}

QTEST_MAIN(TestDesktopInstall)
#include "tst_desktop_install.moc"
