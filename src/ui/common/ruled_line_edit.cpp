#include "common/ruled_line_edit.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>

#include <algorithm>

namespace quillon {

namespace {

// Events through which more than one character can arrive in a line edit.
// A typed key brings one at most, which the box's own limit refuses as the
// rule would; leaving the limit alone then keeps the box's undo history,
// which every change of the limit clears.
bool mayInsertSeveral(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<const QKeyEvent *>(event);
        return key->matches(QKeySequence::Paste) || key->text().size() > 1;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        return static_cast<const QMouseEvent *>(event)->button() == Qt::MiddleButton;
    case QEvent::InputMethod:
    case QEvent::Drop:
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
    if (m_lifted || !mayInsertSeveral(event))
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
    // A notice that arrives after the rule replaced the text is stale.
    if (text != this->text() || text == m_current)
        return;
    m_previous = m_current;
    m_current = text;
}

void RuledLineEdit::onTextEdited(const QString &text)
{
    if (m_applying)
        return;
    // Qt tells of the edit before it tells of the change, but do not rely on
    // the order: the text before the edit is the last one that differs.
    const QString before = m_current == text ? m_previous : m_current;
    const int limit = m_limit > 0 ? std::max<int>(m_limit, int(m_placed.size())) : 0;
    const InputResult result = applyInput(m_rule, limit, before, text, cursorPosition());
    if (result.text != text) {
        const QScopedValueRollback<bool> applying(m_applying, true);
        setText(result.text);
        setCursorPosition(result.cursor);
    }
    emit ruledTextEdited(result.text);
}

} // namespace quillon
