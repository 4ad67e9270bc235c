#pragma once

#include "event_hooks.h"
#include "channels/channel_grid.h"
#include "common/editor_window.h"

#include <QKeySequence>
#include <QModelIndex>
#include <QPointer>

#include <array>
#include <memory>

class QAction;
class QComboBox;
class QKeyEvent;
class QMenu;
class QScrollBar;
class QWheelEvent;

namespace quillon {

class ChannelTableModel;
class RuledLineEdit;

// One window scroll bar after a resize: hidden when the panel fits.
struct ScrollBarState {
    bool visible = false;
    int maximum = 0;    // the overflow in pixels
    int pageStep = 0;
};
// overflow = panel extent - client extent, both in pixels. The page step is
// the overflow split into as few client-sized pages as cover it.
ScrollBarState windowScrollBar(int overflow, int client);

// The channel window Form1: the 128 channels of the workspace's ChannelSheet
// in the grid Grid1, edited in place.
//
// Grid1 is a QTableView over a ChannelTableModel of 128 rows and 12 columns.
// Channel r (1..128) is table row r - 1; column c is table column c, with the
// channel number in column 0 and the fields in columns 1..11. The header row
// is the horizontal header (the model holds the column titles); there is no
// vertical header.
//
// Every control sits on the client panel picClient, which the window's own
// scroll bars cScroll_0 (horizontal) and cScroll_1 (vertical) move when the
// window is smaller than the grid. The in-place editors are Text1
// (frequencies), Text2 (name), Combo1 (tones) and Combo5_5..Combo5_10
// (options); they live on the grid's viewport, so a scroll of the rows
// carries an open editor along with its cell.
//
// The editing tools (undo, redo, cut, copy, paste and the row operations)
// are actions of this window, shown in the main window's Edit menu and in
// the grid's context menu GridMenu. Cut, copy, paste and the row tools act
// on the grid's selection; their keys work while the grid has the focus, so
// a text field keeps its own Ctrl+Z, Ctrl+X, Ctrl+C and Ctrl+V.
class ChannelWindow final : public EditorWindow {
    Q_OBJECT
public:
    explicit ChannelWindow(AppContext &context, QWidget *parent = nullptr);
    ~ChannelWindow() override;

    void applyLanguage() override;
    // Shows the sheet's cell texts; an editor still open belongs to the old
    // contents and is closed without committing.
    void showModel() override;


    ChannelGrid *grid() const { return m_grid; }
    // The channel shown in the grid's first scrolling row.
    int topRow() const;
    // The editing tools in menu order: Undo, Redo, Cut, Copy, Paste, Delete
    // channels, Insert empty channel, Remove channel, Move up, Move down,
    // Sort by receive frequency, Fill down.
    const QList<QAction *> &editActions() const { return m_editActions; }

protected:
    void documentChanged(const Change &change) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void buildGrid();
    void buildEditors();
    void buildEditActions();
    QAction *addTool(const char *name, const QList<QKeySequence> &keys, void (ChannelWindow::*handler)());
    void updateHistoryActions();

    // The editing tools.
    void undoEdit();
    void redoEdit();
    void cutSelection();
    void copySelection();
    void pasteClipboard();
    void clearSelectedChannels();
    void insertEmptyChannel();
    void removeSelectedChannels();
    void moveSelectionUp() { moveSelection(-1); }
    void moveSelectionDown() { moveSelection(1); }
    void moveSelection(int delta);
    void sortSelection();
    void fillSelectionDown();
    QString selectionText() const;
    void pasteAt(int channel, int column, const QString &text, const QList<CellBlock> &selection);
    void showNotTaken(const PasteResult &result);
    bool typeIntoCell(const QKeyEvent *key);
    bool filterTextEditor(RuledLineEdit *editor, QEvent *event);

    void pressCell(const QModelIndex &index, Qt::KeyboardModifiers modifiers);

    void gridClick(int tableRow, int column);
    void placeEditor(QWidget *editor, int tableRow, int column, bool cellHeight);
    QComboBox *listFor(int column) const;
    QComboBox *listOfPopup(QObject *popup) const;
    void listChosen(QComboBox *list, int index);
    void closeList(QComboBox *list);
    void dropDownClosed(QComboBox *list);
    void commitFrequencyEditor();
    void commitNameEditor();
    void commitPendingEdits();
    void discardEditors();
    void hideEditor(QWidget *editor);
    bool filterGridMouse(QEvent *event);
    bool filterList(QComboBox *list, QEvent *event);

    void gridWheel(QWheelEvent *event);
    void panelWheel(QWheelEvent *event);
    void layoutScrollBars();
    void placePanel();


    QWidget *m_client = nullptr;
    ChannelTableModel *m_model = nullptr;
    ChannelGrid *m_grid = nullptr;
    QMenu *m_gridMenu = nullptr;
    QList<QAction *> m_editActions;
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    RuledLineEdit *m_frequencyEditor = nullptr;
    RuledLineEdit *m_nameEditor = nullptr;
    QComboBox *m_toneList = nullptr;
    std::array<QComboBox *, 6> m_optionLists{};
    QScrollBar *m_hBar = nullptr;
    QScrollBar *m_vBar = nullptr;

    // The editor between its opening and its commit or close, or none. It
    // stays open while the window is hidden, so a pending edit is still
    // committed before Read, Write and Save.
    QWidget *m_openEditor = nullptr;
    unsigned m_openings = 0;   // editors opened so far
    int m_curRow = 0;       // channel of the open editor
    int m_curCol = 0;
    bool m_clickArmed = false;
    bool m_mousePressed = false;              // left button down on the grid
    QPointer<QComboBox> m_pendingDropDown;    // list to drop down on release
    bool m_committing = false;

    // Declared before its clients, so it outlives them.
    EventHooks m_hooks;
    std::unique_ptr<WheelHook> m_gridWheelHook;
    std::unique_ptr<WheelHook> m_panelWheelHook;
};

} // namespace quillon
