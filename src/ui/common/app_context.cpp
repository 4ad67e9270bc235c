#include "common/app_context.h"

#include "message_box.h"


namespace quillon {

AppContext::AppContext(QObject *parent)
    : QObject(parent)
{
}

int AppContext::showMessage(const QString &text, int style, const QString &caption)
{
    const QString title = caption.isEmpty() ? QString::fromLatin1(kApplicationTitle) : caption;
    if (m_responder)
        return m_responder(text, style, title);
    return showPlatformMessageBox(m_messageOwner, text, style, title, language());
}

int AppContext::showMessage(Message message, const QString &argument)
{
    const MessageText m = messageText(message, language(), argument);
    return showMessage(m.text, m.style, m.caption);
}

} // namespace quillon
