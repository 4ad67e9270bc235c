#include "i18n/apply_language.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTableView>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

namespace quillon {

namespace {

bool setCaption(QObject *object, const QString &text)
{
    if (auto *label = qobject_cast<QLabel *>(object)) {
        label->setText(text);
    } else if (auto *button = qobject_cast<QAbstractButton *>(object)) {
        button->setText(text);
    } else if (auto *group = qobject_cast<QGroupBox *>(object)) {
        group->setTitle(text);
    } else if (auto *menu = qobject_cast<QMenu *>(object)) {
        menu->setTitle(text);
    } else if (auto *action = qobject_cast<QAction *>(object)) {
        action->setText(text);
    } else if (auto *widget = qobject_cast<QWidget *>(object)) {
        widget->setWindowTitle(text);
    } else {
        return false;
    }
    return true;
}

bool setListEntry(QObject *object, int index, const QString &text)
{
    auto *combo = qobject_cast<QComboBox *>(object);
    if (!combo || index < 0 || index >= combo->count())
        return false;
    combo->setItemText(index, text);
    return true;
}

// A column title of any table view, through its model (a QTableWidget's
// included, which makes the header item when there is none).
bool setHeader(QObject *object, int column, const QString &text)
{
    auto *table = qobject_cast<QTableView *>(object);
    QAbstractItemModel *model = table ? table->model() : nullptr;
    if (!model || column < 0 || column >= model->columnCount())
        return false;
    return model->setHeaderData(column, Qt::Horizontal, text, Qt::DisplayRole);
}

bool setTab(QObject *object, int index, const QString &text)
{
    auto *tabs = qobject_cast<QTabWidget *>(object);
    if (!tabs || index < 0 || index >= tabs->count())
        return false;
    tabs->setTabText(index, text);
    return true;
}

// Toolbar button n (1-based, separators counted) of a QToolBar.
bool setToolTip(QObject *object, int number, const QString &text)
{
    auto *toolbar = qobject_cast<QToolBar *>(object);
    if (!toolbar)
        return false;
    const QList<QAction *> actions = toolbar->actions();
    if (number < 1 || number > actions.size())
        return false;
    actions[number - 1]->setToolTip(text);
    return true;
}

// A row that names a control array without an element ("Label1" for
// Label1_0, Label1_1, ...) sets every element.
QObjectList wholeArray(const QWidget *root, const TextRow &row)
{
    if (row.element >= 0)
        return {};
    const QRegularExpression elements(QStringLiteral("^%1_\\d+$").arg(QRegularExpression::escape(row.control)));
    return root->findChildren<QObject *>(elements);
}

} // namespace

int applyTextTable(QWidget *root, const TextTable &table, Language language)
{
    if (!root || (language != Language::Chinese && language != Language::English))
        return 0;
    int missing = 0;
    for (const TextRow &row : table) {
        const QString text = row.text.text(language);
        if (row.role == TextRole::WindowTitle) {
            root->setWindowTitle(text);
            continue;
        }
        QObject *object = root->objectName() == row.objectName()
            ? root
            : root->findChild<QObject *>(row.objectName());
        bool done = false;
        for (QObject *target : object ? QObjectList{object} : wholeArray(root, row)) {
            switch (row.role) {
            case TextRole::Caption: done = setCaption(target, text); break;
            case TextRole::ListEntry: done = setListEntry(target, row.index, text); break;
            case TextRole::Header: done = setHeader(target, row.index, text); break;
            case TextRole::ToolTip: done = setToolTip(target, row.index, text); break;
            case TextRole::Tab: done = setTab(target, row.index, text); break;
            case TextRole::WindowTitle: break;
            }
            if (!done)
                break;
        }
        if (!done)
            ++missing;
    }
    return missing;
}

} // namespace quillon
