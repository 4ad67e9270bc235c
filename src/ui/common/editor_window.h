#pragma once

#include <QEvent>
#include <QWidget>

namespace quillon {

class AppContext;
struct Change;

// Whether a focus-out event is the user leaving a field: a context menu or
// the whole window losing the activation is not, and commits nothing.
bool leavesField(const QEvent *focusOut);

// Base of the five editor windows Form1..Form5: created once at start-up,
// kept for the whole run, hidden (not destroyed) when the user closes them.
// Each shows the document again where an operation changed it.
class EditorWindow : public QWidget {
    Q_OBJECT
public:
    explicit EditorWindow(AppContext &context, QWidget *parent = nullptr);

    // Sets the window's rows of the language table for the current language.
    virtual void applyLanguage() = 0;
    // Shows the document again in every control.
    virtual void showModel() = 0;

protected:
    AppContext &context() const { return m_context; }
    // An operation changed the document: the window shows again what it
    // shows of the change.
    virtual void documentChanged(const Change &change) = 0;
    // Closing only hides, whatever closes the window (its frame's close box
    // or menu, its own OK or Cancel); a close while the program ends goes
    // ahead. A window hidden on its own takes its frame along.
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    // Every window's destructor calls this first: a field that still has
    // the focus commits while the window is whole, and no later change of
    // the document reaches the window being taken apart.
    void prepareDestruction();

private:
    AppContext &m_context;
};

} // namespace quillon
