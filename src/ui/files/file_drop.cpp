#include "files/file_drop.h"

#include "files/file_commands.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace quillon {

FileDrop::FileDrop(FileCommands &files, QWidget *target) : QObject(target), m_files(files)
{
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

QString FileDrop::droppedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return {};
    const QString path = data->urls().first().toLocalFile();
    return QFileInfo(path).isDir() ? QString() : path;
}

bool FileDrop::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (droppedFile(drag->mimeData()).isEmpty())
            return false;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QString path = droppedFile(drop->mimeData());
        if (path.isEmpty())
            return false;
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        // Open's messages are modal: show them after the drag has ended, not
        // while the file manager still waits for the drop to finish.
        QTimer::singleShot(0, this, [this, path] { m_files.openFile(path); });
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace quillon
