#include "support/widget_fixture.h"

#include "document/channel_import.h"
#include "files/channel_csv.h"
#include "files/csv_commands.h"
#include "files/dat_file.h"
#include "files/file_commands.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace quillon;
using namespace quillon::test;

namespace {

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

QString gridCell(Harness &h, int channel, int column)
{
    auto *grid = h.find<QWidget>("Form1")->findChild<QTableView *>(QStringLiteral("Grid1"));
    const QVariant item = grid ? grid->model()->index(channel - 1, column).data() : QVariant();
    return item.toString();
}

// The bytes Save writes now.
QByteArray saved(Harness &h, const QString &path)
{
    h.window->fileCommands().setFileChooser([path](FileDialogKind, const QString &) { return path; });
    h.window->fileCommands().saveImage();
    return readAll(path);
}

} // namespace

class TestCsvCommands : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void menuItemsFollowTheFileMenu();
    void importIsOneUndoStep();
    void rejectedRowsAreConfirmedFirst();
    void unreadableFilesAreTold();
    void importDialogPlacesRowsInFileOrder();
    void exportWritesTheChannels();
    void newImageIsWhatSaveWritesAfterStart();

private:
    QTemporaryDir m_dir;
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }
    void chooseImport(Harness &h, const QString &file, bool sequential = false)
    {
        h.window->csvCommands().setImportChooser([file, sequential](const QString &) {
            return std::optional<CsvCommands::ImportChoice>({file, sequential});
        });
    }
};

void TestCsvCommands::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
    qputenv("QUILLON_SERIAL_PORTS", "/nonexistent/quillon-tty");
    QVERIFY(writeAll(path("good.csv"), "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,Mode\n"
                                       "2,rpt,146.52,+,0.6,Tone,100.0,NFM\n"
                                       "3,B,146.55,,,,,FM\n"));
    QVERIFY(writeAll(path("bad.csv"), "Location,Frequency,Mode\n"
                                      "1,146.52,FM\n"
                                      "2,446.52,FM\n"
                                      "3,146.55,AM\n"));
}

void TestCsvCommands::menuItemsFollowTheFileMenu()
{
    Harness h;
    QStringList names;
    for (QAction *action : h.find<QMenu>("MNFile")->actions())
        names << (action->isSeparator() && action->objectName().isEmpty() ? QStringLiteral("-") : action->objectName());
    // The Parts' items first, then the channel files, the radio history and the recent files.
    QCOMPARE(names, (QStringList{"MNNew", "MNOpen", "MNSave", "MNPrint", "MNLine1", "MNQuit", "-", "MNImportCsv", "MNExportCsv", "-",
                         "MNHistory", "RecentFilesLine", "RecentFilesTitle", "RecentFile1", "RecentFile2",
                         "RecentFile3", "RecentFile4", "RecentFile5", "RecentFile6", "RecentFile7", "RecentFile8"}));
    QCOMPARE(h.find<QAction>("MNImportCsv")->text(), QStringLiteral("Import channels..."));
    QCOMPARE(h.find<QAction>("MNExportCsv")->text(), QStringLiteral("Export channels..."));
    h.window->switchLanguage(Language::Chinese);
    QCOMPARE(h.find<QAction>("MNImportCsv")->text(), QString::fromUtf8("导入信道..."));
    QCOMPARE(h.find<QAction>("MNExportCsv")->text(), QString::fromUtf8("导出信道..."));
}

void TestCsvCommands::importIsOneUndoStep()
{
    Harness h;
    h.takeMessages();
    h.document().commitFrequency(3, kColumnRx, QStringLiteral("150"));
    h.document().commitName(3, QStringLiteral("OLD"));
    const QByteArray before = saved(h, path("before.dat"));
    const int steps = h.document().undoCount();

    chooseImport(h, path("good.csv"));
    h.find<QAction>("MNImportCsv")->trigger();
    QCOMPARE(h.messages.size(), 1);
    QCOMPARE(h.messages.first().style, kStyleInformation);
    QCOMPARE(h.messages.first().caption, QStringLiteral("Import channels"));
    QCOMPARE(h.takeMessages(), QStringList{QStringLiteral("2 rows imported. Changed channels: 2-3\n\nNotes:\n"
                                                          "line 2 (channel 2): name \"rpt\" is stored as \"RPT\" by "
                                                          "the name rule")});
    QCOMPARE(h.document().undoCount(), steps + 1);
    QCOMPARE(h.document().undoKind(), EditKind::Import);
    // The windows show the rows at once.
    QCOMPARE(gridCell(h, 2, kColumnTx), QStringLiteral("147.12000"));
    QCOMPARE(gridCell(h, 2, kColumnBandwidth), QStringLiteral("Narror"));
    QCOMPARE(gridCell(h, 3, kColumnName), QStringLiteral("B"));

    h.document().undo();
    QCOMPARE(gridCell(h, 3, kColumnName), QStringLiteral("OLD"));
    QCOMPARE(saved(h, path("undone.dat")), before);
}

