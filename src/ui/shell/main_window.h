#pragma once

#include "common/clock.h"
#include "features/hidden_modes.h"
#include "i18n/language.h"

#include <QMainWindow>

#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace quillon {

struct Change;
class AboutBox;
class AppContext;
class BandComboBox;
class ChannelWindow;
class CsvCommands;
class EditorWindow;
class FileCommands;
class HelpWindow;
class RecentFilesMenu;
class SettingsStore;
class TransferCommands;
class TransferController;

// MDIForm1: the frame of the program. It holds the five editor windows, the
// menu bar, the toolbar, the band and port lists and the status bar, and
// turns every command into an operation of the model or of a window.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:

    // Runs the load step: band entry 0, the editor windows (Form1 shown),
    // port 1 opened (a failure is reported at once). settings receives the
    // language at exit; null stores nothing.
    MainWindow(AppContext &context, SettingsStore *settings, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Sets the texts of the current language on every window, in order:
    // this window, Form1..Form5, the About box once it is made.
    void applyLanguage();
    // The language menu: applies the texts, then re-texts the channel rows.
    void switchLanguage(Language language);
    // Shows editor window Form<number> (1..5) and brings it to the front.
    void showEditor(int number);

    EditorWindow *editor(int number) const;
    QMdiSubWindow *editorFrame(int number) const;
    FileCommands &fileCommands() const { return *m_files; }
    RecentFilesMenu &recentFiles() const { return *m_recentFiles; }
    CsvCommands &csvCommands() const { return *m_csv; }
    TransferController &transfer() const { return *m_transfer; }
    TransferCommands &transferCommands() const { return *m_transferCommands; }
    // The About box, made on first use.
    AboutBox *aboutBox();
    HelpWindow *helpWindow() const { return m_help; }
    void setClock(Clock clock) { m_clock = std::move(clock); }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addCommand(const char *name, const QKeySequence &key, void (MainWindow::*slot)());
    void createMenus();
    void createToolbar();
    void createBandStrip();
    void createStatusBar();
    void createEditors();
    // The first size of the window, for the screen it opens on.
    QSize startSize();
    // Puts editor window i (0..4) into its frame, sized to the window.
    void fitIntoFrame(std::size_t i);
    // Moves frame i to where it opens the first time it is shown.
    void placeFrame(std::size_t i);
    void fillPortList();

    // Band list handlers.
    void bandSelected(int index);
    void bandDroppedDown();
    void bandPopupClosed();
    // Port list handlers.
    void choosePort();
    void openPortList();
    void portPopupClosed();
    // Hides the list left without a choice.
    void endPortChoice();
    void selectPort(int index);
    void showPortStatus(int number, const QString &reason);
    void describeStatusPort();

    void pressHiddenButton(HiddenMode mode);
    void hiddenModeActivated(HiddenMode mode);
    void documentChanged(const Change &change);
    // Shows the band in the band list without running its handler.
    void showBand(int index);

    // Commands.
    void newImage();
    void openImage();
    void saveImage();
    void importChannels();
    void exportChannels();
    void printReport();
    void quit();
    void showChannels() { showEditor(1); }
    void showDtmf() { showEditor(2); }
    void showOptions() { showEditor(3); }
    void showCalibration() { showEditor(4); }
    void showFmRadio() { showEditor(5); }
    void readRadio();
    void writeRadio();
    void chooseChinese() { switchLanguage(Language::Chinese); }
    void chooseEnglish() { switchLanguage(Language::English); }
    void showHelp();
    void showAbout();
    void pressForcedWriteButton() { pressHiddenButton(HiddenMode::ForcedWrite); }
    void pressCalibrationButton() { pressHiddenButton(HiddenMode::Calibration); }
    void pressFmButton() { pressHiddenButton(HiddenMode::Fm); }

    AppContext &m_context;
    SettingsStore *m_settings;
    Clock m_clock;

    QMdiArea *m_mdi = nullptr;
    std::array<EditorWindow *, 5> m_editors{};
    std::array<QMdiSubWindow *, 5> m_frames{};
    std::array<bool, 5> m_placed{};   // the frame has been shown at a place of its own
    QToolBar *m_toolbar = nullptr;
    std::array<QAction *, 3> m_hiddenButtons{};
    QAction *m_fmMenuItem = nullptr;
    BandComboBox *m_bandList = nullptr;
    QComboBox *m_portList = nullptr;
    QAction *m_portListAction = nullptr;
    QLabel *m_portPanel = nullptr;
    QLabel *m_devicePanel = nullptr;
    // From Programming > Communication Port until a port is chosen or the
    // list is left.
    bool m_choosingPort = false;
    // What the status bar shows: the port last chosen and why it did not open.
    int m_statusPort = 0;
    QString m_statusReason;

    TransferController *m_transfer = nullptr;
    FileCommands *m_files = nullptr;
    TransferCommands *m_transferCommands = nullptr;
    RecentFilesMenu *m_recentFiles = nullptr;
    CsvCommands *m_csv = nullptr;
    std::array<QAction *, 2> m_csvMenuItems{};   // Import channels..., Export channels...
    AboutBox *m_about = nullptr;
    HelpWindow *m_help = nullptr;

    // True while the user makes a choice in the band list's drop-down.
    bool m_bandChangeByUser = true;
    int m_previousBandIndex = 0;
};

} // namespace quillon
