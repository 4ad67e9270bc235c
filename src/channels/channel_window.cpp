#include "channels/channel_window.h"

namespace quillon {

ChannelWindow::ChannelWindow(AppContext &context, QWidget *parent)
    : EditorWindow(context, parent)
{
    setObjectName(QStringLiteral("Form1"));
}

void ChannelWindow::applyLanguage() {}
void ChannelWindow::showModel() {}

} // namespace quillon
