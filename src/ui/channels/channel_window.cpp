#include "channels/channel_window.h"

#include "channels/channel_table_model.h"
#include "i18n/apply_language.h"
#include "i18n/edit_texts.h"
#include "i18n/messages.h"
#include "image/channel_sheet.h"
#include "image/tone_list.h"
#include "common/app_context.h"
#include "common/drop_down.h"
#include "common/ruled_line_edit.h"
#include "common/twips.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace quillon {

namespace {

constexpr int kColumnWidthTwips[ChannelSheet::kColumns] = {
    600, 1100, 1100, 1200, 1200, 600, 1400, 900, 700, 1000, 900, 1400};
constexpr int kWindowWidthTwips = 13000;
constexpr int kWindowHeightTwips = 7200;
// The whole grid fits the first window size, whose 7200 twips include the
// frame's title bar and borders.
constexpr int kGridHeightTwips = 6600;
constexpr int kPanelMarginPixels = 2;
constexpr int kFrequencyTypedMax = 9;
constexpr int kNameTypedMax = 5;
constexpr int kWheelNotch = 120;
constexpr int kDefaultWheelLines = 3;

QColor editorColour() { return QColor(0xFF, 0xFF, 0xC0); }    // light yellow

QFont gridFont()
{
    QFont font;
    // SimSun where it is installed; elsewhere a face that has the Chinese texts.
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("WenQuanYi Zen Hei")});
    font.setPointSizeF(9.75);
    return font;
}

bool isFrequencyColumn(int column) { return column == kColumnRx || column == kColumnTx; }

bool isEnter(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The focused text field, where the Edit menu's cut, copy and paste go.
QLineEdit *focusedField()
{
    auto *field = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    return field && !field->isReadOnly() ? field : nullptr;
}

// The field handles the tool as it handles its key, rule and all.
void sendStandardKey(QWidget *field, QKeySequence::StandardKey key)
{
    const QList<QKeySequence> bindings = QKeySequence::keyBindings(key);
    if (bindings.isEmpty())
        return;
    const QKeyCombination combination = bindings.first()[0];
    QKeyEvent press(QEvent::KeyPress, combination.key(), combination.keyboardModifiers());
    QApplication::sendEvent(field, &press);
}

} // namespace

ScrollBarState windowScrollBar(int overflow, int client)
{
    if (overflow <= 0 || client <= 0)
        return {};
    const int pages = overflow / client + 1;
    return {true, overflow, overflow / pages};
}

ChannelWindow::ChannelWindow(AppContext &context, QWidget *parent)
    : EditorWindow(context, parent)
{
    setObjectName(QStringLiteral("Form1"));

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("picClient"));
    buildGrid();
    buildEditors();
    buildEditActions();
    m_client->setGeometry(0, 0, m_grid->geometry().right() + 1 + kPanelMarginPixels,
                          m_grid->geometry().bottom() + 1 + kPanelMarginPixels);

    m_hBar = new QScrollBar(Qt::Horizontal, this);
    m_hBar->setObjectName(QStringLiteral("cScroll_0"));
    m_vBar = new QScrollBar(Qt::Vertical, this);
    m_vBar->setObjectName(QStringLiteral("cScroll_1"));
    m_vBar->setSingleStep(2);
    for (QScrollBar *bar : {m_hBar, m_vBar}) {
        bar->hide();
        connect(bar, &QScrollBar::valueChanged, this, &ChannelWindow::placePanel);
    }

    // The grid moves one row per wheel notch and never hands the wheel on;
    // elsewhere the wheel scrolls the panel. A failed attachment leaves the
    // widgets' own wheel handling, which still works.
    m_gridWheelHook = std::make_unique<WheelHook>(EventHookClient::Response::Consume,
                                                  [this](QWheelEvent *event) { gridWheel(event); });
    for (QObject *target : {static_cast<QObject *>(m_grid), static_cast<QObject *>(m_grid->viewport()),
                            static_cast<QObject *>(m_grid->verticalScrollBar()),
                            static_cast<QObject *>(m_grid->horizontalScrollBar())})
        m_hooks.attach(m_gridWheelHook.get(), target, QEvent::Wheel);
    m_panelWheelHook = std::make_unique<WheelHook>(EventHookClient::Response::ObjectAfter,
                                                   [this](QWheelEvent *event) { panelWheel(event); });
    m_hooks.attach(m_panelWheelHook.get(), this, QEvent::Wheel);

    connect(&context, &AppContext::pendingEditsRequested, this, &ChannelWindow::commitPendingEdits);

    applyTextTable(this, channelWindowTexts(), context.language());
    resize(pixelsAcross(this, kWindowWidthTwips), pixelsDown(this, kWindowHeightTwips));
}

