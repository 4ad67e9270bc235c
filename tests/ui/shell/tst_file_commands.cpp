#include "support/widget_fixture.h"

#include "files/dat_file.h"
#include "files/file_commands.h"
#include "i18n/messages.h"

#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStandardPaths>
#include <QLineEdit>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace quillon;
using namespace quillon::test;

namespace {

// Answers the file dialogs with the test's paths and notes where each would have started.
struct Chooser {
    QStringList paths;
    QStringList startFolders;

    explicit Chooser(Harness &h, QStringList answers = {}) : paths(std::move(answers))
    {
        h.window->fileCommands().setFileChooser([this](FileDialogKind, const QString &folder) {
            startFolders << folder;
            return paths.isEmpty() ? QString() : paths.takeFirst();
        });
    }
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Channel 1 of the current band typed in.
void typeChannel(Document &document, const char *frequency)
{
    QCOMPARE(document.commitFrequency(1, kColumnRx, QLatin1String(frequency)), FrequencyCommit::Stored);
}

} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void filterTexts();
    void saveWritesTheEncodedWindows();
    void saveTakesTheFrequencyBeingTyped();
    void failingSaveKeepsTheOldFile();
    void openRefuses_data();
    void openRefuses();
    void openDecodesAndBringsUpChannels();
    void newAsksAndResets_data();
    void newAsksAndResets();
    void dialogsStartInTheFolderLastUsed();

private:
    TestEnvironment m_environment;
    QString path(const char *name) const { return m_environment.filePath(QLatin1String(name)); }
};

void TestFileCommands::initTestCase()
{
    QVERIFY(m_environment.isValid());
}

void TestFileCommands::filterTexts()
{
    QCOMPARE(nameFiltersFromPairs(QStringLiteral("DAT文件(*.dat)|*.dat|AllFiles(*.*)|*.*|")),
             (QStringList{QStringLiteral("DAT文件(*.dat)"), QStringLiteral("AllFiles(*.*)")}));
    QCOMPARE(nameFiltersFromPairs(QStringLiteral("Images|*.png *.jpg")), QStringList{QStringLiteral("Images (*.png *.jpg)")});
}

void TestFileCommands::saveWritesTheEncodedWindows()
{
    Harness h;
    h.takeMessages();
    Chooser chooser(h, {path("saved.dat")});
    typeChannel(h.document(), "150");
    // What the last read left must not leak into the file.
    h.document().step(EditKind::ReadRadio, [](Workspace &ws) { ws.writeImage.fill(0x0000, kImageSize - 1, 0x5A); });

    QTest::keyClick(h.window.get(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(h.takeMessages(), QStringList());
    const QByteArray bytes = readAll(path("saved.dat"));
    QCOMPARE(bytes.size(), 3120);
    Document expected;
    typeChannel(expected, "150");
    QCOMPARE(bytes, datFileBytes(expected.encode()));
}

void TestFileCommands::saveTakesTheFrequencyBeingTyped()
{
    Harness h;
    h.takeMessages();
    Chooser chooser(h, {path("typing.dat")});
    auto *form1 = h.find<QWidget>("Form1");
    QVERIFY(form1);
    clickCell(control<QAbstractItemView>(form1, QStringLiteral("Grid1")), 0, kColumnRx);
    auto *editor = control<QLineEdit>(form1, QStringLiteral("Text1"));
    QVERIFY(editor && editor->isVisible());
    QTest::keyClicks(editor, "150");
    // Ctrl+S while the editor still has the focus: the typed channel is saved.
    QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
    MemoryImage saved;
    QCOMPARE(loadDatFile(path("typing.dat"), saved).status, DatStatus::Ok);
    QCOMPARE(saved.bytes(0, 4), QByteArray::fromHex("00000015"));   // 150.00000
}

void TestFileCommands::failingSaveKeepsTheOldFile()
{
#ifndef Q_OS_UNIX
    QSKIP("needs a file size limit");
#else
    const QByteArray old = QByteArray("an older image ") + QByteArray(3000, 'x');
    QFile file(path("old.dat"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
    file.close();
    Harness h;
    h.takeMessages();
    h.window->switchLanguage(Language::Chinese);
    Chooser chooser(h, {path("old.dat")});

    // A disk that fills up half-way: writes past 1000 bytes fail.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &small);
    QTest::keyClick(h.window.get(), Qt::Key_S, Qt::ControlModifier);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(readAll(path("old.dat")), old);
    QCOMPARE(QDir(m_environment.folder()).entryList({QStringLiteral("old.dat*")}, QDir::Files), QStringList{QStringLiteral("old.dat")});
    QCOMPARE(h.messages.size(), 1);
    const QString prefix = QStringLiteral("文件无法保存：");
    QVERIFY(h.messages[0].text.startsWith(prefix) && h.messages[0].text.size() > prefix.size());   // with the reason
    QCOMPARE(h.messages[0].caption, QStringLiteral("错误"));
    QCOMPARE(h.messages[0].style, kStyleStop);
#endif
}

void TestFileCommands::openRefuses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("contents");   // null: no file at all
    QTest::addColumn<QString>("message");
    const QString wrongType = messageText(Message::FileTypeIncorrect, Language::English).text;
    QTest::newRow("another radio's file") << QStringLiteral("foreign.dat") << QByteArray("QVM-8K").append(3114, '\xFF') << wrongType;
    QTest::newRow("empty file") << QStringLiteral("empty.dat") << QByteArray("") << wrongType;
    QTest::newRow("missing file") << QStringLiteral("missing.dat") << QByteArray() << QStringLiteral("The file could not be opened: ");
}

void TestFileCommands::openRefuses()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, contents);
    QFETCH(QString, message);
    const QString file = m_environment.filePath(name);
    if (!contents.isNull()) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(contents);
    }

    Harness h;
    h.takeMessages();
    typeChannel(h.document(), "150");
    const QByteArray readBefore = h.ws().readImage.toByteArray();
    Chooser chooser(h, {file});
    QTest::keyClick(h.window.get(), Qt::Key_O, Qt::ControlModifier);

    QCOMPARE(h.messages.size(), 1);
    QVERIFY2(h.messages[0].text.startsWith(message), qPrintable(h.messages[0].text));
    QCOMPARE(h.messages[0].style, kStyleStop);
    QCOMPARE(h.messages[0].caption, QStringLiteral("Mistake"));
    QCOMPARE(h.ws().readImage.toByteArray(), readBefore);
    QCOMPARE(h.ws().channels.row(1).rxText, QStringLiteral("150.00000"));
    QCOMPARE(QFile::exists(file), !contents.isNull());   // never created by opening
}

