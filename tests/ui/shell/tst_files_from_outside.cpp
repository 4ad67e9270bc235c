// Files that reach the program from outside the Open dialog: named on the
// command line, dropped on the main window, chosen from the recent files.

#include "support/widget_fixture.h"

#include "files/dat_file.h"
#include "files/file_commands.h"
#include "files/file_drop.h"
#include "files/recent_files.h"
#include "i18n/desktop_texts.h"
#include "i18n/messages.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

using namespace quillon;
using namespace quillon::test;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// Answers the file dialogs with the test's paths.
void answerDialogs(Harness &h, QStringList paths)
{
    h.window->fileCommands().setFileChooser([paths](FileDialogKind, const QString &) mutable {
        return paths.isEmpty() ? QString() : paths.takeFirst();
    });
}

// A file manager's drag of urls over the main window, then the drop.
bool dropUrls(Harness &h, const QList<QUrl> &urls)
{
    QMimeData data;
    data.setUrls(urls);
    const QPoint point = h.window->rect().center();
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(h.window.get(), &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(point), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(h.window.get(), &drop);
    // The file opens right after the drop has been answered.
    QTest::qWait(50);
    return drop.isAccepted();
}

// What a user sees after a file was opened one way or another.
struct Outcome {
    QList<ShownMessage> messages;
    int band = -1;
    QString active;   // the editor window in front
    QByteArray saved;   // what Save writes now
};

Outcome outcome(Harness &h, const QString &savePath)
{
    Outcome result;
    result.messages = h.messages;
    result.band = h.find<QComboBox>("Combo1")->currentIndex();
    if (const QMdiSubWindow *frame = h.window->findChild<QMdiArea *>()->activeSubWindow())
        result.active = frame->widget()->objectName();
    answerDialogs(h, {savePath});
    QTest::keyClick(h.window.get(), Qt::Key_S, Qt::ControlModifier);
    result.saved = readAll(savePath);
    return result;
}

QStringList menuEntries(Harness &h)
{
    QStringList texts;
    for (int i = 1; i <= RecentFileList::kLimit; ++i) {
        auto *entry = h.find<QAction>(qPrintable(QStringLiteral("RecentFile%1").arg(i)));
        if (entry && entry->isVisible())
            texts << entry->toolTip();
    }
    return texts;
}

} // namespace

class TestFilesFromOutside : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void openedAsOpenWould_data();
    void openedAsOpenWould();
    void dropTakesOneFileOnly();
    void recentListRules();
    void recentFilesInTheMenu();
    void missingRecentFileRemoved();
    void recentFilesKeptAcrossRestart();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString settingsFile() const { return m_dir.filePath(QStringLiteral("Lumbra.conf")); }
    // A saved image of band `band` with one channel.
    QString makeImage(const QString &name, int band, const char *frequency);

    QTemporaryDir m_dir;
};

void TestFilesFromOutside::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
    qputenv("QUILLON_SERIAL_PORTS", "/nonexistent/quillon-tty");
}

void TestFilesFromOutside::init()
{
    QFile::remove(settingsFile());
}

QString TestFilesFromOutside::makeImage(const QString &name, int band, const char *frequency)
{
    Document source;
    source.selectBand(band);
    source.commitFrequency(1, kColumnRx, QLatin1String(frequency));
    const QString file = path(name);
    saveDatFile(file, source.encode());
    return file;
}

void TestFilesFromOutside::openedAsOpenWould_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");   // the one message opening shows, if any
    QTest::newRow("image of band 5") << makeImage(QStringLiteral("band5.dat"), 5, "462.5625") << QString();
    writeFile(path(QStringLiteral("foreign.dat")), QByteArray("QVM-8K").append(3114, '\xFF'));
    QTest::newRow("another radio's file")
        << path(QStringLiteral("foreign.dat")) << messageText(Message::FileTypeIncorrect, Language::English).text;
    QTest::newRow("missing file") << path(QStringLiteral("nowhere.dat"))
                                  << QStringLiteral("The file could not be opened: ");
}