ChannelWindow::~ChannelWindow()
{
    prepareDestruction();
}

void ChannelWindow::buildGrid()
{
    m_model = new ChannelTableModel(context().document(), this);
    m_grid = new ChannelGrid(m_client);
    m_grid->setObjectName(QStringLiteral("Grid1"));
    m_grid->setModel(m_model);
    m_grid->setFont(gridFont());
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(QFontMetrics(m_grid->font()).height() + 4);

    QHeaderView *header = m_grid->horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setDefaultAlignment(Qt::AlignCenter);
    int width = 0;
    for (int column = 0; column < ChannelSheet::kColumns; ++column) {
        const int pixels = pixelsAcross(this, kColumnWidthTwips[column]);
        header->resizeSection(column, pixels);
        width += pixels;
    }
    width += m_grid->verticalScrollBar()->sizeHint().width() + 2 * m_grid->frameWidth();
    m_grid->setGeometry(0, 0, width, pixelsDown(this, kGridHeightTwips));

    m_grid->installEventFilter(this);
    m_grid->viewport()->installEventFilter(this);
}

void ChannelWindow::buildEditors()
{
    const Language language = context().language();
    QWidget *cells = m_grid->viewport();
    auto makeText = [this, cells](const char *name, InputRule rule, int limit) {
        auto *editor = new RuledLineEdit(rule, limit, cells);
        editor->setObjectName(QString::fromLatin1(name));
        editor->setFont(m_grid->font());
        editor->setFrame(false);
        QPalette palette = editor->palette();
        palette.setColor(QPalette::Base, editorColour());
        editor->setPalette(palette);
        editor->hide();
        editor->installEventFilter(this);
        return editor;
    };
    m_frequencyEditor = makeText("Text1", InputRule::ChannelFrequency, kFrequencyTypedMax);
    m_nameEditor = makeText("Text2", InputRule::ChannelName, kNameTypedMax);

    auto makeList = [this, cells](const QString &name, const QStringList &entries, int selected) {
        auto *list = new QComboBox(cells);
        list->setObjectName(name);
        list->addItems(entries);
        limitLongDropDown(list);   // the 265 tones
        list->setCurrentIndex(selected);
        list->hide();
        list->view()->window()->installEventFilter(this);   // the drop-down, made here
        list->installEventFilter(this);
        connect(list, &QComboBox::activated, this, [this, list](int index) { listChosen(list, index); });
        return list;
    };
    m_toneList = makeList(QStringLiteral("Combo1"), toneEntries(language), 0);
    for (int column = kColumnPower; column <= kColumnScramble; ++column) {
        QStringList entries;
        for (int i = 0; i < channelOptionCount(column); ++i)
            entries.append(channelOptionText(column, i, language));
        m_optionLists[column - kColumnPower] =
            makeList(QStringLiteral("Combo5_%1").arg(column), entries, 1);
    }
}

QAction *ChannelWindow::addTool(const char *name, const QList<QKeySequence> &keys, void (ChannelWindow::*handler)())
{
    auto *action = new QAction(this);
    action->setObjectName(QLatin1String(name));
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, this, handler);
    m_editActions.append(action);
    // Undo and redo serve every window; the grid's tools only the grid, so a
    // focused text field keeps its own keys.
    if (handler == &ChannelWindow::undoEdit || handler == &ChannelWindow::redoEdit) {
        addAction(action);
    } else {
        action->setShortcutContext(Qt::WidgetShortcut);
        m_grid->addAction(action);
    }
    return action;
}

