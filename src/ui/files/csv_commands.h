#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace quillon {

class AppContext;

// File > Import channels... and Export channels...: the channel table to and
// from a CSV file of the common format.
class CsvCommands : public QObject {
    Q_OBJECT
public:
    struct ImportChoice {
        QString path;
        bool sequential = false;   // rows in file order from channel 1
    };
    // Return nullopt (import) or an empty path (export) when the dialog was cancelled.
    using ImportChooser = std::function<std::optional<ImportChoice>(const QString &startFolder)>;
    using ExportChooser = std::function<QString(const QString &startFolder)>;

    CsvCommands(AppContext &context, QWidget *dialogParent, QObject *parent = nullptr);

    // One undo step over the current windows. When rows are rejected the
    // user is asked first: OK imports the other rows, Cancel changes nothing.
    void importChannels();
    void exportChannels();

    // Replace the file dialogs (tests answer with paths of their own).
    void setImportChooser(ImportChooser chooser) { m_importChooser = std::move(chooser); }
    void setExportChooser(ExportChooser chooser) { m_exportChooser = std::move(chooser); }

private:
    std::optional<ImportChoice> showImportDialog();
    QString showExportDialog();

    AppContext &m_context;
    QWidget *m_dialogParent;
    ImportChooser m_importChooser;
    ExportChooser m_exportChooser;
    QString m_folder;
};

} // namespace quillon
