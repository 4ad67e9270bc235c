#pragma once

// What the widget tests share: a run environment of their own, a stand-in
// for the person who answers message boxes, the program as it starts, and
// the gestures the tests make (find a control, pick from a list or a menu,
// click a grid cell, look into a modal window).

#include "settings_store.h"
#include "common/app_context.h"
#include "common/editor_window.h"
#include "shell/main_window.h"
#include "shell/startup.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QHelpEvent>
#include <QList>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>

#include <functional>
#include <memory>

namespace quillon::test {

inline const char kMissingDevice[] = "/nonexistent/quillon-tty";

// The tool tip a widget shows when the mouse rests on it (some are made only
// then).
inline QString askToolTip(QWidget *widget)
{
    const QPoint at = widget->rect().center();
    QHelpEvent ask(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &ask);
    QToolTip::hideText();
    return widget->toolTip();
}

// Where a widget test runs: a configuration folder of its own, so no stored
// language leaks in or out, and serial port numbers that name a missing
// device. Hold one for the whole test program.
class TestEnvironment {
public:
    TestEnvironment()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        useSerialDevices(QString::fromLatin1(kMissingDevice));
        // Closing the main window must not end the test program.
        QApplication::setQuitOnLastWindowClosed(false);
    }

    bool isValid() const { return m_config.isValid(); }
    QString folder() const { return m_config.path(); }
    QString filePath(const QString &name) const { return m_config.filePath(name); }
    // The stored language of the program.
    QString settingsFile() const { return filePath(QStringLiteral("Lumbra.conf")); }
    // Port 1, 2, ... are these devices, separated by colons.
    static void useSerialDevices(const QString &devices) { qputenv("QUILLON_SERIAL_PORTS", QFile::encodeName(devices)); }

private:
    QTemporaryDir m_config;
};

struct ShownMessage {
    QString text;
    int style = 0;
    QString caption;
};

// Answers the message boxes of a context in place of a person: records
// every message and answers with onMessage when it is set, otherwise from
// the queue of answers (OK when the queue is empty).
class MessageRecorder {
public:
    MessageRecorder() = default;
    explicit MessageRecorder(AppContext &context) { answerFor(context); }
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    void answerFor(AppContext &context)
    {
        context.setResponder([this](const QString &text, int style, const QString &caption) {
            messages.append({text, style, caption});
            if (onMessage)
                return onMessage(messages.last());
            return answers.isEmpty() ? kAnswerOk : answers.takeFirst();
        });
    }

    // The texts of the messages shown since the last call.
    QStringList takeMessages()
    {
        QStringList texts;
        for (const ShownMessage &m : messages)
            texts << m.text;
        messages.clear();
        return texts;
    }

    QList<ShownMessage> messages;
    QList<int> answers;
    std::function<int(const ShownMessage &)> onMessage;
};

// The program as it starts (the stored language read, the main window
// shown with its load step, every text set), with a MessageRecorder in
// place of the person at the message boxes. options are the command line's.
class Harness : public MessageRecorder {
public:
    explicit Harness(const StartOptions &options = {})
    {
        answerFor(context);
        window = startQuillon(context, settings, options);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    // The first control of that name, searched from the main window.
    template<typename T = QObject>
    T *find(const char *name) const { return window->findChild<T *>(QLatin1String(name)); }

    const Workspace &ws() const { return context.workspace(); }
    Document &document() { return context.document(); }

    // Presses a toolbar button by its key ("TNew") with the mouse.
    void pressToolButton(const QString &key)
    {
        QWidget *button = find<QToolBar>("Toolbar1")->widgetForAction(window->findChild<QAction *>(key));
        QVERIFY(button);
        QTRY_VERIFY(button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Opens a menu with its access key and picks an item with its own.
    void pickFromMenu(char menuKey, char itemKey)
    {
        QTest::keyClick(window.get(), menuKey, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QTest::keyClick(QApplication::activePopupWidget(), itemKey);
    }

    AppContext context;
    SettingsStore settings;
    std::unique_ptr<MainWindow> window;
};

// The control of that name below root; nullptr when there is none.
template<typename T = QWidget>
T *control(const QObject *root, const QString &name)
{
    return root ? root->findChild<T *>(name) : nullptr;
}

// Opens a list's drop-down with the mouse, moves with Down and ends with
// last (Return picks, Escape leaves without a choice).
inline void pickFromList(QComboBox *list, int downs, Qt::Key last = Qt::Key_Return)
{
    QVERIFY(list);
    QTest::mouseClick(list, Qt::LeftButton);
    QTRY_VERIFY(list->view()->isVisible());
    for (int i = 0; i < downs; ++i)
        QTest::keyClick(list->view(), Qt::Key_Down);
    QTest::keyClick(list->view(), last);
    QTRY_VERIFY(!list->view()->isVisible());
}

// Clicks the centre of cell (row, column) of a grid, scrolled into view
// first. Rows and columns count from 0 as the grid's model does.
inline void clickCell(QAbstractItemView *grid, int row, int column, Qt::MouseButton button = Qt::LeftButton)
{
    QVERIFY(grid);
    const QModelIndex cell = grid->model()->index(row, column);
    QVERIFY(cell.isValid());
    grid->scrollTo(cell);
    QTest::mouseClick(grid->viewport(), button, Qt::NoModifier, grid->visualRect(cell).center());
}

// The text a grid shows in cell (row, column).
inline QString cellText(const QAbstractItemView *grid, int row, int column)
{
    return grid ? grid->model()->index(row, column).data().toString() : QString();
}

// Runs action, which opens a modal window, and hands that window to inspect
// once it is up. Inspect (or the program) closes the window; when a check in
// inspect fails, or the window is still open closeWithinMs after inspect,
// the window is closed here instead, so a failing check fails the test
// rather than leaving it waiting for the time-out. Returns false when no
// modal window came up or it had to be closed for being left open.
[[nodiscard]] inline bool whileModal(const std::function<void()> &action, const std::function<void(QWidget *)> &inspect,
                                     int closeWithinMs = 10000)
{
    bool seen = false;
    bool leftOpen = false;
    QPointer<QWidget> modal;
    const auto closeModal = [&modal] {
        if (!modal || !modal->isVisible())
            return;
        if (auto *dialog = qobject_cast<QDialog *>(modal.data()))
            dialog->done(QDialog::Rejected);
        else
            modal->close();
    };
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &deadline, [&] {
        leftOpen = modal && modal->isVisible();
        closeModal();
    });
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        QWidget *up = QApplication::activeModalWidget();
        if (!up || seen)
            return;
        seen = true;
        poll.stop();
        modal = up;
        inspect(up);
        if (QTest::currentTestFailed())
            closeModal();
        else if (modal && modal->isVisible())
            deadline.start(closeWithinMs);
    });
    poll.start();
    action();
    return seen && !leftOpen;
}

} // namespace quillon::test
