#include "channels/channel_grid.h"

#include "image/channel_sheet.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <optional>

namespace quillon {

namespace {

// Paints a cell as unselected, its row colour included, then lays the
// selection colour over it half-transparent.
class SelectionOverRowColour final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem plain(option);
        plain.state &= ~QStyle::State_Selected;
        QStyledItemDelegate::paint(painter, plain, index);
        if (option.state & QStyle::State_Selected) {
            QColor shade = option.palette.color(QPalette::Active, QPalette::Highlight);
            shade.setAlpha(90);
            painter->fillRect(option.rect, shade);
        }
    }
};

} // namespace

std::optional<QAbstractItemView::CursorAction> ChannelGrid::navigation(int key)
{
    switch (key) {
    case Qt::Key_Up: return MoveUp;
    case Qt::Key_Down: return MoveDown;
    case Qt::Key_Left: return MoveLeft;
    case Qt::Key_Right: return MoveRight;
    case Qt::Key_PageUp: return MovePageUp;
    case Qt::Key_PageDown: return MovePageDown;
    case Qt::Key_Home: return MoveHome;
    case Qt::Key_End: return MoveEnd;
    default: return std::nullopt;
    }
}

ChannelGrid::ChannelGrid(QWidget *parent)
    : QTableView(parent)
{
    setItemDelegate(new SelectionOverRowColour(this));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
}

void ChannelGrid::setCurrentOnly(const QModelIndex &index)
{
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

void ChannelGrid::selectChannels(int firstRow, int lastRow, QItemSelectionModel::SelectionFlags flags)
{
    const QItemSelection rows(model()->index(std::min(firstRow, lastRow), 0),
                              model()->index(std::max(firstRow, lastRow), model()->columnCount() - 1));
    selectionModel()->select(rows, flags);
}

void ChannelGrid::selectCell(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    if (index.column() == kColumnNumber) {
        pickChannel(index.row(), Qt::NoModifier);
        return;
    }
    m_shaping = true;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_anchor = index;
    m_channelAnchor = false;
    m_shaping = false;
}

void ChannelGrid::pickChannel(int tableRow, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex receive = model()->index(tableRow, kColumnRx);
    if (!receive.isValid())
        return;
    m_shaping = true;
    if ((modifiers & Qt::ShiftModifier) && m_anchor.isValid()) {
        selectChannels(m_anchor.row(), tableRow, QItemSelectionModel::ClearAndSelect);
    } else if ((modifiers & Qt::ControlModifier) && m_channelAnchor) {
        const bool picked = selectionModel()->isRowSelected(tableRow, {});
        selectChannels(tableRow, tableRow, picked ? QItemSelectionModel::Deselect : QItemSelectionModel::Select);
        m_anchor = receive;
    } else {
        selectChannels(tableRow, tableRow, QItemSelectionModel::ClearAndSelect);
        m_anchor = receive;
    }
    setCurrentOnly(receive);
    m_channelAnchor = true;
    m_shaping = false;
}

void ChannelGrid::shiftSelection(int delta)
{
    const int rows = model()->rowCount();
    QItemSelection moved;
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        const int top = range.top() + delta;
        const int bottom = range.bottom() + delta;
        if (top < 0 || bottom >= rows)
            return;
        moved.select(model()->index(top, range.left()), model()->index(bottom, range.right()));
    }
    m_shaping = true;
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.row() + delta >= 0 && current.row() + delta < rows)
        setCurrentOnly(current.sibling(current.row() + delta, current.column()));
    selectionModel()->select(moved, QItemSelectionModel::ClearAndSelect);
    if (m_anchor.isValid() && m_anchor.row() + delta >= 0 && m_anchor.row() + delta < rows)
        m_anchor = m_anchor.sibling(m_anchor.row() + delta, m_anchor.column());
    m_shaping = false;
}