void ChannelWindow::buildEditActions()
{
    using Key = QKeySequence;
    m_undo = addTool("MNUndo", {Key(Qt::CTRL | Qt::Key_Z)}, &ChannelWindow::undoEdit);
    m_redo = addTool("MNRedo", {Key(Qt::CTRL | Qt::Key_Y), Key(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
                     &ChannelWindow::redoEdit);
    addTool("MNCut", {Key(Qt::CTRL | Qt::Key_X)}, &ChannelWindow::cutSelection);
    addTool("MNCopy", {Key(Qt::CTRL | Qt::Key_C)}, &ChannelWindow::copySelection);
    addTool("MNPaste", {Key(Qt::CTRL | Qt::Key_V)}, &ChannelWindow::pasteClipboard);
    addTool("MNDeleteChannels", {Key(Qt::Key_Delete)}, &ChannelWindow::clearSelectedChannels);
    addTool("MNInsertChannel", {}, &ChannelWindow::insertEmptyChannel);
    addTool("MNRemoveChannel", {}, &ChannelWindow::removeSelectedChannels);
    addTool("MNMoveUp", {Key(Qt::CTRL | Qt::Key_Up)}, &ChannelWindow::moveSelectionUp);
    addTool("MNMoveDown", {Key(Qt::CTRL | Qt::Key_Down)}, &ChannelWindow::moveSelectionDown);
    addTool("MNSortByFrequency", {}, &ChannelWindow::sortSelection);
    addTool("MNFillDown", {}, &ChannelWindow::fillSelectionDown);

    m_gridMenu = new QMenu(this);
    m_gridMenu->setObjectName(QStringLiteral("GridMenu"));
    m_gridMenu->addActions(m_editActions);
    m_grid->setContextMenu(m_gridMenu);

    connect(&context().document(), &Document::historyChanged, this, &ChannelWindow::updateHistoryActions);
    updateHistoryActions();
}

void ChannelWindow::updateHistoryActions()
{
    m_undo->setEnabled(context().document().canUndo());
    m_redo->setEnabled(context().document().canRedo());
}

void ChannelWindow::applyLanguage()
{
    applyTextTable(this, channelWindowTexts(), context().language());
}

void ChannelWindow::showModel()
{
    discardEditors();
    m_model->refreshAll();
}

void ChannelWindow::documentChanged(const Change &change)
{
    if (!(change.areas & Area::Channels))
        return;
    // An editor still open belongs to the rows as they were: what it holds
    // must not land in a newly opened or read image.
    if (!m_committing)
        discardEditors();
}

int ChannelWindow::topRow() const
{
    return m_grid->verticalScrollBar()->value() + 1;
}

// ---- editors ----

void ChannelWindow::gridClick(int tableRow, int column)
{
    if (!m_clickArmed)
        return;
    m_clickArmed = false;
    const int channel = tableRow + 1;
    if (channel < 1 || channel > ChannelSheet::kChannels || column < 0 || column >= ChannelSheet::kColumns)
        return;
    // Leaving the editor for the grid has committed it already, unless the
    // focus was elsewhere; at most one editor is ever open.
    commitPendingEdits();
    if (auto *list = qobject_cast<QComboBox *>(m_openEditor))
        closeList(list);
    const ChannelSheet &sheet = context().workspace().channels;
    const int target = sheet.editorColumn(channel, column);
    // An empty row's number keeps its row selected; a cell gives way to the
    // receive frequency.
    if (target != column && column != kColumnNumber)
        m_grid->selectCell(m_model->index(tableRow, target));
    m_curRow = channel;
    m_curCol = target;

    if (isFrequencyColumn(target) || target == kColumnName) {
        RuledLineEdit *editor = target == kColumnName ? m_nameEditor : m_frequencyEditor;
        placeEditor(editor, tableRow, target, true);
        editor->place(sheet.cell(channel, target));
        m_openEditor = editor;
        ++m_openings;
        editor->show();
        editor->raise();
        editor->setFocus(Qt::OtherFocusReason);
        return;
    }
    QComboBox *list = listFor(target);
    if (!list)
        return;
    const ChannelRow &row = sheet.row(channel);
    const int index = target == kColumnRxTone ? row.rxToneIndex
        : target == kColumnTxTone             ? row.txToneIndex
                                              : row.optionIndex[target - kColumnPower];
    placeEditor(list, tableRow, target, false);
    // Selecting the entry while the list is hidden is not a choice.
    list->setCurrentIndex(index);
    m_openEditor = list;
    ++m_openings;
    list->show();
    list->raise();
    list->setFocus(Qt::OtherFocusReason);
    // A list opened by a press drops down once the button is released: the
    // release would otherwise land on the fresh drop-down and close it.
    if (m_mousePressed)
        m_pendingDropDown = list;
    else
        list->showPopup();
}

void ChannelWindow::placeEditor(QWidget *editor, int tableRow, int column, bool cellHeight)
{
    const QModelIndex index = m_model->index(tableRow, column);
    m_grid->scrollTo(index);
    const QRect cell = m_grid->visualRect(index);
    editor->setGeometry(cell.x(), cell.y(), cell.width(), cellHeight ? cell.height() : editor->sizeHint().height());
}

QComboBox *ChannelWindow::listFor(int column) const
{
    if (column == kColumnRxTone || column == kColumnTxTone)
        return m_toneList;
    if (column >= kColumnPower && column <= kColumnScramble)
        return m_optionLists[column - kColumnPower];
    return nullptr;
}

void ChannelWindow::listChosen(QComboBox *list, int index)
{
    // Only a list the user has open can make a choice: Qt hides the
    // drop-down just before it reports the entry chosen in it.
    if (m_openEditor != list)
        return;
    {
        const QScopedValueRollback<bool> committing(m_committing, true);
        Document &document = context().document();
        if (list == m_toneList)
            document.chooseTone(m_curRow, m_curCol, index);
        else
            document.chooseOption(m_curRow, m_curCol, index);
    }
    closeList(list);
    m_grid->setFocus(Qt::OtherFocusReason);
}

void ChannelWindow::closeList(QComboBox *list)
{
    if (m_openEditor == list)
        m_openEditor = nullptr;
    const QScopedValueRollback<bool> closing(m_committing, true);
    list->hidePopup();
    hideEditor(list);
}

void ChannelWindow::dropDownClosed(QComboBox *list)
{
    // A choice in the drop-down arrives right after it hid, from the same
    // key or click; only once that has had its turn is the list known to
    // be left without a choice (Escape, a click elsewhere).
    QMetaObject::invokeMethod(
        this,
        [this, list, opening = m_openings] {
            // Not if the list has been opened again since.
            if (m_openEditor != list || m_openings != opening || list->view()->isVisible())
                return;
            closeList(list);
            m_grid->setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
}

void ChannelWindow::commitFrequencyEditor()
{
    if (m_committing || m_openEditor != m_frequencyEditor)
        return;
    m_openEditor = nullptr;
    const QScopedValueRollback<bool> committing(m_committing, true);
    const FrequencyCommit result = context().document().commitFrequency(m_curRow, m_curCol, m_frequencyEditor->text());
    if (result == FrequencyCommit::OutOfBand) {
        context().showMessage(Message::OutOfBand);
        m_grid->setFocus(Qt::OtherFocusReason);
    }
    hideEditor(m_frequencyEditor);
}

void ChannelWindow::commitNameEditor()
{
    if (m_committing || m_openEditor != m_nameEditor)
        return;
    m_openEditor = nullptr;
    const QScopedValueRollback<bool> committing(m_committing, true);
    context().document().commitName(m_curRow, m_nameEditor->text());
    hideEditor(m_nameEditor);
}

void ChannelWindow::commitPendingEdits()
{
    commitFrequencyEditor();
    commitNameEditor();
}

void ChannelWindow::discardEditors()
{
    m_openEditor = nullptr;
    const QScopedValueRollback<bool> closing(m_committing, true);
    m_toneList->hidePopup();
    for (QComboBox *list : m_optionLists)
        list->hidePopup();
    hideEditor(m_frequencyEditor);
    hideEditor(m_nameEditor);
    hideEditor(m_toneList);
    for (QComboBox *list : m_optionLists)
        hideEditor(list);
}

void ChannelWindow::hideEditor(QWidget *editor)
{
    // The grid takes the focus first: a focused widget that hides hands the
    // focus on as Tab does, and the grid would step to the next cell.
    QWidget *focused = QApplication::focusWidget();
    if (focused && (focused == editor || editor->isAncestorOf(focused)))
        m_grid->setFocus(Qt::OtherFocusReason);
    editor->hide();
}

bool ChannelWindow::filterGridMouse(QEvent *event)
{
    const QEvent::Type type = event->type();
    // The viewport has no focus of its own: a key arriving here is one an
    // editor on it left alone. The editor's cell keeps it; the grid must
    // not move under the editor.
    if (type == QEvent::KeyPress)
        return true;
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick && type != QEvent::MouseMove
        && type != QEvent::MouseButtonRelease)
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (mouse->button() == Qt::LeftButton) {
            // The press selects and opens at once; the view never sees it,
            // so a drag has no selection to extend.
            m_mousePressed = true;
            pressCell(m_grid->indexAt(mouse->position().toPoint()), mouse->modifiers());
            return true;
        }
        if (mouse->button() == Qt::RightButton)
            m_grid->setFocus(Qt::MouseFocusReason);
        return true;
    case QEvent::MouseMove:
        // The press has done its work: dragging never extends the selection.
        return mouse->buttons() & Qt::LeftButton;
    case QEvent::MouseButtonRelease:
        m_clickArmed = false;
        m_mousePressed = false;
        if (QComboBox *list = m_pendingDropDown) {
            m_pendingDropDown = nullptr;
            QMetaObject::invokeMethod(
                list, [list] { if (list->isVisible()) list->showPopup(); }, Qt::QueuedConnection);
        }
        return false;
    default:
        return false;
    }
}

void ChannelWindow::pressCell(const QModelIndex &index, Qt::KeyboardModifiers modifiers)
{
    if (!index.isValid())
        return;
    if (index.column() == kColumnNumber) {
        m_grid->pickChannel(index.row(), modifiers);
        // Shift and Ctrl on the numbers only shape the selection.
        if (modifiers & (Qt::ShiftModifier | Qt::ControlModifier))
            return;
    } else {
        m_grid->selectCell(index);
    }
    m_clickArmed = true;
    gridClick(index.row(), index.column());
}

bool ChannelWindow::filterList(QComboBox *list, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::Wheel && type != QEvent::FocusOut)
        return false;
    const bool dropped = list->view()->isVisible();
    // Keys and the wheel on the list itself would step its entries and
    // report each as chosen; only the drop-down makes choices.
    if ((type == QEvent::KeyPress || type == QEvent::Wheel) && !dropped) {
        if (m_openEditor == list) {
            closeList(list);
            m_grid->setFocus(Qt::OtherFocusReason);
        }
        return true;
    }
    // The focus moves into the list's own drop-down while it is open.
    if (type == QEvent::FocusOut && m_openEditor == list && leavesField(event) && !m_committing && !dropped)
        closeList(list);
    return false;
}

QComboBox *ChannelWindow::listOfPopup(QObject *popup) const
{
    auto *list = qobject_cast<QComboBox *>(popup->parent());
    return list && list->view()->window() == popup ? list : nullptr;
}

bool ChannelWindow::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_grid->viewport())
        return filterGridMouse(event);

    if (watched == m_grid) {
        if (isEnter(event)) {
            m_clickArmed = true;
            const QModelIndex current = m_grid->currentIndex();
            gridClick(current.row(), current.column());
            m_clickArmed = false;
            return true;
        }
        return type == QEvent::KeyPress && typeIntoCell(static_cast<QKeyEvent *>(event));
    }

    if (watched == m_frequencyEditor || watched == m_nameEditor)
        return filterTextEditor(static_cast<RuledLineEdit *>(watched), event);

    if (auto *list = qobject_cast<QComboBox *>(watched))
        return filterList(list, event);
    if (type == QEvent::Hide) {
        if (QComboBox *list = listOfPopup(watched); list && m_openEditor == list)
            dropDownClosed(list);
        return false;
    }
    return EditorWindow::eventFilter(watched, event);
}

