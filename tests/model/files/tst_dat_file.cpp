#include "files/dat_file.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

#include <csignal>

using namespace quillon;

namespace {

MemoryImage sampleImage()
{
    MemoryImage image;
    QRandomGenerator random(3120);
    for (int address = 0; address < kImageSize; ++address)
        image.set(address, static_cast<std::uint8_t>(random.bounded(256)));
    return image;
}

QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestDatFile : public QObject {
    Q_OBJECT

private slots:
    void header();
    void saveAndLoad();
    void longerOldFileReplaced();
    void failedSaveKeepsOldFile();
    void identification_data();
    void identification();
    void truncatedPrefixes();
    void unreadableFiles();

private:
    QTemporaryDir m_dir;
};

void TestDatFile::header()
{
    const QByteArray bytes = datFileBytes(sampleImage());
    QCOMPARE(bytes.size(), kDatFileSize);
    QCOMPARE(bytes.left(kDatHeaderSize),
             QByteArray("QVM-7K") + QByteArray(4, '\xFF') + QByteArray("V0100") + QByteArray(33, '\xFF'));
    QCOMPARE(bytes.mid(kDatHeaderSize), sampleImage().toByteArray());
}

void TestDatFile::saveAndLoad()
{
    const QString path = m_dir.filePath(QStringLiteral("round.dat"));
    const MemoryImage image = sampleImage();
    const DatResult saved = saveDatFile(path, image);
    QCOMPARE(saved.status, DatStatus::Ok);
    QCOMPARE(QFileInfo(path).size(), qint64(kDatFileSize));

    MemoryImage loaded;
    QCOMPARE(loadDatFile(path, loaded).status, DatStatus::Ok);
    QCOMPARE(loaded, image);
}

void TestDatFile::longerOldFileReplaced()
{
    const QString path = m_dir.filePath(QStringLiteral("long.dat"));
    QVERIFY(writeFile(path, QByteArray(5000, '\x11')));
    QCOMPARE(saveDatFile(path, sampleImage()).status, DatStatus::Ok);
    QCOMPARE(fileContents(path), datFileBytes(sampleImage()));
}

void TestDatFile::failedSaveKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.dat"));
    const QByteArray old("old contents");
    QVERIFY(writeFile(path, old));

    // A file size limit makes the write fail the way a full disk does, also
    // for root, whom directory permissions would not stop.
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const DatResult result = saveDatFile(path, sampleImage());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QCOMPARE(result.status, DatStatus::WriteError);
    QVERIFY(!result.systemReason.isEmpty());
    QCOMPARE(fileContents(path), old);
    // No half-written temporary file is left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.dat")});
}

void TestDatFile::identification_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<bool>("accepted");
    const QByteArray rest(42, '\0');
    QTest::newRow("ours") << QByteArray("QVM-7K") + rest << true;
    QTest::newRow("other header bytes") << QByteArray("QVM-7KXXXXV9999") + QByteArray(33, '\x01') << true;
    QTest::newRow("other model") << QByteArray("QVN-7K") + rest << false;
    QTest::newRow("lower case") << QByteArray("qvm-7k") + rest << false;
    QTest::newRow("shifted") << QByteArray(" QVM-7K") + QByteArray(41, '\0') << false;
    QTest::newRow("zeros") << QByteArray(48, '\0') << false;
}

void TestDatFile::identification()
{
    QFETCH(QByteArray, header);
    QFETCH(bool, accepted);
    const QString path = m_dir.filePath(QStringLiteral("id.dat"));
    QVERIFY(writeFile(path, header + sampleImage().toByteArray()));
    MemoryImage image;
    image.set(0, 0x77);
    const DatStatus status = loadDatFile(path, image).status;
    QCOMPARE(status, accepted ? DatStatus::Ok : DatStatus::WrongType);
    // A refused file leaves the image as it was.
    QCOMPARE(image.at(0), accepted ? sampleImage().at(0) : std::uint8_t(0x77));
}

void TestDatFile::truncatedPrefixes()
{
    const QByteArray full = datFileBytes(sampleImage());
    for (int size = 0; size <= kDatFileSize; ++size) {
        const QByteArray prefix = full.left(size);
        const std::optional<MemoryImage> image = imageFromDatBytes(prefix);
        QCOMPARE(image.has_value(), size >= 6);
        if (!image)
            continue;
        const QByteArray bytes = image->toByteArray();
        const int kept = std::max(0, size - kDatHeaderSize);
        QCOMPARE(bytes.left(kept), full.mid(kDatHeaderSize, kept));
        QVERIFY(bytes.mid(kept) == QByteArray(kImageSize - kept, '\0'));
    }
}

void TestDatFile::unreadableFiles()
{
    MemoryImage image;
    const QString missing = m_dir.filePath(QStringLiteral("missing.dat"));
    const DatResult result = loadDatFile(missing, image);
    QCOMPARE(result.status, DatStatus::ReadError);
    QVERIFY(!result.systemReason.isEmpty());
    QVERIFY(!QFile::exists(missing));   // opening never creates the file

    QCOMPARE(loadDatFile(m_dir.path(), image).status, DatStatus::ReadError);
    QCOMPARE(image, MemoryImage());
}

QTEST_APPLESS_MAIN(TestDatFile)
#include "tst_dat_file.moc"
