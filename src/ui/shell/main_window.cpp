#include "shell/main_window.h"

#include "channels/channel_window.h"
#include "features/calibration_window.h"
#include "features/dtmf_window.h"
#include "features/features_window.h"
#include "features/fm_window.h"
#include "files/csv_commands.h"
#include "files/file_commands.h"
#include "files/file_drop.h"
#include "files/recent_files.h"
#include "i18n/csv_texts.h"
#include "i18n/apply_language.h"
#include "i18n/qt_language.h"
#include "image/band.h"
#include "link/transfer_controller.h"
#include "help_viewer.h"
#include "serial_port.h"
#include "settings_store.h"
#include "print/print_report.h"
#include "shell/about_box.h"
#include "common/app_context.h"
#include "common/drop_down.h"
#include "shell/band_combo.h"
#include "shell/help_window.h"
#include "shell/startup.h"
#include "shell/toolbar_icons.h"
#include "shell/transfer_commands.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QLayout>
#include <QComboBox>
#include <QLabel>
#include <QScreen>
#include <QSignalBlocker>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <optional>

namespace quillon {

namespace {

std::size_t slot(HiddenMode mode)
{
    return static_cast<std::size_t>(mode);
}

// An open frame, with the height of its title bar.
struct OpenFrame {
    QRect rect;
    int titleHeight;
};

// Where a frame of that size opens in area, the visible part of the client
// area, beside the frames already open there: the first place, top to
// bottom and left to right, where it fits whole without covering one of
// them; where there is none, the place inside the area that covers the
// least of them, their title bars above all, so that every title bar stays
// in reach. A frame larger than the area starts at its top-left corner.
QPoint freePlace(const QSize &size, const QRect &area, const QList<OpenFrame> &open)
{
    // Flush with the area's edges or with an open frame's, or just under
    // an open frame's title bar.
    QList<int> xs{area.left(), area.right() + 1 - size.width()};
    QList<int> ys{area.top(), area.bottom() + 1 - size.height()};
    for (const OpenFrame &frame : open) {
        const QRect &r = frame.rect;
        xs << r.left() << r.right() + 1 << r.left() - size.width() << r.left() + frame.titleHeight;
        ys << r.top() << r.bottom() + 1 << r.top() - size.height() << r.top() + frame.titleHeight;
    }
    constexpr qint64 kTitleWeight = 16;   // a covered title bar counts as much more
    struct Place {
        QPoint at;
        qint64 covered;
    };
    std::optional<Place> best;
    for (int y : ys) {
        for (int x : xs) {
            const QPoint at(qMax(area.left(), qMin(x, area.right() + 1 - size.width())),
                            qMax(area.top(), qMin(y, area.bottom() + 1 - size.height())));
            const QRect place(at, size);
            qint64 covered = 0;
            for (const OpenFrame &frame : open) {
                const QRect both = frame.rect.intersected(place);
                const QRect title = QRect(frame.rect.topLeft(), QSize(frame.rect.width(), frame.titleHeight)).intersected(place);
                covered += qint64(both.width()) * both.height() + kTitleWeight * title.width() * title.height();
            }
            const bool better = !best || covered < best->covered
                || (covered == best->covered
                    && (at.y() < best->at.y() || (at.y() == best->at.y() && at.x() < best->at.x())));
            if (better)
                best = Place{at, covered};
        }
    }
    return best ? best->at : area.topLeft();
}

} // namespace

MainWindow::MainWindow(AppContext &context, SettingsStore *settings, QWidget *parent)
    : QMainWindow(parent), m_context(context), m_settings(settings), m_clock(secondsOfDay)
{
    setObjectName(QStringLiteral("MDIForm1"));
    // The toolbars are part of the window, not something to switch off.
    setContextMenuPolicy(Qt::NoContextMenu);

    // The menus, the toolbars and the status bar come before the editor
    // windows, so that a search by name from this window finds the band
    // strip's Label1 and Combo1 before any editor's control of that name.
    createMenus();
    createToolbar();
    createBandStrip();
    createStatusBar();

    m_transfer = new TransferController(m_context, this, this);
    m_files = new FileCommands(m_context, this, this);
    connect(m_files, &FileCommands::channelWindowRequested, this, &MainWindow::showChannels);
    m_transferCommands = new TransferCommands(m_context, *m_transfer, *m_files, this);
    m_transferCommands->install(findChild<QMenu *>(QStringLiteral("MNFile")),
                                findChild<QMenu *>(QStringLiteral("MNProgram")), statusBar());
    m_csv = new CsvCommands(m_context, this, this);

    connect(&m_context.document(), &Document::changed, this, &MainWindow::documentChanged);
    connect(&m_context, &AppContext::hiddenModeActivated, this, &MainWindow::hiddenModeActivated);

    // Load step: band entry 0 (the index equals PreviousBandIndex, so no
    // question), the editor windows, then the port list with port 1.
    m_previousBandIndex = 0;
    m_bandList->setCurrentIndex(0);
    createEditors();
    // The channel grid's editing tools follow the window commands.
    QMenu *edit = menuBar()->findChild<QMenu *>(QStringLiteral("MNEdit"));
    edit->addSeparator();
    edit->addActions(static_cast<ChannelWindow *>(m_editors[0])->editActions());
    m_help = new HelpWindow(this);
    fillPortList();

    // Files from outside: dropped on the window, or chosen again from the
    // recent files, which come after every other item of the File menu.
    new FileDrop(*m_files, this);
    m_recentFiles = new RecentFilesMenu(m_context, *m_files, findChild<QMenu *>(QStringLiteral("MNFile")), m_settings, this);

    resize(startSize());
}

QSize MainWindow::startSize()
{
    // What the menus, the tool bars and the status bar take around the
    // client area, measured in a trial layout.
    const int em = fontMetrics().averageCharWidth();
    resize(em * 150, em * 95);
    layout()->activate();
    const QSize around = size() - m_mdi->contentsRect().size();
    // Room for the channel window with the DTMF window beside it and the
    // calibration window below it (the frames not yet shown still have
    // their whole size); never larger than the screen: a window reaching
    // past the screen would hide its status bar and the editors.
    const QSize channels = m_frames[0]->size();
    const QSize wanted = QSize(channels.width() + m_editors[1]->width(), channels.height() + m_editors[3]->height())
        + around;
    const QScreen *screen = this->screen();
    return screen ? wanted.boundedTo(screen->availableGeometry().size() * 0.95) : wanted;
}

MainWindow::~MainWindow() = default;

QAction *MainWindow::addCommand(const char *name, const QKeySequence &key, void (MainWindow::*handler)())
{
    auto *action = new QAction(this);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void MainWindow::createMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MenuBar"));
    auto addMenu = [bar](const char *name) {
        QMenu *menu = bar->addMenu(QString());
        menu->setObjectName(QLatin1String(name));
        return menu;
    };
    using Key = QKeySequence;

    QMenu *file = addMenu("MNFile");
    file->addAction(addCommand("MNNew", Key(Qt::CTRL | Qt::Key_N), &MainWindow::newImage));
    file->addAction(addCommand("MNOpen", Key(Qt::CTRL | Qt::Key_O), &MainWindow::openImage));
    file->addAction(addCommand("MNSave", Key(Qt::CTRL | Qt::Key_S), &MainWindow::saveImage));
    file->addAction(addCommand("MNPrint", Key(), &MainWindow::printReport));
    file->addSeparator()->setObjectName(QStringLiteral("MNLine1"));
    file->addAction(addCommand("MNQuit", Key(), &MainWindow::quit));
    // The channel exchange with CSV files comes after the File menu's own items.
    file->addSeparator();
    m_csvMenuItems = {addCommand("MNImportCsv", Key(), &MainWindow::importChannels),
                      addCommand("MNExportCsv", Key(), &MainWindow::exportChannels)};
    file->addActions({m_csvMenuItems[0], m_csvMenuItems[1]});

    QMenu *edit = addMenu("MNEdit");
    edit->addAction(addCommand("MNModel", Key(Qt::CTRL | Qt::Key_M), &MainWindow::showChannels));
    edit->addAction(addCommand("MNDTMF", Key(Qt::CTRL | Qt::Key_D), &MainWindow::showDtmf));
    edit->addAction(addCommand("MNOption", Key(Qt::CTRL | Qt::Key_P), &MainWindow::showOptions));
    edit->addAction(addCommand("MNDebug", Key(Qt::CTRL | Qt::Key_B), &MainWindow::showCalibration));
    m_fmMenuItem = addCommand("MNFMset", Key(Qt::CTRL | Qt::Key_F), &MainWindow::showFmRadio);
    m_fmMenuItem->setEnabled(false);   // until the FM mode is unlocked
    edit->addAction(m_fmMenuItem);

    QMenu *program = addMenu("MNProgram");
    program->addAction(addCommand("MNRead", Key(Qt::CTRL | Qt::Key_R), &MainWindow::readRadio));
    program->addAction(addCommand("MNWrite", Key(Qt::CTRL | Qt::Key_W), &MainWindow::writeRadio));
    program->addAction(addCommand("MNCommPort", Key(), &MainWindow::choosePort));

    QMenu *language = addMenu("MNLanguage");
    language->addAction(addCommand("MNChinese", Key(), &MainWindow::chooseChinese));
    language->addAction(addCommand("MNEnglish", Key(), &MainWindow::chooseEnglish));

    QMenu *help = addMenu("MNHelp");
    help->addAction(addCommand("MNF1", Key(Qt::Key_F1), &MainWindow::showHelp));
    help->addAction(addCommand("MNAbout", Key(Qt::CTRL | Qt::Key_A), &MainWindow::showAbout));
}

void MainWindow::createToolbar()
{
    m_toolbar = addToolBar(QString());
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    const int side = qMax(24, fontMetrics().height() * 2);
    m_toolbar->setIconSize(QSize(side, side));

    auto addButton = [this](const char *key, Glyph glyph, void (MainWindow::*handler)()) {
        QAction *action = m_toolbar->addAction(glyphIcon(glyph), QString());
        action->setObjectName(QLatin1String(key));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    addButton("TNew", Glyph::New, &MainWindow::newImage);
    addButton("TOpen", Glyph::Open, &MainWindow::openImage);
    addButton("TSave", Glyph::Save, &MainWindow::saveImage);
    m_toolbar->addSeparator();
    addButton("TRead", Glyph::Read, &MainWindow::readRadio);
    addButton("TWrite", Glyph::Write, &MainWindow::writeRadio);
    m_hiddenButtons[slot(HiddenMode::ForcedWrite)] = addButton("TAnMa", Glyph::ForcedWrite, &MainWindow::pressForcedWriteButton);
    m_hiddenButtons[slot(HiddenMode::Calibration)] = addButton("TDebug", Glyph::Calibration, &MainWindow::pressCalibrationButton);
    m_hiddenButtons[slot(HiddenMode::Fm)] = addButton("TFMMa", Glyph::Fm, &MainWindow::pressFmButton);
    for (QAction *button : m_hiddenButtons)
        button->setVisible(false);
}

void MainWindow::createBandStrip()
{
    addToolBarBreak();
    QToolBar *strip = addToolBar(QString());
    strip->setObjectName(QStringLiteral("BandStrip"));
    strip->setMovable(false);
    strip->setFloatable(false);

    auto *label = new QLabel(strip);
    label->setObjectName(QStringLiteral("Label1"));
    label->setContentsMargins(6, 0, 6, 0);
    strip->addWidget(label);

    m_bandList = new BandComboBox(strip);
    m_bandList->setObjectName(QStringLiteral("Combo1"));
    for (int i = 0; i < kBandCount; ++i)
        m_bandList->addItem(bandText(i));
    m_bandList->setCurrentIndex(-1);
    m_bandList->installEventFilter(new WheelBlocker(m_bandList));
    connect(m_bandList, &QComboBox::currentIndexChanged, this, &MainWindow::bandSelected);
    connect(m_bandList, &BandComboBox::droppedDown, this, &MainWindow::bandDroppedDown);
    connect(m_bandList, &BandComboBox::popupClosed, this, &MainWindow::bandPopupClosed);
    strip->addWidget(m_bandList);

    auto *portList = new BandComboBox(strip);
    m_portList = portList;
    m_portList->setObjectName(QStringLiteral("ComboCom"));
    m_portList->installEventFilter(this);
    // It drops down under itself, its sixteen ports in one column.
    dropDownUnderBox(m_portList);
    connect(m_portList, &QComboBox::activated, this, &MainWindow::selectPort);
    // Looked at afresh each time it opens (a cable plugged in since counts),
    // and only then: the look costs a scan of the system's serial devices.
    connect(portList, &BandComboBox::droppedDown, this, [this] { m_transferCommands->describePorts(m_portList); });
    connect(portList, &BandComboBox::popupClosed, this, &MainWindow::portPopupClosed);
    // A widget in a toolbar is shown and hidden through its action.
    m_portListAction = strip->addWidget(m_portList);
    m_portListAction->setVisible(false);
}

void MainWindow::createStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    m_portPanel = new QLabel(bar);
    m_portPanel->setObjectName(QStringLiteral("Panel1"));
    m_portPanel->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("COM: 16")) * 2);
    m_devicePanel = new QLabel(bar);
    m_devicePanel->setObjectName(QStringLiteral("Panel2"));
    bar->addWidget(m_portPanel);
    bar->addWidget(m_devicePanel, 1);
    // Their tool tip is made when it is asked for (see eventFilter).
    m_portPanel->installEventFilter(this);
    m_devicePanel->installEventFilter(this);
    // Shown while the stores differ from the last Open, Save, Read or Write.
    auto *modified = new QLabel(bar);
    modified->setObjectName(QStringLiteral("PanelModified"));
    bar->addPermanentWidget(modified);
    modified->setVisible(m_context.document().isModified());
    connect(&m_context.document(), &Document::modifiedChanged, modified, &QLabel::setVisible);
}

