#include "features/fm_window.h"

#include "features/fm_channels_model.h"
#include "features/fm_radio.h"
#include "common/drop_down.h"
#include "common/ruled_line_edit.h"
#include "common/twips.h"
#include "i18n/apply_language.h"
#include "i18n/ui_texts.h"
#include "common/app_context.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>

namespace quillon {

namespace {

constexpr int kValueColumn = FmChannelsModel::kValueColumn;
// The grid on the left, the settings beside it: room for the longest
// caption in either language and for about sixteen channels.
constexpr int kWidthTwips = 8100;
constexpr int kHeightTwips = 6000;
constexpr int kMessageLeft = 3615;                  // twips, beside the grid
constexpr QPoint kFrequencyModeMessage{5600, 100};  // twips, top right

QLabel *makeLabel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

} // namespace

FmRadioWindow::FmRadioWindow(AppContext &context, QWidget *parent)
    : EditorWindow(context, parent)
{
    setObjectName(QStringLiteral("Form5"));
    resize(pixelsAcross(this, kWidthTwips), pixelsDown(this, kHeightTwips));

    m_channels = new FmChannelsModel(fm(), this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("MSFGrid"));
    m_grid->setModel(m_channels);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(pixelsDown(this, 300));
    m_grid->horizontalHeader()->setFixedHeight(pixelsDown(this, 300));
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->setColumnWidth(0, pixelsAcross(this, 900));
    m_grid->setColumnWidth(1, pixelsAcross(this, 2200));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_grid->setFixedWidth(2 * m_grid->frameWidth() + pixelsAcross(this, 900) + pixelsAcross(this, 2200)
                          + m_grid->verticalScrollBar()->sizeHint().width());

    // The in-place editor lives on the grid's viewport: a scroll (wheel or
    // bar) moves it with its cell, so it never sits over another row.
    m_cellEditor = new RuledLineEdit(InputRule::FmFrequency, 0, m_grid->viewport());
    m_cellEditor->setObjectName(QStringLiteral("Text1"));
    m_cellEditor->setAlignment(Qt::AlignCenter);
    m_cellEditor->hide();
    m_cellEditor->installEventFilter(this);

    m_message = makeLabel(this, QStringLiteral("Label2"));
    m_message->setWordWrap(true);
    m_message->setAutoFillBackground(true);
    m_message->setFrameShape(QFrame::Box);
    m_message->hide();
    m_message->installEventFilter(this);

    m_frequencyMode = new RuledLineEdit(InputRule::FmFrequency, 0, this);
    m_frequencyMode->setObjectName(QStringLiteral("Text2"));
    m_frequencyMode->installEventFilter(this);

    for (int i = 0; i < 3; ++i) {
        m_lists[i] = new QComboBox(this);
        m_lists[i]->setObjectName(QStringLiteral("Combo1_%1").arg(i));
    }
    for (int channel = 1; channel <= FmRadio::kChannels; ++channel)
        m_lists[0]->addItem(QString::number(channel));
    limitLongDropDown(m_lists[0]);
    // Until the first language switch the second entry names its unit.
    m_lists[1]->addItems({QString(), QString()});
    m_lists[2]->addItems({QStringLiteral("50K"), QStringLiteral("100K"), QStringLiteral("200K")});

    auto *ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("Command1"));
    auto *cancel = new QPushButton(this);
    cancel->setObjectName(QStringLiteral("Command2"));