void TestFilesFromOutside::openedAsOpenWould()
{
    QFETCH(QString, file);
    QFETCH(QString, message);

    // Each way starts from a program whose windows have been touched, so
    // that a refused file visibly changes nothing.
    auto prepare = [](Harness &h) {
        QCOMPARE(h.document().commitFrequency(2, kColumnRx, QStringLiteral("150")), FrequencyCommit::Stored);
        h.window->showEditor(2);
    };

    Outcome byOpen;
    {
        Harness h;
        prepare(h);
        answerDialogs(h, {file});
        QTest::keyClick(h.window.get(), Qt::Key_O, Qt::ControlModifier);
        byOpen = outcome(h, path(QStringLiteral("open.dat")));
    }
    // The start opens the file only after its own steps, so nothing can be
    // touched before: compare with Open on an untouched program instead.
    Outcome byOpenAtStart;
    {
        Harness h;
        answerDialogs(h, {file});
        QTest::keyClick(h.window.get(), Qt::Key_O, Qt::ControlModifier);
        byOpenAtStart = outcome(h, path(QStringLiteral("open-untouched.dat")));
    }
    Outcome byCommandLine;
    {
        Harness h(StartOptions{file, false});
        byCommandLine = outcome(h, path(QStringLiteral("command-line.dat")));
    }
    Outcome byDrop;
    {
        Harness h;
        prepare(h);
        QVERIFY(dropUrls(h, {QUrl::fromLocalFile(file)}));
        byDrop = outcome(h, path(QStringLiteral("drop.dat")));
    }

    // The messages: the start's own (port 1 cannot open here), then Open's.
    QCOMPARE(byOpen.messages.size(), message.isEmpty() ? 1 : 2);
    if (!message.isEmpty()) {
        QVERIFY2(byOpen.messages.last().text.startsWith(message), qPrintable(byOpen.messages.last().text));
        QCOMPARE(byOpen.messages.last().style, kStyleStop);
        QCOMPARE(byOpen.messages.last().caption, QStringLiteral("Mistake"));
    }
    for (const Outcome *other : {&byCommandLine, &byDrop}) {
        QCOMPARE(other->messages.size(), byOpen.messages.size());
        for (qsizetype i = 0; i < other->messages.size(); ++i) {
            QCOMPARE(other->messages[i].text, byOpen.messages[i].text);
            QCOMPARE(other->messages[i].style, byOpen.messages[i].style);
            QCOMPARE(other->messages[i].caption, byOpen.messages[i].caption);
        }
    }
    QVERIFY(!byOpen.saved.isEmpty());
    QCOMPARE(byDrop.saved, byOpen.saved);
    QCOMPARE(byDrop.band, byOpen.band);
    QCOMPARE(byCommandLine.saved, byOpenAtStart.saved);
    QCOMPARE(byCommandLine.band, byOpenAtStart.band);
    if (message.isEmpty()) {
        QCOMPARE(byOpen.band, 5);
        QCOMPARE(byOpen.saved, readAll(file));
        QCOMPARE(byOpen.active, QStringLiteral("Form1"));
        QCOMPARE(byDrop.active, QStringLiteral("Form1"));
        QCOMPARE(byCommandLine.active, QStringLiteral("Form1"));
    } else {
        // Nothing changed: the touched channel is still there, DTMF still in front.
        QCOMPARE(byOpen.band, 0);
        MemoryImage saved;
        QCOMPARE(loadDatFile(path(QStringLiteral("drop.dat")), saved).status, DatStatus::Ok);
        QCOMPARE(saved.bytes(13, 4), QByteArray::fromHex("00000015"));   // channel 2: 150.00000
        QCOMPARE(byOpen.active, QStringLiteral("Form2"));
        QCOMPARE(byDrop.active, QStringLiteral("Form2"));
        Harness untouched;
        QCOMPARE(byCommandLine.saved, outcome(untouched, path(QStringLiteral("untouched.dat"))).saved);
    }
}