void MainWindow::createEditors()
{
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MDIClient"));
    // A window reaching beyond the area can be scrolled to.
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);

    m_editors = {new ChannelWindow(m_context), new DtmfWindow(m_context), new OptionalFeaturesWindow(m_context),
                 new CalibrationWindow(m_context), new FmRadioWindow(m_context)};
    for (std::size_t i = 0; i < m_editors.size(); ++i) {
        // Our own frames: the area would make frames that delete themselves
        // on close, and the editor windows live as long as the program.
        auto *frame = new QMdiSubWindow;
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        // The frame's own menu would close the window with Ctrl+W, which is
        // the shortcut of Write.
        for (QAction *item : frame->systemMenu()->actions())
            item->setShortcuts({});
        m_mdi->addSubWindow(frame);
        m_frames[i] = frame;
        // A frame lays out the window it takes in, which the hidden windows
        // need only once they are shown: until then they just belong to it.
        if (i == 0) {
            fitIntoFrame(0);
            frame->move(0, 0);
            m_placed[0] = true;
        } else {
            m_editors[i]->setParent(frame);
        }
        frame->setVisible(i == 0);
    }
    m_context.setMessageOwner(m_editors[0]);
}

void MainWindow::fitIntoFrame(std::size_t i)
{
    QMdiSubWindow *frame = m_frames[i];
    EditorWindow *window = m_editors[i];
    if (frame->widget() == window)
        return;
    // Each window's own size is the size of the whole window, its frame
    // included; the window gets what the frame leaves, never less than its
    // controls need.
    const QSize outer = window->size();
    frame->setWidget(window);
    frame->resize(outer.expandedTo(frame->minimumSizeHint()));
}

