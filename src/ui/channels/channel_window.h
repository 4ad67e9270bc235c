#pragma once

#include "event_hooks.h"
#include "common/editor_window.h"

#include <QPointer>

#include <array>
#include <memory>

class QComboBox;
class QKeyEvent;
class QLineEdit;
class QScrollBar;
class QTableWidget;
class QWheelEvent;

namespace quillon {

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
// Grid1 is a QTableWidget of 128 rows and 12 columns. Channel r (1..128) is
// table row r - 1; column c is table column c, with the channel number in
// column 0 and the fields in columns 1..11. The header row is the horizontal
// header (its items carry the column titles); there is no vertical header.
//
// Every control sits on the client panel picClient, which the window's own
// scroll bars cScroll_0 (horizontal) and cScroll_1 (vertical) move when the
// window is smaller than the grid. The in-place editors are Text1
// (frequencies), Text2 (name), Combo1 (tones) and Combo5_5..Combo5_10 (options).
class ChannelWindow final : public EditorWindow {
    Q_OBJECT
public:
    explicit ChannelWindow(AppContext &context, QWidget *parent = nullptr);
    ~ChannelWindow() override;

    void applyLanguage() override;
    // Shows the sheet's cell texts; an editor still open belongs to the old
    // contents and is closed without committing.
    void showModel() override;


    QTableWidget *grid() const { return m_grid; }
    // The channel shown in the grid's first scrolling row.
    int topRow() const;

protected:
    void documentChanged(const Change &change) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void buildGrid();
    void buildEditors();
    void showRow(int channel);
    void showAllRows();

    void gridClick(int tableRow, int column);
    void placeEditor(QWidget *editor, int tableRow, int column, bool cellHeight);
    QComboBox *listFor(int column) const;
    void listChosen(QComboBox *list, int index);
    void closeList(QComboBox *list);
    void commitFrequencyEditor();
    void commitNameEditor();
    void commitPendingEdits();
    void discardEditors();
    bool filterEditorKey(QLineEdit *editor, QKeyEvent *key);
    bool filterGridMouse(QEvent *event);

    void gridWheel(QWheelEvent *event);
    void panelWheel(QWheelEvent *event);
    void layoutScrollBars();
    void placePanel();


    QWidget *m_client = nullptr;
    QTableWidget *m_grid = nullptr;
    QLineEdit *m_frequencyEditor = nullptr;
    QLineEdit *m_nameEditor = nullptr;
    QComboBox *m_toneList = nullptr;
    std::array<QComboBox *, 6> m_optionLists{};
    QScrollBar *m_hBar = nullptr;
    QScrollBar *m_vBar = nullptr;

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
