#pragma once

#include "i18n/language.h"
#include "link/transfer_protocol.h"

#include <QObject>
#include <QString>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QStatusBar;
class QWidget;

namespace quillon {

class AppContext;
class FileCommands;
class HistoryWindow;
class TransferController;

// The commands that guard the radio's programming, beside the main
// window's own: File > Radio history..., Programming > Verify radio, Verify
// after writing and Save serial trace..., the status bar's offer of the
// trace after a communication error, and what the port list says of each port.
class TransferCommands : public QObject {
    Q_OBJECT
public:
    TransferCommands(AppContext &context, TransferController &transfer, FileCommands &files, QWidget *window);

    // Adds the items after the menus' own and the trace offer to the status bar.
    void install(QMenu *fileMenu, QMenu *programMenu, QStatusBar *statusBar);
    void applyLanguage(Language language);

    // Each entry's tool tip: the device, the adapter, whether it can be used.
    void describePorts(QComboBox *portList) const;
    // The status bar's tool tip for port number, in the current language,
    // looked up afresh; reason: the system's words for why it did not open.
    QString portToolTip(int number, const QString &reason) const;

    // The radio history window, made on first use.
    HistoryWindow *historyWindow();

private:
    void transferFinished(TransferEnd end);

    AppContext &m_context;
    TransferController &m_transfer;
    FileCommands &m_files;
    QWidget *m_window;
    HistoryWindow *m_history = nullptr;
    QAction *m_historyItem = nullptr;
    QAction *m_verifyItem = nullptr;
    QAction *m_verifyAfterWritingItem = nullptr;
    QAction *m_saveTraceItem = nullptr;
    QLabel *m_traceOffer = nullptr;
};

} // namespace quillon
