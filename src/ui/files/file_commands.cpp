#include "files/file_commands.h"

#include "files/dat_file.h"
#include "common/app_context.h"
#include "i18n/ui_texts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillon {

QStringList nameFiltersFromPairs(const QString &pairs)
{
    const QStringList parts = pairs.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &text = parts[i];
        const QString &pattern = parts[i + 1];
        if (text.isEmpty() && pattern.isEmpty())
            continue;
        const QString suffix = u'(' + pattern + u')';
        filters << (text.endsWith(suffix) ? text : text + u' ' + suffix);
    }
    return filters;
}

FileCommands::FileCommands(AppContext &context, QWidget *dialogParent, QObject *parent)
    : QObject(parent), m_context(context), m_dialogParent(dialogParent)
{
    m_folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (m_folder.isEmpty() || !QFileInfo(m_folder).isDir())
        m_folder = QDir::homePath();
}

void FileCommands::newImage()
{
    if (m_context.showMessage(Message::NewImage) != kAnswerOk)
        return;
    m_context.document().newImage();
}

void FileCommands::openImage()
{
    const QString path = chooseFile(FileDialogKind::Open);
    if (!path.isEmpty())
        openFile(path);
}

bool FileCommands::openFile(const QString &path)
{
    const Language language = m_context.language();
    MemoryImage image;
    const DatResult result = loadDatFile(path, image);
    switch (result.status) {
    case DatStatus::Ok:
        break;
    case DatStatus::WrongType:
        m_context.showMessage(Message::FileTypeIncorrect);
        return false;
    case DatStatus::ReadError:
    case DatStatus::WriteError:
        m_context.showMessage(ui_text::kOpenFailed.text(language) + result.systemReason, kStyleStop,
                              ui_text::kErrorCaption.text(language));
        return false;
    }
    m_context.document().openImage(image);
    emit channelWindowRequested();
    emit fileUsed(path);
    return true;
}

void FileCommands::saveImage()
{
    const QString path = chooseFile(FileDialogKind::Save);
    if (path.isEmpty())
        return;
    // A value still being typed in a cell editor belongs in the file.
    m_context.commitPendingEdits();
    Document &document = m_context.document();
    const DatResult result = saveDatFile(path, document.encode());
    if (result.status == DatStatus::Ok) {
        document.markClean();
        emit fileUsed(path);
    } else {
        const Language language = m_context.language();
        m_context.showMessage(ui_text::kSaveFailed.text(language) + result.systemReason, kStyleStop,
                              ui_text::kErrorCaption.text(language));
    }
}

QString FileCommands::chooseFile(FileDialogKind kind)
{
    const QString path = m_chooser ? m_chooser(kind, m_folder) : showDialog(kind);
    if (!path.isEmpty())
        m_folder = QFileInfo(path).absolutePath();
    return path;
}

QString FileCommands::showDialog(FileDialogKind kind)
{
    QFileDialog dialog(m_dialogParent);
    dialog.setDirectory(m_folder);
    const QStringList filters = nameFiltersFromPairs(ui_text::kDatFilter.en);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.first());
    if (kind == FileDialogKind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QStringLiteral("dat"));
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        // Never create a file for a name that does not exist.
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

} // namespace quillon
