#pragma once

#include "features/hidden_modes.h"
#include "i18n/messages.h"
#include "document/workspace.h"

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace quillon {

// The one instance of the program's state that every window shares: the
// workspace (images, band, language, stores, hidden modes) and the single
// message box entry point. Windows talk to each other through its signals.
class AppContext : public QObject {
    Q_OBJECT
public:
    using Responder = std::function<int(const QString &text, int style, const QString &caption)>;

    explicit AppContext(QObject *parent = nullptr);

    Workspace &workspace() { return m_workspace; }
    const Workspace &workspace() const { return m_workspace; }
    Language language() const { return m_workspace.language; }

    // The one modal message box. An empty caption shows the application
    // title. Returns the button number (1 OK, 2 Cancel, ...). Tests install a
    // responder that answers instead of a person.
    int showMessage(const QString &text, int style, const QString &caption = {});
    int showMessage(Message message, const QString &argument = {});
    void setResponder(Responder responder) { m_responder = std::move(responder); }
    // The window message boxes are centred on (the channel window).
    void setMessageOwner(QWidget *owner) { m_messageOwner = owner; }

    // Emitted by the windows and the shell; every editor window listens.
    void notifyModelReset() { emit modelReset(); }
    void notifyHiddenModeActivated(HiddenMode mode) { emit hiddenModeActivated(mode); }
    void notifyHiddenModeLocked(HiddenMode mode) { emit hiddenModeLocked(mode); }
    // Asks the open cell editors to commit what the user typed (before a transfer).
    void commitPendingEdits() { emit pendingEditsRequested(); }

signals:
    // The workspace changed as a whole (decode, New, band change): every
    // window shows the workspace again.
    void modelReset();
    // A click of a mode's unlock sequence found the mode on: perform its actions.
    void hiddenModeActivated(quillon::HiddenMode mode);
    // A double press on the mode's toolbar button locked it.
    void hiddenModeLocked(quillon::HiddenMode mode);
    void pendingEditsRequested();

private:
    Workspace m_workspace;
    Responder m_responder;
    QWidget *m_messageOwner = nullptr;
};

} // namespace quillon