// ---- editing tools ----

void ChannelWindow::undoEdit()
{
    context().document().undo();
}

void ChannelWindow::redoEdit()
{
    context().document().redo();
}

QString ChannelWindow::selectionText() const
{
    const ChannelSheet &sheet = context().workspace().channels;
    if (m_grid->wholeChannelsSelected())
        return copyChannels(sheet, m_grid->selectedChannels());
    return copyCells(sheet, m_grid->boundingBlock());
}

void ChannelWindow::copySelection()
{
    if (QLineEdit *field = focusedField()) {
        sendStandardKey(field, QKeySequence::Copy);
        return;
    }
    QGuiApplication::clipboard()->setText(selectionText());
}

void ChannelWindow::cutSelection()
{
    if (QLineEdit *field = focusedField()) {
        sendStandardKey(field, QKeySequence::Cut);
        return;
    }
    commitPendingEdits();
    // Only a channel can be emptied: the cut clears the channels it copied from.
    QGuiApplication::clipboard()->setText(selectionText());
    clearChannels(context().document(), m_grid->selectedChannels());
}

void ChannelWindow::pasteClipboard()
{
    if (QLineEdit *field = focusedField()) {
        sendStandardKey(field, QKeySequence::Paste);
        return;
    }
    commitPendingEdits();
    const QList<CellBlock> blocks = m_grid->selectedBlocks();
    const CellBlock whole = m_grid->boundingBlock();
    const bool oneCell = blocks.size() == 1 && whole.firstChannel == whole.lastChannel
        && whole.firstColumn == whole.lastColumn;
    pasteAt(whole.firstChannel, whole.firstColumn, QGuiApplication::clipboard()->text(),
            oneCell ? QList<CellBlock>{} : blocks);
}