void TestFileCommands::openDecodesAndBringsUpChannels()
{
    Document source;   // band 5 (450-470MHz) with one channel
    source.selectBand(5);
    source.commitFrequency(1, kColumnRx, QStringLiteral("462.5625"));
    QCOMPARE(saveDatFile(path("band5.dat"), source.encode()).status, DatStatus::Ok);

    Harness h;
    h.takeMessages();
    h.window->editorFrame(1)->close();
    h.window->showEditor(2);
    Chooser chooser(h, {path("band5.dat"), path("again.dat")});
    QTest::keyClick(h.window.get(), Qt::Key_O, Qt::ControlModifier);

    QCOMPARE(h.takeMessages(), QStringList());   // the file's band comes without a question
    QCOMPARE(h.find<QComboBox>("Combo1")->currentIndex(), 5);
    QCOMPARE(h.ws().band.low, 450);
    QCOMPARE(h.ws().channels.row(1).rxText, QStringLiteral("462.56250"));
    QCOMPARE(h.window->findChild<QMdiArea *>()->activeSubWindow(), h.window->editorFrame(1));
    QVERIFY(h.window->editorFrame(1)->isVisible());

    QTest::keyClick(h.window.get(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(readAll(path("again.dat")), readAll(path("band5.dat")));
}

void TestFileCommands::newAsksAndResets_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("OK") << kAnswerOk;
    QTest::newRow("Cancel") << kAnswerCancel;
}

void TestFileCommands::newAsksAndResets()
{
    QFETCH(int, answer);
    Harness h;
    h.takeMessages();
    const Workspace &ws = h.ws();
    typeChannel(h.document(), "150");
    h.document().setFeatureText(Feature::VfoFrequency, QStringLiteral("150.12500"));
    h.document().setCalibrationValue(0, 1);
    h.context.notifyHiddenModeActivated(HiddenMode::Fm);

    h.answers = {answer};
    QTest::keyClick(h.window.get(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(h.takeMessages(), QStringList{messageText(Message::NewImage, Language::English).text});

    const bool reset = answer == kAnswerOk;
    QCOMPARE(h.find<QComboBox>("Combo1")->currentIndex(), reset ? 3 : 0);
    QCOMPARE(ws.band.low, reset ? 400 : 136);
    QCOMPARE(ws.channels.row(1).rxText.isEmpty(), reset);
    QCOMPARE(ws.features.text(Feature::VfoFrequency), reset ? QStringLiteral("435.00000") : QStringLiteral("150.12500"));
    // Calibration, language and hidden modes are not New's business.
    QCOMPARE(ws.calibration.value(0), 1);
    QCOMPARE(ws.language, Language::English);
    QVERIFY(h.find<QAction>("TFMMa")->isVisible());
}

void TestFileCommands::dialogsStartInTheFolderLastUsed()
{
    Harness h;
    h.takeMessages();
    QDir(m_environment.folder()).mkdir(QStringLiteral("sub"));
    Chooser chooser(h, {QString(), path("sub/x.dat"), QString()});
    QTest::keyClick(h.window.get(), Qt::Key_O, Qt::ControlModifier);   // cancelled
    QTest::keyClick(h.window.get(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(h.window.get(), Qt::Key_O, Qt::ControlModifier);   // cancelled

    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(documents).isDir())
        documents = QDir::homePath();
    QCOMPARE(chooser.startFolders, (QStringList{documents, documents, path("sub")}));
    QCOMPARE(h.takeMessages(), QStringList());   // a cancelled dialog says nothing
}

QTEST_MAIN(TestFileCommands)
#include "tst_file_commands.moc"
