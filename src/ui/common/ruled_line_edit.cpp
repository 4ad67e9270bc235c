#include "common/ruled_line_edit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>

#include <algorithm>

namespace quillon {

namespace {

// Events that may bring more than one character at once: a paste (keys,
// the middle button, the context menu's action), a drop, an input method's
// commit. A single typed key needs no more room than the box's limit gives.
bool mayInsertText(QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        return static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste);
    case QEvent::InputMethod:
        return !static_cast<QInputMethodEvent *>(event)->commitString().isEmpty();
    case QEvent::MouseButtonRelease:
        return static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton;
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
    // The same text again keeps the box's cursor, selection and undo history.
    if (this->text() != text)
        setText(text);
}

void RuledLineEdit::showLimit()
{
    // The box's own limit is what the user sees of the rule: the typing
    // limit, or the length of a longer text the program placed.
    if (!m_lifted)
        setBoxLimit(m_limit > 0 ? std::max<int>(m_limit, int(m_placed.size())) : kNoLimit);
}

void RuledLineEdit::setBoxLimit(int limit)
{
    if (maxLength() == limit)
        return;
    // The box sets its text again for a new limit, which would drop the
    // selection and put the cursor at the end: both are kept.
    const int cursor = cursorPosition();
    const int start = selectionStart();
    const int length = int(selectedText().size());
    setMaxLength(limit);
    if (start < 0)
        setCursorPosition(cursor);
    else if (cursor == start)
        setSelection(start + length, -length);
    else
        setSelection(start, length);
}

bool RuledLineEdit::event(QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        // A typed character meets the rule before the box takes it, so a
        // dropped or raised key leaves the box's undo history whole.
        auto *key = static_cast<QKeyEvent *>(event);
        const QString typed = key->text();
        const bool shortcut = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (!shortcut && typed.size() == 1 && typed.front().isPrint()) {
            const std::optional<QChar> kept = acceptInputCharacter(m_rule, typed.front());
            if (!kept)
                return true;   // dropped without a sound
            if (*kept != typed.front()) {
                QKeyEvent raised(QEvent::KeyPress, key->key(), key->modifiers(), QString(*kept),
                                 key->isAutoRepeat(), key->count());
                return QLineEdit::event(&raised);
            }
        }
    }
    // While text can arrive, the box must not cut it itself: the rule
    // filters first and then cuts to the limit, so a pasted "中文abc" in a
    // field of five keeps "ABC", not "中文ab" filtered to "AB".
    if (m_lifted || !mayInsertText(event))
        return QLineEdit::event(event);
    setBoxLimit(kNoLimit);
    m_lifted = true;
    const bool handled = QLineEdit::event(event);
    m_lifted = false;
    showLimit();
    return handled;
}

void RuledLineEdit::onTextChanged()
{
    // The live text, not the signal's: a box announces an edit's own text
    // after its textEdited, so after the rule's correction of it.
    m_current = text();
}

void RuledLineEdit::onTextEdited(const QString &text)
{
    if (m_applying)
        return;
    // textChanged of this edit has not come yet: m_current is the text before it.
    const int limit = m_limit > 0 ? std::max<int>(m_limit, int(m_placed.size())) : 0;
    const InputResult result = applyInput(m_rule, limit, m_current, text, cursorPosition());
    if (result.text != text) {
        const QScopedValueRollback<bool> applying(m_applying, true);
        setText(result.text);
        setCursorPosition(result.cursor);
    }
    emit ruledTextEdited(result.text);
}

} // namespace quillon
