#pragma once

#include <QEvent>
#include <QWidget>

namespace quillon {

class AppContext;

// Whether a focus-out event is the user leaving a field: a context menu or
// the whole window losing the activation is not, and commits nothing.
bool leavesField(const QEvent *focusOut);

// Base of the five editor windows Form1..Form5: created once at start-up,
// kept for the whole run, hidden (not destroyed) when the user closes them.
class EditorWindow : public QWidget {
    Q_OBJECT
public:
    explicit EditorWindow(AppContext &context, QWidget *parent = nullptr)
        : QWidget(parent), m_context(context) {}

    // Sets the window's rows of the language table for the current language.
    virtual void applyLanguage() = 0;
    // Shows the workspace again in every control (after a decode, New, ...).
    virtual void showModel() = 0;

protected:
    AppContext &context() const { return m_context; }

private:
    AppContext &m_context;
};

} // namespace quillon