void MainWindow::placeFrame(std::size_t i)
{
    QMdiSubWindow *frame = m_frames[i];
    QList<OpenFrame> open;
    for (QMdiSubWindow *other : m_frames) {
        if (other != frame && other->isVisible() && !other->isMinimized() && other->widget())
            open << OpenFrame{other->geometry(), other->widget()->y()};
    }
    frame->move(freePlace(frame->size(), m_mdi->viewport()->rect(), open));
}

void MainWindow::fillPortList()
{
    for (int n = 1; n <= kPortCount; ++n)
        m_portList->addItem(QString::number(n));
    m_portList->setCurrentIndex(0);
    selectPort(0);
}

EditorWindow *MainWindow::editor(int number) const
{
    return number >= 1 && number <= 5 ? m_editors[static_cast<std::size_t>(number - 1)] : nullptr;
}

QMdiSubWindow *MainWindow::editorFrame(int number) const
{
    return number >= 1 && number <= 5 ? m_frames[static_cast<std::size_t>(number - 1)] : nullptr;
}

void MainWindow::showEditor(int number)
{
    QMdiSubWindow *frame = editorFrame(number);
    if (!frame)
        return;
    const auto i = static_cast<std::size_t>(number - 1);
    fitIntoFrame(i);
    // The first time where it can be seen whole; later where the user left it.
    if (!m_placed[i]) {
        placeFrame(i);
        m_placed[i] = true;
    }
    editor(number)->show();
    frame->show();
    frame->raise();
    m_mdi->setActiveSubWindow(frame);
}

