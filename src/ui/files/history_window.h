#pragma once

#include "document/radio_history.h"
#include "i18n/language.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace quillon {

class FileCommands;

// FrmHistory: the images read from the radio and written into it, newest
// first, with date, direction, band, channels in use and the names of the
// first channels. The chosen one opens exactly as File > Open opens a file.
class HistoryWindow : public QDialog {
    Q_OBJECT
public:
    HistoryWindow(FileCommands &files, QWidget *parent = nullptr);

    // Lists the history folder afresh in the language and shows the window.
    void showHistory(Language language);
    // The images listed, in the order of the rows.
    const QList<HistoryEntry> &entries() const { return m_entries; }
    // Opens the image of row (0-based); closes the window when it opened.
    void openRow(int row);

private:
    FileCommands &m_files;
    QLabel *m_folder;
    QTableWidget *m_table;
    QPushButton *m_open;
    QPushButton *m_close;
    QList<HistoryEntry> m_entries;
};

} // namespace quillon
