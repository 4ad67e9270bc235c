#include "document/document.h"
#include "document/radio_history.h"
#include "files/dat_file.h"
#include "image/address_map.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;

Q_DECLARE_METATYPE(quillon::HistoryDirection)

namespace {

const QDateTime kWhen(QDate(2026, 12, 8), QTime(14, 3, 22, 750));

MemoryImage imageOfBand(int band)
{
    MemoryImage image;
    image.fill(0, kImageSize - 1, 0xFF);
    image.set(kBandIndex, static_cast<std::uint8_t>(band));
    return image;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestRadioHistory : public QObject {
    Q_OBJECT
private slots:
    void names_data();
    void names();
    void foreignNamesAreNoEntries();
    void storesExactlyTheImage();
    void keepsTheNewest();
    void unwritableFolder();
    void summary();
    void defaultFolder();
};

void TestRadioHistory::names_data()
{
    QTest::addColumn<HistoryDirection>("direction");
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("sequence");
    QTest::addColumn<QString>("name");
    QTest::newRow("read") << HistoryDirection::Read << 3 << 1 << "2026-12-08T14-03-22-read-400-470MHz.dat";
    QTest::newRow("write") << HistoryDirection::Written << 0 << 1 << "2026-12-08T14-03-22-write-136-174MHz.dat";
    QTest::newRow("band byte 0xFF") << HistoryDirection::Read << 0xFF << 1 << "2026-12-08T14-03-22-read-unknown.dat";
    QTest::newRow("second in a second") << HistoryDirection::Read << 9 << 2 << "2026-12-08T14-03-22-read-134-260MHz-2.dat";
}

void TestRadioHistory::names()
{
    QFETCH(HistoryDirection, direction);
    QFETCH(int, band);
    QFETCH(int, sequence);
    QFETCH(QString, name);
    const QString bandPart = RadioHistory::bandOf(imageOfBand(band));
    QCOMPARE(RadioHistory::fileName(kWhen, direction, bandPart, sequence), name);
    const std::optional<HistoryEntry> entry = RadioHistory::parseFileName(name);
    QVERIFY(entry);
    QCOMPARE(entry->when, QDateTime(QDate(2026, 12, 8), QTime(14, 3, 22)));
    QCOMPARE(entry->direction, direction);
    QCOMPARE(entry->band, bandPart);
    QCOMPARE(entry->sequence, sequence);
}

void TestRadioHistory::foreignNamesAreNoEntries()
{
    for (const char *name : {"radio.dat", "2026-12-08T14-03-22-read-400-470MHz.txt",
                             "2026-13-08T14-03-22-read-400-470MHz.dat", "2026-12-08T14-03-22-sent-400-470MHz.dat",
                             "2026-12-08T14-03-22-read-400-470MHz-0.dat", "2026-12-08 14-03-22-read-400-470MHz.dat"})
        QVERIFY2(!RadioHistory::parseFileName(QLatin1String(name)), name);
}

void TestRadioHistory::storesExactlyTheImage()
{
    QTemporaryDir dir;
    const RadioHistory history(dir.filePath(QStringLiteral("state/quillon/history")));
    MemoryImage image = imageOfBand(3);
    for (int a = 0; a < 0x0700; ++a)
        image.set(a, static_cast<std::uint8_t>(a * 31));
    QString reason;
    const QString first = history.store(HistoryDirection::Read, image, kWhen, &reason);
    QVERIFY2(!first.isEmpty(), qPrintable(reason));
    QCOMPARE(QFileInfo(first).fileName(), QStringLiteral("2026-12-08T14-03-22-read-400-470MHz.dat"));
    QCOMPARE(fileBytes(first), datFileBytes(image));
    // The same second again: a name of its own, listed as the newer one.
    const QString second = history.store(HistoryDirection::Read, image, kWhen.addMSecs(100));
    QCOMPARE(QFileInfo(second).fileName(), QStringLiteral("2026-12-08T14-03-22-read-400-470MHz-2.dat"));
    const QString third = history.store(HistoryDirection::Written, imageOfBand(5), kWhen);
    QCOMPARE(QFileInfo(third).fileName(), QStringLiteral("2026-12-08T14-03-22-write-450-470MHz-3.dat"));
    const QString written = history.store(HistoryDirection::Written, imageOfBand(5), kWhen.addSecs(-60));
    const QList<HistoryEntry> entries = history.entries();
    QCOMPARE(entries.size(), 4);
    QCOMPARE(entries[0].path, third);
    QCOMPARE(entries[1].path, second);
    QCOMPARE(entries[2].path, first);
    QCOMPARE(entries[3].path, written);
    QCOMPARE(entries[3].direction, HistoryDirection::Written);
    QCOMPARE(entries[3].band, QStringLiteral("450-470MHz"));
    // Written atomically: no file but the images is left in the folder.
    QCOMPARE(QDir(history.folder()).entryList(QDir::Files).size(), 4);
}

void TestRadioHistory::keepsTheNewest()
{
    QTemporaryDir dir;
    const RadioHistory history(dir.path());
    QFile foreign(dir.filePath(QStringLiteral("my-radio.dat")));
    QVERIFY(foreign.open(QIODevice::WriteOnly));
    foreign.close();
    const MemoryImage image = imageOfBand(3);
    for (int n = 0; n < 205; ++n)
        QVERIFY(!history.store(n % 2 ? HistoryDirection::Read : HistoryDirection::Written, image,
                               kWhen.addSecs(n * 7)).isEmpty());
    const QList<HistoryEntry> entries = history.entries();
    QCOMPARE(entries.size(), RadioHistory::kKept);
    QCOMPARE(entries.first().when, kWhen.addSecs(204 * 7).addMSecs(-750));
    QCOMPARE(entries.last().when, kWhen.addSecs(5 * 7).addMSecs(-750));
    QVERIFY(foreign.exists());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), RadioHistory::kKept + 1);
}