// ---- language

void MainWindow::applyLanguage()
{
    const Language language = m_context.language();
    if (language != Language::Chinese && language != Language::English)
        return;
    applyTextTable(this, mainWindowTexts(), language);
    m_csvMenuItems[0]->setText(csv_text::kImportMenu.text(language));
    m_csvMenuItems[1]->setText(csv_text::kExportMenu.text(language));
    for (EditorWindow *window : m_editors)
        window->applyLanguage();
    if (m_about)
        m_about->applyLanguage(language);
    m_transferCommands->applyLanguage(language);
    m_recentFiles->applyLanguage(language);
    if (m_help->isVisible())
        m_help->showGuide(language);
    // The progress window takes its texts afresh at the start of every
    // transfer, so there is nothing to empty here for Chinese.
}

void MainWindow::switchLanguage(Language language)
{
    // The rows follow in the new language (and rows without a receive
    // frequency become empty rows), then every caption and list.
    m_context.document().setLanguage(language);
    applyApplicationFont(language);
    applyQtLanguage(language);
    applyLanguage();
}

// ---- band list

void MainWindow::bandSelected(int index)
{
    if (index < 0)
        return;
    Document &document = m_context.document();
    if (m_bandChangeByUser && index != m_previousBandIndex) {
        if (m_context.showMessage(Message::BandChange) == kAnswerOk)
            document.confirmBandChange(index);
        else
            showBand(m_previousBandIndex);
    } else {
        // A change by the program or with the keyboard: the limits follow,
        // the channels stay.
        document.selectBand(index);
    }
    m_bandChangeByUser = false;
}