void ChannelWindow::pasteAt(int channel, int column, const QString &text, const QList<CellBlock> &selection)
{
    if (text.isEmpty())
        return;
    showNotTaken(pasteText(context().document(), channel, column, text, selection));
}

void ChannelWindow::showNotTaken(const PasteResult &result)
{
    const QString summary = pasteSummary(result, context().language());
    if (!summary.isEmpty())
        context().showMessage(summary, kStyleOk);
}

void ChannelWindow::clearSelectedChannels()
{
    commitPendingEdits();
    clearChannels(context().document(), m_grid->selectedChannels());
}

void ChannelWindow::insertEmptyChannel()
{
    commitPendingEdits();
    const QList<int> channels = m_grid->selectedChannels();
    if (channels.isEmpty())
        return;
    if (!insertChannel(context().document(), channels.first()))
        context().showMessage(edit_text::kInsertRefused.text(context().language()), kStyleExclamation);
}

void ChannelWindow::removeSelectedChannels()
{
    commitPendingEdits();
    removeChannels(context().document(), m_grid->selectedChannels());
}

void ChannelWindow::moveSelection(int delta)
{
    commitPendingEdits();
    const QList<int> channels = m_grid->selectedChannels();
    // The selection goes along with its channels; at an edge nothing moves.
    if (moveChannels(context().document(), channels, delta) != channels)
        m_grid->shiftSelection(delta);
}

