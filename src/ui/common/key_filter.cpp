#include "common/key_filter.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace quillon {

KeyFilter::KeyFilter(Rule rule, QObject *parent)
    : QObject(parent), m_rule(std::move(rule))
{
}

bool KeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const QString text = key->text();
    if (text.size() != 1 || !text.front().isPrint()
        || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    const std::optional<QChar> accepted = m_rule(text.front());
    if (!accepted)
        return true;   // dropped without a sound
    if (*accepted == text.front())
        return false;
    // Deliver the replacement as a key of its own, so the box's maximum
    // length, undo and change signals treat it like a typed character.
    QKeyEvent replacement(QEvent::KeyPress, key->key(), key->modifiers(),
                          QString(*accepted), key->isAutoRepeat(), key->count());
    QCoreApplication::sendEvent(watched, &replacement);
    return true;
}

} // namespace quillon
