#include "shell/band_combo.h"

#include <QAbstractItemView>
#include <QEvent>

namespace quillon {

void BandComboBox::showPopup()
{
    emit droppedDown();
    QComboBox::showPopup();
    // The drop-down can close without hidePopup() (Escape, a click outside):
    // its window's hide event is the one sure sign.
    if (QWidget *popup = view()->window(); popup != m_popup && popup != window()) {
        m_popup = popup;
        popup->installEventFilter(this);
    }
}

bool BandComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_popup && event->type() == QEvent::Hide)
        emit popupClosed();
    return QComboBox::eventFilter(watched, event);
}

bool WheelBlocker::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel)
        return true;
    return QObject::eventFilter(watched, event);
}

} // namespace quillon