void ChannelWindow::sortSelection()
{
    commitPendingEdits();
    const QList<int> channels = m_grid->selectedChannels();
    // One channel alone has nothing to sort: then the whole grid is sorted.
    sortByReceiveFrequency(context().document(), channels.size() > 1 ? channels : QList<int>{});
}

void ChannelWindow::fillSelectionDown()
{
    commitPendingEdits();
    const int column = m_grid->currentIndex().isValid() ? m_grid->currentIndex().column() : int(kColumnRx);
    showNotTaken(fillDown(context().document(), m_grid->selectedChannels(), column));
}

// A character typed on the grid opens the current cell's text editor with
// that character, as a spreadsheet does. A character the field would refuse
// opens nothing: an editor left empty would erase a channel.
bool ChannelWindow::typeIntoCell(const QKeyEvent *key)
{
    const QString typed = key->text();
    if (typed.size() != 1 || !typed.front().isPrint()
        || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        return false;
    const int target = context().workspace().channels.editorColumn(current.row() + 1, current.column());
    RuledLineEdit *editor = isFrequencyColumn(target) ? m_frequencyEditor
        : target == kColumnName                       ? m_nameEditor
                                                      : nullptr;
    if (!editor)
        return false;
    if (!acceptInputCharacter(editor->rule(), typed.front()))
        return true;
    m_clickArmed = true;
    gridClick(current.row(), current.column());
    m_clickArmed = false;
    if (m_openEditor != editor)
        return true;
    editor->clear();
    QKeyEvent replay(QEvent::KeyPress, key->key(), key->modifiers(), typed);
    QApplication::sendEvent(editor, &replay);
    return true;
}

bool ChannelWindow::filterTextEditor(RuledLineEdit *editor, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (isEnter(event)) {
            // Leaving the editor commits it.
            m_grid->setFocus(Qt::OtherFocusReason);
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            discardEditors();
            return true;
        }
        // Several cells go into the grid at the editor's cell, not into the
        // editor; one value is pasted as text, through the editor's rule.
        if (key->matches(QKeySequence::Paste)) {
            const QString text = QGuiApplication::clipboard()->text();
            if (isSingleValue(text))
                return false;
            const int channel = m_curRow;
            const int column = m_curCol;
            discardEditors();
            pasteAt(channel, column, text, {});
            return true;
        }
        return false;
    }
    if (type == QEvent::FocusOut && leavesField(event)) {
        if (editor == m_frequencyEditor)
            commitFrequencyEditor();
        else
            commitNameEditor();
    }
    return false;
}

