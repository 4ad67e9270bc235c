#pragma once

#include "settings_store.h"
#include "common/app_context.h"
#include "shell/main_window.h"
#include "shell/startup.h"

#include <QAction>
#include <QApplication>
#include <QList>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace quillon::test {

struct ShownMessage {
    QString text;
    int style = 0;
    QString caption;
};

// The program as it starts, with a responder in place of the person who
// answers message boxes: it records every message and answers from a queue
// (OK when the queue is empty). options are the command line's.
class Harness {
public:
    explicit Harness(const StartOptions &options = {})
    {
        context.setResponder([this](const QString &text, int style, const QString &caption) {
            messages.append({text, style, caption});
            return answers.isEmpty() ? kAnswerOk : answers.takeFirst();
        });
        window = startQuillon(context, settings, options);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    template<typename T = QObject>
    T *find(const char *name) const { return window->findChild<T *>(QLatin1String(name)); }

    const Workspace &ws() const { return context.workspace(); }
    Document &document() { return context.document(); }

    // The texts of the messages shown since the last call.
    QStringList takeMessages()
    {
        QStringList texts;
        for (const ShownMessage &m : messages)
            texts << m.text;
        messages.clear();
        return texts;
    }

    AppContext context;
    SettingsStore settings;
    std::unique_ptr<MainWindow> window;
    QList<ShownMessage> messages;
    QList<int> answers;
};

// Runs action, which opens a modal window, and hands that window to inspect
// once it is up; inspect must close it.
inline void whileModal(const std::function<void()> &action, const std::function<void(QWidget *)> &inspect)
{
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        if (QWidget *modal = QApplication::activeModalWidget(); modal && !seen) {
            seen = true;
            poll.stop();
            inspect(modal);
        }
    });
    poll.start();
    action();
    QVERIFY(seen);
}

} // namespace quillon::test