void MainWindow::bandDroppedDown()
{
    m_previousBandIndex = m_bandList->currentIndex();
    m_bandChangeByUser = true;
}

void MainWindow::bandPopupClosed()
{
    // A choice made in the drop-down arrives right after it closes; once that
    // has been handled, a later keyboard change counts as the program's again.
    QTimer::singleShot(0, this, [this] { m_bandChangeByUser = false; });
}

void MainWindow::showBand(int index)
{
    const QSignalBlocker guard(m_bandList);
    m_bandList->setCurrentIndex(index);
}

void MainWindow::documentChanged(const Change &change)
{
    // A decoded image, New or an undo brings its own band: shown without a question.
    if (change.areas & Area::Band)
        showBand(m_context.workspace().band.index);
}

// ---- port list

void MainWindow::choosePort()
{
    m_choosingPort = true;
    // The toolbar shows the list once it lays itself out again; until then
    // the list can take no focus and has no place to drop down from.
    m_portListAction->setVisible(true);
    if (m_portList->isVisible())
        openPortList();
}

void MainWindow::openPortList()
{
    if (!m_choosingPort || !m_portList->isVisible() || m_portList->view()->isVisible())
        return;
    m_portList->setFocus(Qt::OtherFocusReason);
    m_portList->showPopup();
}

void MainWindow::portPopupClosed()
{
    // A choice arrives right after the drop-down hid; only once it has had
    // its turn is the list known to be left without one (Escape, a click
    // elsewhere).
    QTimer::singleShot(0, this, [this] {
        if (m_choosingPort && !m_portList->view()->isVisible())
            endPortChoice();
    });
}

void MainWindow::endPortChoice()
{
    m_choosingPort = false;
    // The window's focus, even while another window is active.
    const bool hadFocus = focusWidget() == m_portList;
    m_portListAction->setVisible(false);
    if (!hadFocus)
        return;   // the focus went somewhere of the user's choosing
    if (QMdiSubWindow *active = m_mdi ? m_mdi->activeSubWindow() : nullptr)
        active->widget()->setFocus(Qt::OtherFocusReason);
}