void TestCsvCommands::rejectedRowsAreConfirmedFirst()
{
    Harness h;
    h.takeMessages();
    const int steps = h.document().undoCount();
    chooseImport(h, path("bad.csv"));
    const QString question = QStringLiteral("2 rows are rejected and cannot be imported.\n\nRejected rows:\n"
                                            "line 3 (channel 2): RX 446.52 is outside the band 136-174MHz\n"
                                            "line 4 (channel 3): Mode \"AM\" is not supported by the radio\n\n"
                                            "Import the other rows? (Cancel changes nothing)");

    h.answers = {kAnswerCancel};
    h.find<QAction>("MNImportCsv")->trigger();
    QCOMPARE(h.messages.size(), 1);
    QCOMPARE(h.messages.first().style, kStyleQuestion);
    QCOMPARE(h.takeMessages(), QStringList{question});
    QCOMPARE(h.document().undoCount(), steps);
    QCOMPARE(h.ws().channels.row(1).rxText, QString());

    h.answers = {kAnswerOk};
    h.find<QAction>("MNImportCsv")->trigger();
    const QStringList shown = h.takeMessages();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0], question);
    QVERIFY2(shown[1].startsWith(QStringLiteral("1 rows imported. Changed channels: 1\n\nRejected rows:\nline 3")),
             qPrintable(shown[1]));
    QCOMPARE(h.document().undoCount(), steps + 1);
    QCOMPARE(gridCell(h, 1, kColumnRx), QStringLiteral("146.52000"));

    // In Chinese the summary speaks Chinese.
    h.window->switchLanguage(Language::Chinese);
    h.answers = {kAnswerCancel};
    h.find<QAction>("MNImportCsv")->trigger();
    QVERIFY(h.takeMessages().first().startsWith(QString::fromUtf8("2行被拒绝")));
}

void TestCsvCommands::unreadableFilesAreTold()
{
    Harness h;
    h.takeMessages();
    QVERIFY(writeAll(path("latin1.csv"), "Frequency,Name\n146.52,CAF\xC9\n"));
    chooseImport(h, path("latin1.csv"));
    h.find<QAction>("MNImportCsv")->trigger();
    QCOMPARE(h.messages.first().style, kStyleStop);
    QCOMPARE(h.takeMessages(), QStringList{QStringLiteral("latin1.csv: not UTF-8 text")});
    chooseImport(h, path("none.csv"));
    h.find<QAction>("MNImportCsv")->trigger();
    QVERIFY(h.takeMessages().first().startsWith(QStringLiteral("The file could not be opened: ")));
    QCOMPARE(h.document().undoCount(), 0);
}

void TestCsvCommands::importDialogPlacesRowsInFileOrder()
{
    Harness h;
    h.takeMessages();
    QVERIFY(whileModal([&] { h.find<QAction>("MNImportCsv")->trigger(); },
               [&](QWidget *modal) {
                   auto *dialog = qobject_cast<QFileDialog *>(modal);
                   QVERIFY(dialog);
                   QCOMPARE(dialog->windowTitle(), QStringLiteral("Import channels"));
                   QCOMPARE(dialog->nameFilters().first(), QStringLiteral("CSV files(*.csv)"));
                   auto *sequential = dialog->findChild<QCheckBox *>(QStringLiteral("ChkSequential"));
                   QVERIFY(sequential && sequential->isVisible());
                   QTest::mouseClick(sequential, Qt::LeftButton, {}, QPoint(4, sequential->height() / 2));
                   QVERIFY(sequential->isChecked());
                   dialog->selectFile(path("good.csv"));
                   static_cast<QDialog *>(dialog)->accept();   // as the Open button does
               }));
    QCOMPARE(h.ws().channels.row(1).name, QStringLiteral("RPT"));
    QCOMPARE(h.ws().channels.row(2).name, QStringLiteral("B"));
}

void TestCsvCommands::exportWritesTheChannels()
{
    Harness h;
    h.takeMessages();
    h.document().commitFrequency(5, kColumnRx, QStringLiteral("150"));
    h.document().chooseTone(5, kColumnRxTone, 52);
    const QString file = path("export.csv");
    h.window->csvCommands().setExportChooser([file](const QString &) { return file; });
    h.find<QAction>("MNExportCsv")->trigger();
    QCOMPARE(h.takeMessages(), QStringList());
    QCOMPARE(readAll(file), exportChannelCsv(h.ws().channels, h.ws().band).bytes);
    QVERIFY(readAll(file).contains("\r\n5,,150.000000,,0.000000,Cross,"));

    const QString nowhere = path("no/folder/export.csv");
    h.window->csvCommands().setExportChooser([nowhere](const QString &) { return nowhere; });
    h.find<QAction>("MNExportCsv")->trigger();
    QVERIFY(h.takeMessages().first().startsWith(QStringLiteral("The file could not be saved: ")));
}

void TestCsvCommands::newImageIsWhatSaveWritesAfterStart()
{
    // import --new starts from the image the program saves right after start.
    Harness h;
    Document fresh;
    startNewImage(fresh, 0);
    QCOMPARE(saved(h, path("start.dat")), datFileBytes(fresh.encode()));
}

QTEST_MAIN(TestCsvCommands)
#include "tst_csv_commands.moc"