void TestFilesFromOutside::dropTakesOneFileOnly()
{
    const QString image = makeImage(QStringLiteral("drop-one.dat"), 3, "440");
    Harness h;
    h.takeMessages();
    QVERIFY(!dropUrls(h, {QUrl::fromLocalFile(image), QUrl::fromLocalFile(image)}));
    QVERIFY(!dropUrls(h, {QUrl::fromLocalFile(m_dir.path())}));
    QVERIFY(!dropUrls(h, {QUrl(QStringLiteral("https://quillon.example/radio.dat"))}));
    QCOMPARE(h.find<QComboBox>("Combo1")->currentIndex(), 0);
    QCOMPARE(h.takeMessages(), QStringList());

    // Drops reach the main window from anywhere in the channel grid: no
    // control on the way takes them first.
    auto *grid = h.window->findChild<QTableView *>(QStringLiteral("Grid1"));
    QVERIFY(grid);
    QWidget *target = grid->viewport();
    while (target && !target->acceptDrops())
        target = target->parentWidget();
    QCOMPARE(target, h.window.get());
}

void TestFilesFromOutside::recentListRules()
{
    RecentFileList list;
    for (int i = 1; i <= 10; ++i)
        list.add(path(QStringLiteral("f%1.dat").arg(i)));
    QCOMPARE(list.paths().size(), RecentFileList::kLimit);
    QCOMPARE(list.paths().first(), path(QStringLiteral("f10.dat")));
    QCOMPARE(list.paths().last(), path(QStringLiteral("f3.dat")));

    // The same file named another way moves to the front, once.
    list.add(m_dir.path() + QStringLiteral("/sub/../f5.dat"));
    QCOMPARE(list.paths().first(), path(QStringLiteral("f5.dat")));
    QCOMPARE(list.paths().count(path(QStringLiteral("f5.dat"))), 1);
    QCOMPARE(list.paths().size(), RecentFileList::kLimit);
    QVERIFY(list.remove(path(QStringLiteral("f7.dat"))));
    QVERIFY(!list.remove(path(QStringLiteral("f7.dat"))));
    QCOMPARE(list.paths().size(), RecentFileList::kLimit - 1);

    // A stored list as found: empties and repeats dropped, at most eight kept.
    QStringList stored{path(QStringLiteral("a.dat")), QString(), path(QStringLiteral("a.dat"))};
    for (int i = 1; i <= 9; ++i)
        stored << path(QStringLiteral("s%1.dat").arg(i));
    const RecentFileList read(stored);
    QCOMPARE(read.paths().size(), RecentFileList::kLimit);
    QCOMPARE(read.paths().first(), path(QStringLiteral("a.dat")));
    QCOMPARE(read.paths().last(), path(QStringLiteral("s7.dat")));
}

