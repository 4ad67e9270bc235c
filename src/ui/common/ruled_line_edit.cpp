#include "common/ruled_line_edit.h"

#include <QEvent>
#include <QScopedValueRollback>

#include <algorithm>

namespace quillon {

namespace {

// Events through which text can arrive in a line edit.
bool mayInsertText(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::Drop:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

} // namespace

RuledLineEdit::RuledLineEdit(InputRule rule, int limit, QWidget *parent)
    : QLineEdit(parent), m_rule(rule), m_limit(limit)
{
    connect(this, &QLineEdit::textChanged, this, &RuledLineEdit::onTextChanged);
    connect(this, &QLineEdit::textEdited, this, &RuledLineEdit::onTextEdited);
    showLimit();
}

void RuledLineEdit::place(const QString &text)
{
    m_placed = text;
    showLimit();
    setText(text);
}

void RuledLineEdit::showLimit()
{
    // The box's own limit is what the user sees of the rule: the typing
    // limit, or the length of a longer text the program placed.
    if (!m_lifted)
        setMaxLength(m_limit > 0 ? std::max<int>(m_limit, int(m_placed.size())) : 32767);
}

bool RuledLineEdit::event(QEvent *event)
{
    // While text can arrive, the box must not cut it itself: the rule
    // filters first and then cuts to the limit, so a pasted "中文abc" in a
    // field of five keeps "ABC", not "中文ab" filtered to "AB".
    if (m_lifted || !mayInsertText(event->type()))
        return QLineEdit::event(event);
    m_lifted = true;
    setMaxLength(32767);
    const bool handled = QLineEdit::event(event);
    m_lifted = false;
    showLimit();
    return handled;
}

void RuledLineEdit::onTextChanged(const QString &text)
{
    m_previous = m_current;
    m_current = text;
}

void RuledLineEdit::onTextEdited(const QString &text)
{
    if (m_applying)
        return;
    const int limit = m_limit > 0 ? std::max<int>(m_limit, int(m_placed.size())) : 0;
    const InputResult result = applyInput(m_rule, limit, m_previous, text, cursorPosition());
    if (result.text != text) {
        const QScopedValueRollback<bool> applying(m_applying, true);
        const QString before = m_previous;
        setText(result.text);
        setCursorPosition(result.cursor);
        // The rule's text follows the text the user had, as one change.
        m_previous = before;
    }
    emit ruledTextEdited(result.text);
}

} // namespace quillon