QList<int> ChannelGrid::selectedChannels() const
{
    QList<int> channels;
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            channels.append(row + 1);
    }
    if (channels.isEmpty() && currentIndex().isValid())
        channels.append(currentIndex().row() + 1);
    std::sort(channels.begin(), channels.end());
    channels.erase(std::unique(channels.begin(), channels.end()), channels.end());
    return channels;
}

bool ChannelGrid::wholeChannelsSelected() const
{
    if (!selectionModel()->hasSelection())
        return false;
    const QList<int> channels = selectedChannels();
    return std::all_of(channels.begin(), channels.end(),
                       [this](int channel) { return selectionModel()->isRowSelected(channel - 1, {}); });
}

QList<CellBlock> ChannelGrid::selectedBlocks() const
{
    QList<CellBlock> blocks;
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        if (range.right() >= kColumnRx)
            blocks.append({range.top() + 1, range.bottom() + 1, std::max(range.left(), int(kColumnRx)), range.right()});
    }
    const QModelIndex current = currentIndex();
    if (blocks.isEmpty() && current.isValid())
        blocks.append({current.row() + 1, current.row() + 1, current.column(), current.column()});
    return blocks;
}

CellBlock ChannelGrid::boundingBlock() const
{
    const QList<CellBlock> blocks = selectedBlocks();
    if (blocks.isEmpty())
        return {1, 1, kColumnRx, kColumnRx};
    CellBlock whole = blocks.first();
    for (const CellBlock &block : blocks) {
        whole.firstChannel = std::min(whole.firstChannel, block.firstChannel);
        whole.lastChannel = std::max(whole.lastChannel, block.lastChannel);
        whole.firstColumn = std::min(whole.firstColumn, block.firstColumn);
        whole.lastColumn = std::max(whole.lastColumn, block.lastColumn);
    }
    return whole;
}

QModelIndex ChannelGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    const QModelIndex next = QTableView::moveCursor(action, modifiers);
    if (!next.isValid() || next.column() != kColumnNumber)
        return next;
    // Backwards past the first field goes to the last field of the row above.
    if (action == MovePrevious && current.isValid() && current.row() > 0)
        return model()->index(current.row() - 1, model()->columnCount() - 1);
    return next.siblingAtColumn(kColumnRx);
}

void ChannelGrid::keyPressEvent(QKeyEvent *event)
{
    const std::optional<CursorAction> action = navigation(event->key());
    if (!action || !(event->modifiers() & Qt::ShiftModifier)) {
        QTableView::keyPressEvent(event);
        return;
    }
    // Shift extends a block of cells (or of whole channels, when the last
    // pick was a channel number) from the anchor to the new current cell.
    event->accept();
    const QModelIndex next = moveCursor(*action, event->modifiers() & ~Qt::ShiftModifier);
    if (!next.isValid())
        return;
    if (!m_anchor.isValid())
        m_anchor = currentIndex().isValid() ? QModelIndex(currentIndex()) : next;
    m_shaping = true;
    if (m_channelAnchor) {
        selectChannels(m_anchor.row(), next.row(), QItemSelectionModel::ClearAndSelect);
    } else {
        const QItemSelection block(model()->index(std::min(m_anchor.row(), next.row()),
                                                  std::min(m_anchor.column(), next.column())),
                                   model()->index(std::max(m_anchor.row(), next.row()),
                                                  std::max(m_anchor.column(), next.column())));
        selectionModel()->select(block, QItemSelectionModel::ClearAndSelect);
    }
    setCurrentOnly(next);
    m_shaping = false;
}

void ChannelGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid() && current.column() == kColumnNumber) {
        setCurrentOnly(current.siblingAtColumn(kColumnRx));
        return;
    }
    if (!m_shaping) {
        m_anchor = current;
        m_channelAnchor = false;
    }
}

void ChannelGrid::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_contextMenu) {
        QTableView::contextMenuEvent(event);
        return;
    }
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard)
        at = viewport()->mapToGlobal(visualRect(currentIndex()).center());
    m_contextMenu->popup(at);
    event->accept();
}

} // namespace quillon
