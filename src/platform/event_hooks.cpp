#include "event_hooks.h"

#include <QScopedValueRollback>
#include <QWheelEvent>

namespace quillon {

EventHooks::EventHooks(QObject *parent)
    : QObject(parent)
{
}

EventHooks::~EventHooks()
{
    for (auto it = m_targets.cbegin(); it != m_targets.cend(); ++it)
        it.key()->removeEventFilter(this);
}

HookResult EventHooks::attach(EventHookClient *client, QObject *target, QEvent::Type type)
{
    if (!client || !target)
        return HookResult::InvalidObject;
    const bool firstOnTarget = !m_targets.contains(target);
    QList<EventHookClient *> &clients = m_targets[target][type];
    if (clients.contains(client))
        return HookResult::AlreadyAttached;
    clients.append(client);
    if (firstOnTarget) {
        target->installEventFilter(this);
        // A destroyed object takes its attachments with it.
        connect(target, &QObject::destroyed, this, [this, target] { m_targets.remove(target); });
    }
    return HookResult::Attached;
}

void EventHooks::detach(EventHookClient *client, QObject *target, QEvent::Type type)
{
    auto found = m_targets.find(target);
    if (found == m_targets.end())
        return;
    auto clients = found->find(type);
    if (clients == found->end())
        return;
    clients->removeOne(client);
    if (clients->isEmpty())
        found->erase(clients);
    if (found->isEmpty())
        forget(target);
}

int EventHooks::clientCount(QObject *target, QEvent::Type type) const
{
    return static_cast<int>(m_targets.value(target).value(type).size());
}

void EventHooks::forget(QObject *target)
{
    m_targets.remove(target);
    target->removeEventFilter(this);
    disconnect(target, &QObject::destroyed, this, nullptr);
}

bool EventHooks::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_replaying)
        return false;
    const auto found = m_targets.constFind(watched);
    if (found == m_targets.cend())
        return false;
    // A copy: a client may attach or detach while it handles the event.
    const QList<EventHookClient *> clients = found->value(event->type());
    if (clients.isEmpty())
        return false;

    const EventHookClient::Response response = clients.first()->response();
    // The clients run from the last attached to the first; the object's own
    // handling, when asked for before, comes right before the first-attached client.
    for (auto it = clients.crbegin(); it != clients.crend(); ++it) {
        if (*it == clients.first() && response == EventHookClient::Response::ObjectBefore) {
            const QScopedValueRollback<QObject *> replaying(m_replaying, watched);
            watched->event(event);
        }
        (*it)->hookedEvent(watched, event);
    }

    if (response == EventHookClient::Response::ObjectAfter)
        return false;
    // Handled here: an accepted event does not travel on to the parents.
    event->accept();
    return true;
}

void WheelHook::hookedEvent(QObject *, QEvent *event)
{
    if (event->type() == QEvent::Wheel && m_handler)
        m_handler(static_cast<QWheelEvent *>(event));
}

} // namespace quillon
