#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace quillon {

class AppContext;

enum class FileDialogKind { Open, Save };

// Turns a filter of "text|pattern|text|pattern|" pairs into Qt's name filters
// showing the same texts: a text that already ends with its "(pattern)" is
// kept as it is, otherwise the pattern is appended in brackets.
QStringList nameFiltersFromPairs(const QString &pairs);

// The New, Open and Save commands of the File menu and the toolbar.
class FileCommands : public QObject {
    Q_OBJECT
public:
    // Returns the chosen path or an empty text when the dialog was cancelled.
    using FileChooser = std::function<QString(FileDialogKind kind, const QString &startFolder)>;

    FileCommands(AppContext &context, QWidget *dialogParent, QObject *parent = nullptr);

    void newImage();
    // Open asks for the file, then opens it as openFile does.
    void openImage();
    void saveImage();
    // Opens an image file without a dialog (chosen in Open's dialog, named at
    // start, dropped on the window, chosen from the recent files or the radio
    // history), with Open's identification check and messages. False when
    // nothing was opened.
    bool openFile(const QString &path);

    // Replaces the file dialogs (tests answer with a path of their own).
    void setFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }
    // Where the next dialog starts: the folder last used, the user's
    // documents folder at first.
    QString startFolder() const { return m_folder; }

signals:
    // Open brings the channel window up after the image has been decoded.
    void channelWindowRequested();
    // An image file was opened or saved.
    void fileUsed(const QString &path);

private:
    QString chooseFile(FileDialogKind kind);
    QString showDialog(FileDialogKind kind);

    AppContext &m_context;
    QWidget *m_dialogParent;
    FileChooser m_chooser;
    QString m_folder;
};

} // namespace quillon
