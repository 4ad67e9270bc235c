#include "common/editor_window.h"

#include "common/app_context.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QMdiSubWindow>

namespace quillon {

bool leavesField(const QEvent *focusOut)
{
    const Qt::FocusReason reason = static_cast<const QFocusEvent *>(focusOut)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

EditorWindow::EditorWindow(AppContext &context, QWidget *parent)
    : QWidget(parent), m_context(context)
{
    connect(&context.document(), &Document::changed, this, &EditorWindow::documentChanged);
}

void EditorWindow::prepareDestruction()
{
    hide();
    QObject::disconnect(&m_context.document(), nullptr, this, nullptr);
}

void EditorWindow::closeEvent(QCloseEvent *event)
{
    if (QCoreApplication::closingDown()) {
        event->accept();
        return;
    }
    // The window keeps its values for the whole run.
    event->ignore();
    hide();
}

void EditorWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // isHidden() is false when only the frame around the window was hidden.
    if (isHidden()) {
        if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
            frame->hide();
    }
}

} // namespace quillon