void MainWindow::selectPort(int index)
{
    // A message below may open before the drop-down's close is looked at.
    m_choosingPort = false;
    QString reason;
    const int number = index + 1;
    if (index >= 0) {
        m_transfer->closePort();
        m_transfer->openPort(number, &reason);
    }
    if (index >= 0 && !m_transfer->isPortOpen()) {
        m_context.showMessage(Message::SerialPortUnusable, QString::number(number));
        m_portList->setCurrentIndex(-1);
    }
    m_portListAction->setVisible(false);
    showPortStatus(number, m_transfer->isPortOpen() ? QString() : reason);
    if (QMdiSubWindow *active = m_mdi ? m_mdi->activeSubWindow() : nullptr)
        active->widget()->setFocus(Qt::OtherFocusReason);
}

void MainWindow::showPortStatus(int number, const QString &reason)
{
    m_portPanel->setText(QStringLiteral("COM: ") + m_portList->currentText());
    // The device the port was opened on: asking the system again costs a
    // second scan of its serial devices.
    const QString device = number >= 1 ? m_transfer->device() : QString();
    m_devicePanel->setText(device);
    m_statusPort = number;
    m_statusReason = reason;
    m_portPanel->setToolTip(QString());
    m_devicePanel->setToolTip(QString());
}

void MainWindow::describeStatusPort()
{
    // The fixed message cannot tell a busy port from a missing one or one
    // without permission; the system's words can. Made when asked for, in
    // the language of that moment: describing the port scans the system's
    // serial devices, which start-up is not to wait for.
    const QString toolTip = m_transferCommands->portToolTip(m_statusPort, m_statusReason);
    m_portPanel->setToolTip(toolTip);
    m_devicePanel->setToolTip(toolTip);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_portList) {
        if (event->type() == QEvent::Show && m_choosingPort) {
            // Placed by the toolbar by now, or once its layout has settled.
            QTimer::singleShot(0, this, &MainWindow::openPortList);
        } else if (event->type() == QEvent::FocusOut
                   && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason
                   && !m_portList->view()->isVisible()) {
            m_choosingPort = false;
            m_portListAction->setVisible(false);
        }
    } else if ((watched == m_portPanel || watched == m_devicePanel) && event->type() == QEvent::ToolTip) {
        describeStatusPort();   // then the label shows it
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- hidden modes

void MainWindow::hiddenModeActivated(HiddenMode mode)
{
    m_hiddenButtons[slot(mode)]->setVisible(true);
    if (mode == HiddenMode::Fm)
        m_fmMenuItem->setEnabled(true);
}

void MainWindow::pressHiddenButton(HiddenMode mode)
{
    if (!m_context.document().modes().pressLockButton(mode, m_clock()))
        return;
    m_hiddenButtons[slot(mode)]->setVisible(false);
    m_context.notifyHiddenModeLocked(mode);
}

// ---- commands

void MainWindow::newImage() { m_files->newImage(); }
void MainWindow::openImage() { m_files->openImage(); }
void MainWindow::saveImage() { m_files->saveImage(); }
void MainWindow::importChannels() { m_csv->importChannels(); }
void MainWindow::exportChannels() { m_csv->exportChannels(); }

void MainWindow::printReport()
{
    showPrintPreview(m_context, m_editors[0], this);
}

void MainWindow::quit()
{
    close();
}

void MainWindow::readRadio()
{
    // The read's decode may select the radio's band without a question.
    m_bandChangeByUser = false;
    m_transfer->readRadio();
}

void MainWindow::writeRadio()
{
    m_transfer->writeRadio();
}

void MainWindow::showHelp()
{
    const Language language = m_context.language();
    if (!openHelpFile(language))
        m_help->showGuide(language);
}

void MainWindow::showAbout()
{
    aboutBox()->exec();
}

AboutBox *MainWindow::aboutBox()
{
    // Made when first asked for, in the language of that moment: nobody
    // sees it before, and making it would only lengthen the start.
    if (!m_about) {
        m_about = new AboutBox(this);
        m_about->setWindowIcon(m_editors[0]->windowIcon());
        m_about->applyLanguage(m_context.language());
        connect(m_about, &AboutBox::guideRequested, this, [this] { m_help->showGuide(m_context.language()); });
    }
    return m_about;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_context.showMessage(Message::Exit) != kAnswerOk) {
        event->ignore();
        return;
    }
    if (m_settings)
        m_settings->writeSetting(m_context.language());
    m_help->close();
    event->accept();
}

} // namespace quillon