// ---- wheel and scrolling ----

void ChannelWindow::gridWheel(QWheelEvent *event)
{
    const int rotation = event->angleDelta().y();
    if (rotation == 0)   // a sideways tilt is no vertical notch
        return;
    const int top = topRow();
    const int wanted = rotation < 1 ? std::min(top + 1, ChannelSheet::kChannels) : std::max(top - 1, 1);
    m_grid->verticalScrollBar()->setValue(wanted - 1);
}

void ChannelWindow::panelWheel(QWheelEvent *event)
{
    int lines = QApplication::wheelScrollLines();
    if (lines <= 0)
        lines = kDefaultWheelLines;
    const int amount = -(event->angleDelta().y() / kWheelNotch) * m_vBar->singleStep() * lines;
    if (amount != 0)
        m_vBar->setValue(m_vBar->value() + amount);
}

void ChannelWindow::wheelEvent(QWheelEvent *event)
{
    // The panel has scrolled already; the frame around the window must not.
    event->accept();
}

void ChannelWindow::resizeEvent(QResizeEvent *event)
{
    EditorWindow::resizeEvent(event);
    layoutScrollBars();
}

void ChannelWindow::layoutScrollBars()
{
    const QSize panel = m_client->size();
    const int barWidth = m_vBar->sizeHint().width();
    const int barHeight = m_hBar->sizeHint().height();
    // A bar takes room from the other direction, so one bar can bring the other.
    bool needVertical = panel.height() > height();
    bool needHorizontal = panel.width() > width() - (needVertical ? barWidth : 0);
    needVertical = panel.height() > height() - (needHorizontal ? barHeight : 0);
    const int clientWidth = width() - (needVertical ? barWidth : 0);
    const int clientHeight = height() - (needHorizontal ? barHeight : 0);

    auto apply = [](QScrollBar *bar, const ScrollBarState &state) {
        bar->setRange(0, state.maximum);
        bar->setPageStep(std::max(1, state.pageStep));
        bar->setVisible(state.visible);
    };
    apply(m_vBar, windowScrollBar(panel.height() - clientHeight, clientHeight));
    apply(m_hBar, windowScrollBar(panel.width() - clientWidth, clientWidth));
    m_vBar->setGeometry(clientWidth, 0, barWidth, clientHeight);
    m_hBar->setGeometry(0, clientHeight, clientWidth, barHeight);
    m_vBar->raise();
    m_hBar->raise();
    placePanel();
}

void ChannelWindow::placePanel()
{
    m_client->move(m_hBar->isHidden() ? 0 : -m_hBar->value(), m_vBar->isHidden() ? 0 : -m_vBar->value());
}

} // namespace quillon
