#include "support/widget_fixture.h"

#include "i18n/apply_language.h"
#include "i18n/texts.h"
#include "link/progress_window.h"
#include "shell/about_box.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>
#include <QtTest>

#include <map>
#include <tuple>

using namespace quillon;
using namespace quillon::test;

namespace {

std::optional<QString> shownText(QObject *object, const TextRow &row);

// What a row of a table sets, read back from the control it names (from
// every element of a control array it names as a whole, when they agree).
std::optional<QString> shownText(QWidget *root, const TextRow &row)
{
    if (row.role == TextRole::WindowTitle)
        return root->windowTitle();
    if (QObject *object = root->objectName() == row.objectName() ? root : root->findChild<QObject *>(row.objectName()))
        return shownText(object, row);
    const QRegularExpression elements(QStringLiteral("^%1_\\d+$").arg(row.control));
    std::optional<QString> shown;
    for (QObject *element : root->findChildren<QObject *>(elements)) {
        const std::optional<QString> text = shownText(element, row);
        if (!text || (shown && *shown != *text))
            return std::nullopt;
        shown = text;
    }
    return row.element < 0 ? shown : std::nullopt;
}

std::optional<QString> shownText(QObject *object, const TextRow &row)
{
    switch (row.role) {
    case TextRole::Caption:
        if (auto *label = qobject_cast<QLabel *>(object))
            return label->text();
        if (auto *button = qobject_cast<QAbstractButton *>(object))
            return button->text();
        if (auto *group = qobject_cast<QGroupBox *>(object))
            return group->title();
        if (auto *menu = qobject_cast<QMenu *>(object))
            return menu->title();
        if (auto *action = qobject_cast<QAction *>(object))
            return action->text();
        if (auto *widget = qobject_cast<QWidget *>(object))
            return widget->windowTitle();
        break;
    case TextRole::ListEntry:
        if (auto *list = qobject_cast<QComboBox *>(object); list && row.index < list->count())
            return list->itemText(row.index);
        break;
    case TextRole::Header:
        if (auto *grid = qobject_cast<QAbstractItemView *>(object); grid && row.index < grid->model()->columnCount())
            return grid->model()->headerData(row.index, Qt::Horizontal).toString();
        break;
    case TextRole::ToolTip:
        if (auto *bar = qobject_cast<QToolBar *>(object); bar && row.index >= 1 && row.index <= bar->actions().size())
            return bar->actions().at(row.index - 1)->toolTip();
        break;
    case TextRole::Tab:
        if (auto *tabs = qobject_cast<QTabWidget *>(object); tabs && row.index < tabs->count())
            return tabs->tabText(row.index);
        break;
    case TextRole::WindowTitle:
        break;
    }
    return std::nullopt;
}

// Every row's control shows the row's text, unless a later row of the
// table sets the same text of the same control.
void checkShown(QWidget *root, const TextTable &table, Language language)
{
    QVERIFY(root);
    using Key = std::tuple<QString, int, int>;
    std::map<Key, QString> last;
    for (const TextRow &row : table) {
        const QString name = row.role == TextRole::WindowTitle ? QString() : row.objectName();
        last[Key{name, int(row.role), row.index}] = row.text.text(language);
    }
    for (const TextRow &row : table) {
        const QString what = root->objectName() + u'.' + row.objectName() + u'#' + QString::number(row.index);
        const std::optional<QString> shown = shownText(root, row);
        QVERIFY2(shown, qPrintable(what + QStringLiteral(": no such control")));
        const QString name = row.role == TextRole::WindowTitle ? QString() : row.objectName();
        QVERIFY2(*shown == last.at(Key{name, int(row.role), row.index}), qPrintable(what + QStringLiteral(": ") + *shown));
    }
}

} // namespace

class TestLanguageTables : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_environment.isValid()); }
    void everyRowFindsItsControl_data();
    void everyRowFindsItsControl();

private:
    TestEnvironment m_environment;
};

void TestLanguageTables::everyRowFindsItsControl_data()
{
    QTest::addColumn<int>("languageIndex");
    QTest::newRow("Chinese") << 0;
    QTest::newRow("English") << 1;
}

void TestLanguageTables::everyRowFindsItsControl()
{
    QFETCH(int, languageIndex);
    const auto language = Language(languageIndex);
    const Language other = language == Language::Chinese ? Language::English : Language::Chinese;
    Harness h;
    h.window->switchLanguage(other);

    const std::pair<QWidget *, TextTable> windows[] = {
        {h.window.get(), mainWindowTexts()},          {h.window->editor(1), channelWindowTexts()},
        {h.window->editor(2), dtmfWindowTexts()},     {h.window->editor(3), featuresWindowTexts()},
        {h.window->editor(4), calibrationWindowTexts()}, {h.window->editor(5), fmWindowTexts()},
        {h.window->aboutBox(), aboutBoxTexts()},
    };
    // The language switch of the program sets every table...
    h.window->switchLanguage(language);
    for (const auto &[window, table] : windows) {
        QVERIFY(!table.isEmpty());
        checkShown(window, table, language);
    }
    // ...and no row of any table misses its control.
    for (const auto &[window, table] : windows) {
        QCOMPARE(applyTextTable(window, table, other), 0);
        QCOMPARE(applyTextTable(window, table, language), 0);
    }
    // The progress window takes its table at the start of each transfer.
    ProgressWindow progress;
    for (bool writing : {false, true}) {
        const TextTable table = progressWindowTexts(writing);
        QVERIFY(!table.isEmpty());
        QCOMPARE(applyTextTable(&progress, table, language), 0);
        checkShown(&progress, table, language);
        progress.begin(writing ? TransferKind::Write : TransferKind::Read, language);
        checkShown(&progress, table, language);
    }
}

QTEST_MAIN(TestLanguageTables)
#include "tst_language_tables.moc"
