#pragma once

#include "features/hidden_modes.h"
#include "i18n/messages.h"
#include "document/document.h"

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace quillon {

// What every window shares: the document (the images, the band, the
// language, the stores and every operation on them), the single message
// box entry point and the request to commit what is being typed.
class AppContext : public QObject {
    Q_OBJECT
public:
    using Responder = std::function<int(const QString &text, int style, const QString &caption)>;

    explicit AppContext(QObject *parent = nullptr);

    Document &document() { return m_document; }
    const Workspace &workspace() const { return m_document.workspace(); }
    Language language() const { return m_document.language(); }

    // The one modal message box. An empty caption shows the application
    // title. Returns the button number (1 OK, 2 Cancel, ...). Tests install a
    // responder that answers instead of a person.
    int showMessage(const QString &text, int style, const QString &caption = {});
    int showMessage(Message message, const QString &argument = {});
    void setResponder(Responder responder) { m_responder = std::move(responder); }
    // The window message boxes are centred on (the channel window).
    void setMessageOwner(QWidget *owner) { m_messageOwner = owner; }

    // Emitted by the windows and the shell; every editor window listens.
    void notifyHiddenModeActivated(HiddenMode mode) { emit hiddenModeActivated(mode); }
    void notifyHiddenModeLocked(HiddenMode mode) { emit hiddenModeLocked(mode); }
    // Asks every window to commit what the user typed and has not left yet
    // (before Read, Write, Save and Print), whether or not the window is shown.
    void commitPendingEdits() { emit pendingEditsRequested(); }

signals:
    // A click of a mode's unlock sequence found the mode on: perform its actions.
    void hiddenModeActivated(quillon::HiddenMode mode);
    // A double press on the mode's toolbar button locked it.
    void hiddenModeLocked(quillon::HiddenMode mode);
    void pendingEditsRequested();

private:
    Document m_document;
    Responder m_responder;
    QWidget *m_messageOwner = nullptr;
};

} // namespace quillon
