#pragma once

#include <QObject>

class QMimeData;
class QWidget;

namespace quillon {

class FileCommands;

// Lets a window take one local file dropped on it (from a file manager) and
// open it as Open would. Drops on controls that take drops themselves (text
// fields) stay theirs.
class FileDrop : public QObject {
    Q_OBJECT
public:
    FileDrop(FileCommands &files, QWidget *target);

    // The one local file a drag carries; empty for anything else.
    static QString droppedFile(const QMimeData *data);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FileCommands &m_files;
};

} // namespace quillon