    // The settings beside the grid, OK and Cancel at the bottom; a range
    // message appears over them where the edit asks for it.
    auto *settings = new QGridLayout;
    QWidget *const fields[] = {m_lists[0], m_lists[1], m_lists[2], m_frequencyMode};
    for (int i = 0; i < 4; ++i) {
        QLabel *label = makeLabel(this, QStringLiteral("Label1_%1").arg(i));
        label->setBuddy(fields[i]);
        settings->addWidget(label, i, 0);
        settings->addWidget(fields[i], i, 1);
    }
    settings->setRowStretch(4, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    settings->addLayout(buttons, 5, 0, 1, 2);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(settings, 1);

    connect(m_grid, &QTableView::clicked, this, [this](const QModelIndex &index) { beginCellEdit(index.row()); });
    connect(m_cellEditor, &QLineEdit::returnPressed, m_grid, qOverload<>(&QWidget::setFocus));
    connect(m_frequencyMode, &QLineEdit::returnPressed, m_grid, qOverload<>(&QWidget::setFocus));
    connect(m_lists[0], &QComboBox::activated, this,
            [this](int i) { this->context().document().selectFmPresentChannel(m_lists[0]->itemText(i)); });
    connect(m_lists[1], &QComboBox::activated, this, [this](int i) { this->context().document().selectFmDisplayMode(i); });
    connect(m_lists[2], &QComboBox::activated, this, [this](int i) { this->context().document().selectFmStep(i); });
    connect(ok, &QPushButton::clicked, this, &FmRadioWindow::confirm);
    connect(cancel, &QPushButton::clicked, this, &QWidget::hide);
    connect(&context, &AppContext::pendingEditsRequested, this, &FmRadioWindow::commitPendingEdits);

    applyLanguage();
    m_lists[1]->setItemText(1, ui_text::kFmFrequencyWithUnit.text(context.language()));
    showModel();
}

void FmRadioWindow::documentChanged(const Change &change)
{
    if (change.areas & Area::Fm)
        showModel();
}

const FmRadio &FmRadioWindow::fm() const
{
    return context().workspace().fm;
}

void FmRadioWindow::applyLanguage()
{
    applyTextTable(this, fmWindowTexts(), context().language());
}

void FmRadioWindow::showModel()
{
    const FmControls &shown = fm().controls();
    m_channels->refresh();
    // A present channel without an entry (0, or an erased 255) shows no
    // selection; OK then keeps it as it is.
    m_lists[0]->setCurrentIndex(m_lists[0]->findText(shown.presentChannelText));
    m_lists[1]->setCurrentIndex(shown.displayModeIndex);
    m_lists[2]->setCurrentIndex(shown.stepIndex);
    m_frequencyMode->place(shown.frequencyModeText);
    // A decode replaces whatever an open cell edit held.
    m_cellEditing = false;
    m_cellEditor->hide();
}

void FmRadioWindow::beginCellEdit(int row)
{
    // Column 0 only numbers the channels: every click edits the frequency.
    m_editRow = row;
    m_cellEditing = true;
    const QModelIndex index = m_channels->index(row, kValueColumn);
    m_grid->setCurrentIndex(index);
    const QRect cell = m_grid->visualRect(index);
    m_cellEditor->setGeometry(cell);
    m_cellEditor->place(fm().cell(row + 1));
    m_cellEditor->show();
    m_cellEditor->raise();
    m_cellEditor->setFocus(Qt::MouseFocusReason);
    // A range message of this edit appears beside the cell.
    const int top = m_grid->viewport()->mapTo(this, cell.topLeft()).y();
    m_message->move(pixelsAcross(this, kMessageLeft), top);
}

void FmRadioWindow::endCellEdit()
{
    // Hiding the focused editor moves the focus away again: end only once.
    if (!m_cellEditing)
        return;
    m_cellEditing = false;
    // Leaving a cell that was only looked at changes nothing, so a decoded
    // 108.00 is not refused just because the editor passed over it.
    if (m_cellEditor->isEdited()
        && context().document().commitFmCell(m_editRow + 1, m_cellEditor->text()) == FmEdit::OutOfRange) {
        m_cellEditor->clear();
        showRangeMessage(Message::FmChannelRange, m_message->pos());
    }
    m_cellEditor->hide();
}

void FmRadioWindow::leaveFrequencyMode()
{
    if (!m_frequencyMode->isEdited())
        return;
    const FmEdit result = context().document().commitFmFrequencyMode(m_frequencyMode->text());
    // An emptied or refused text may be what the store had: no change is
    // announced then, yet the box shows it.
    m_frequencyMode->place(fm().controls().frequencyModeText);
    if (result == FmEdit::OutOfRange)
        showRangeMessage(Message::FmFrequencyRange,
                         QPoint(pixelsAcross(this, kFrequencyModeMessage.x()), pixelsDown(this, kFrequencyModeMessage.y())));
}

void FmRadioWindow::showRangeMessage(Message message, QPoint at)
{
    m_message->setText(messageText(message, context().language()).text);
    m_message->move(at);
    m_message->setFixedWidth(qMax(pixelsAcross(this, 1500), width() - at.x() - pixelsAcross(this, 120)));
    m_message->adjustSize();
    m_message->show();
    m_message->raise();
}

void FmRadioWindow::commitPendingEdits()
{
    endCellEdit();
    leaveFrequencyMode();
}

void FmRadioWindow::confirm()
{
    // A box still holding the focus is left first, as a click would.
    commitPendingEdits();
    context().document().confirmFm();
    hide();
}

bool FmRadioWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && leavesField(event)) {
        if (watched == m_cellEditor)
            endCellEdit();
        else if (watched == m_frequencyMode)
            leaveFrequencyMode();
    } else if (watched == m_message && event->type() == QEvent::MouseButtonPress) {
        m_message->hide();
        m_cellEditor->clear();
        return true;
    }
    return EditorWindow::eventFilter(watched, event);
}

FmRadioWindow::~FmRadioWindow()
{
    prepareDestruction();
}

} // namespace quillon
