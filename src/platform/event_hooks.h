#pragma once

#include <QEvent>
#include <QHash>
#include <QList>
#include <QObject>

#include <functional>

class QWheelEvent;

namespace quillon {

// A client of EventHooks: handed the events it is attached for.
class EventHookClient {
public:
    // How the hooked object's own handling is combined with the clients.
    enum class Response {
        Consume,        // the object never sees the event
        ObjectAfter,    // the object handles it after the clients
        ObjectBefore,   // the object handles it right before the first-attached client
    };

    virtual ~EventHookClient() = default;
    virtual Response response() const = 0;
    virtual void hookedEvent(QObject *target, QEvent *event) = 0;
};

enum class HookResult {
    Attached,
    AlreadyAttached,   // this client already takes this event of this object
    InvalidObject,     // no object given
};

// Delivers chosen events of chosen objects to clients, in front of the
// objects' own handling. Several clients may take one event of one object:
// they are called from the last attached to the first, and the first
// attached client's response decides whether and when the object itself
// handles the event. Lives on the user-interface thread.
class EventHooks : public QObject {
    Q_OBJECT
public:
    explicit EventHooks(QObject *parent = nullptr);
    ~EventHooks() override;

    HookResult attach(EventHookClient *client, QObject *target, QEvent::Type type);
    // Detaching what is not attached does nothing.
    void detach(EventHookClient *client, QObject *target, QEvent::Type type);

    int clientCount(QObject *target, QEvent::Type type) const;
    bool isHooked(QObject *target) const { return m_targets.contains(target); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void forget(QObject *target);

    using Clients = QHash<int, QList<EventHookClient *>>;
    QHash<QObject *, Clients> m_targets;
    QObject *m_replaying = nullptr;   // object handling an event before its clients
};

// A client that hands the wheel events of the objects it is attached to to
// a handler.
class WheelHook final : public EventHookClient {
public:
    WheelHook(Response response, std::function<void(QWheelEvent *)> handler)
        : m_response(response), m_handler(std::move(handler)) {}
    Response response() const override { return m_response; }
    void hookedEvent(QObject *target, QEvent *event) override;

private:
    Response m_response;
    std::function<void(QWheelEvent *)> m_handler;
};

} // namespace quillon