void TestRadioHistory::unwritableFolder()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("state")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // A file where a folder must be: not even the owner can create it.
    const RadioHistory history(dir.filePath(QStringLiteral("state/quillon/history")));
    QString reason;
    QVERIFY(history.store(HistoryDirection::Read, imageOfBand(3), kWhen, &reason).isEmpty());
    QVERIFY(reason.contains(QLatin1String("state/quillon/history")));
    QVERIFY(history.entries().isEmpty());
}

void TestRadioHistory::summary()
{
    Document document;
    document.newImage();
    document.commitFrequency(2, kColumnRx, QStringLiteral("440"));
    document.commitFrequency(5, kColumnRx, QStringLiteral("441"));
    document.commitName(5, QStringLiteral("CALL"));
    document.commitFrequency(9, kColumnRx, QStringLiteral("442"));
    document.commitName(9, QStringLiteral("RPT"));
    document.commitFrequency(11, kColumnRx, QStringLiteral("443"));
    document.commitName(11, QStringLiteral("SIMPLEX"));
    document.commitName(12, QStringLiteral("EMPTY"));   // no frequency: not in use
    const HistorySummary summary = summarizeHistoryImage(document.encode(), 2);
    QCOMPARE(summary.channelsInUse, 4);
    QCOMPARE(summary.firstNames, (QStringList{QStringLiteral("CALL"), QStringLiteral("RPT")}));
    QCOMPARE(summarizeHistoryImage(imageOfBand(0xFF)).channelsInUse, 0);
}

void TestRadioHistory::defaultFolder()
{
#ifndef Q_OS_WIN
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", "/var/tmp/state");
    QCOMPARE(RadioHistory::defaultFolder(), QStringLiteral("/var/tmp/state/quillon/history"));
    for (const char *ignored : {"", "relative/state"}) {
        qputenv("XDG_STATE_HOME", ignored);
        QCOMPARE(RadioHistory::defaultFolder(), QDir::homePath() + QStringLiteral("/.local/state/quillon/history"));
    }
    qputenv("XDG_STATE_HOME", saved);
#endif
}

QTEST_GUILESS_MAIN(TestRadioHistory)
#include "tst_radio_history.moc"