void TestFilesFromOutside::recentFilesInTheMenu()
{
    const QString first = makeImage(QStringLiteral("first.dat"), 5, "462.5625");
    const QString second = path(QStringLiteral("second, & more.dat"));
    writeFile(path(QStringLiteral("foreign.dat")), QByteArray("QVM-8K").append(3114, '\xFF'));
    Harness h;
    h.takeMessages();
    auto *title = h.find<QAction>("RecentFilesTitle");
    QVERIFY(title);
    QVERIFY(!title->isVisible());   // nothing yet: no title either
    QCOMPARE(menuEntries(h), QStringList());

    // Opened, then saved under another name; a refused file is no recent file.
    answerDialogs(h, {first, second, path(QStringLiteral("foreign.dat"))});
    QTest::keyClick(h.window.get(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(h.window.get(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(h.window.get(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(h.takeMessages(), QStringList{messageText(Message::FileTypeIncorrect, Language::English).text});
    QCOMPARE(menuEntries(h), (QStringList{QDir::toNativeSeparators(second), QDir::toNativeSeparators(first)}));
    auto *entry = h.find<QAction>("RecentFile1");
    QVERIFY(entry->text().startsWith(QLatin1String("&1 ")));
    QVERIFY(entry->text().contains(QLatin1String("&& more")));   // shown as it is, not as a shortcut

    // Below every other item of the File menu, under a title in both languages.
    const QList<QAction *> items = h.find<QMenu>("MNFile")->actions();
    QVERIFY(items.indexOf(h.find<QAction>("MNQuit")) < items.indexOf(h.find<QAction>("RecentFilesLine")));
    QCOMPARE(items.indexOf(title) + 1, items.indexOf(entry));
    QVERIFY(title->isVisible() && !title->isEnabled());
    QCOMPARE(title->text(), desktop_text::kRecentFilesTitle.en);
    h.window->switchLanguage(Language::Chinese);
    QCOMPARE(title->text(), desktop_text::kRecentFilesTitle.zh);
    h.window->switchLanguage(Language::English);

    // Choosing one opens it as Open does, and brings it to the front.
    h.document().newImage();
    h.find<QAction>("RecentFile2")->trigger();
    QCOMPARE(h.takeMessages(), QStringList());
    QCOMPARE(h.find<QComboBox>("Combo1")->currentIndex(), 5);
    QCOMPARE(h.ws().channels.row(1).rxText, QStringLiteral("462.56250"));
    QCOMPARE(menuEntries(h), (QStringList{QDir::toNativeSeparators(first), QDir::toNativeSeparators(second)}));
}

void TestFilesFromOutside::missingRecentFileRemoved()
{
    const QString kept = makeImage(QStringLiteral("kept.dat"), 5, "462.5625");
    const QString gone = makeImage(QStringLiteral("gone.dat"), 3, "440");
    Harness h;
    answerDialogs(h, {kept, gone});
    QTest::keyClick(h.window.get(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(h.window.get(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(h.window.get(), Qt::Key_N, Qt::ControlModifier);
    h.takeMessages();
    const QByteArray before = h.ws().readImage.toByteArray();
    QVERIFY(QFile::remove(gone));

    h.find<QAction>("RecentFile1")->trigger();
    QCOMPARE(h.messages.size(), 1);
    QCOMPARE(h.messages[0].text, desktop_text::kRecentFileMissing.en.arg(QDir::toNativeSeparators(gone)));
    QCOMPARE(h.messages[0].style, kStyleExclamation);
    QCOMPARE(menuEntries(h), QStringList{QDir::toNativeSeparators(kept)});
    QCOMPARE(h.ws().readImage.toByteArray(), before);
    QCOMPARE(h.find<QComboBox>("Combo1")->currentIndex(), 3);   // New's band, untouched
    // Stored at once: a restart does not bring it back.
    QCOMPARE(QSettings(settingsFile(), QSettings::IniFormat).value(QStringLiteral("RecentFiles")).toStringList(),
             QStringList{kept});
}

void TestFilesFromOutside::recentFilesKeptAcrossRestart()
{
    QStringList files;
    for (int i = 1; i <= 9; ++i)
        files << makeImage(QStringLiteral("restart%1.dat").arg(i), 0, "150");
    QStringList expected;
    for (int i = 8; i >= 1; --i)
        expected << QDir::toNativeSeparators(files[i]);   // newest first, the oldest of nine gone
    {
        Harness h;
        answerDialogs(h, files);
        for (int i = 0; i < files.size(); ++i)
            QTest::keyClick(h.window.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(menuEntries(h), expected);
        h.window->switchLanguage(Language::Chinese);
        h.window->close();   // the exit question, answered OK: the language is stored too
    }
    const QSettings stored(settingsFile(), QSettings::IniFormat);
    QCOMPARE(stored.value(QStringLiteral("BinaryValue")).toByteArray(), QByteArray(4, '\0'));
    QCOMPARE(stored.value(QStringLiteral("RecentFiles")).toStringList().size(), RecentFileList::kLimit);

    Harness again;
    QCOMPARE(again.ws().language, Language::Chinese);
    QCOMPARE(menuEntries(again), expected);
    QCOMPARE(again.find<QAction>("RecentFilesTitle")->text(), desktop_text::kRecentFilesTitle.zh);
    // The first entry opens straight away.
    again.takeMessages();
    again.find<QAction>("RecentFile1")->trigger();
    QCOMPARE(again.takeMessages(), QStringList());
    QCOMPARE(again.ws().channels.row(1).rxText, QStringLiteral("150.00000"));
}

QTEST_MAIN(TestFilesFromOutside)
#include "tst_files_from_outside.moc"
