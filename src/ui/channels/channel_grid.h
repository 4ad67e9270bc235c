#pragma once

#include "document/channel_edits.h"

#include <QPersistentModelIndex>
#include <QTableView>

#include <optional>

class QMenu;

namespace quillon {

// The view of Grid1 with the channel grid's selections: single cells and
// blocks of cells (Shift with the arrow and page keys, from the current
// cell) and whole channels, picked on their numbers. The channel numbers
// (column 0) are never the current cell, and no key moves onto them. The
// selection is drawn over the row colours, so even rows stay light blue
// under it. The view itself opens no editor and searches nothing as the
// user types: the window decides what a click or a key does.
class ChannelGrid final : public QTableView {
    Q_OBJECT
public:
    explicit ChannelGrid(QWidget *parent = nullptr);

    // A click on a cell of column 1..11: that cell alone, and the current one.
    void selectCell(const QModelIndex &index);
    // A click on a channel number: that channel alone; with Shift the
    // channels from the last picked one to this; with Ctrl this channel
    // added or taken out. The current cell moves to its receive frequency.
    void pickChannel(int tableRow, Qt::KeyboardModifiers modifiers);
    // The selection and the current cell moved by delta rows (after a move
    // of the channels they show).
    void shiftSelection(int delta);

    // Channels (1..128, ascending) with a selected cell; the current cell's
    // channel when nothing is selected.
    QList<int> selectedChannels() const;
    // Every selected channel is selected whole.
    bool wholeChannelsSelected() const;
    // The selection as blocks of columns 1..11; the current cell when
    // nothing is selected.
    QList<CellBlock> selectedBlocks() const;
    // The smallest block holding the selection.
    CellBlock boundingBlock() const;

    // Opened by the right button and the menu key.
    void setContextMenu(QMenu *menu) { m_contextMenu = menu; }

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyboardSearch(const QString &) override {}
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // The cursor move of a navigation key, which Shift turns into a block.
    static std::optional<CursorAction> navigation(int key);
    void selectChannels(int firstRow, int lastRow, QItemSelectionModel::SelectionFlags flags);
    void setCurrentOnly(const QModelIndex &index);

    // Where a Shift selection starts; whole channels when picked on a number.
    QPersistentModelIndex m_anchor;
    bool m_channelAnchor = false;
    bool m_shaping = false;   // the selection is being set: the anchor is set with it
    QMenu *m_contextMenu = nullptr;
};

} // namespace quillon
