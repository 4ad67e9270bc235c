#include "files/csv_commands.h"

#include "common/app_context.h"
#include "document/channel_import.h"
#include "files/channel_csv.h"
#include "files/file_commands.h"
#include "files/file_io.h"
#include "i18n/csv_texts.h"
#include "i18n/ui_texts.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QStandardPaths>

namespace quillon {

namespace {

// A message box stays readable: the first notices, then how many more.
constexpr int kListedNotices = 20;

QString noticeLines(const QList<CsvNotice> &notices, Language language)
{
    QStringList lines;
    for (const CsvNotice &notice : notices) {
        if (lines.size() == kListedNotices) {
            lines << csv_text::kMoreLines.text(language).arg(notices.size() - kListedNotices);
            break;
        }
        QString where;
        if (notice.line > 0 && notice.channel > 0)
            where = csv_text::kAtLineChannel.text(language).arg(notice.line).arg(notice.channel);
        else if (notice.line > 0)
            where = csv_text::kAtLine.text(language).arg(notice.line);
        else
            where = csv_text::kAtChannel.text(language).arg(notice.channel);
        lines << where + QStringLiteral(": ") + notice.text.text(language);
    }
    return lines.join(u'\n');
}

void appendSection(QString &text, const Bilingual &heading, const QList<CsvNotice> &notices, Language language)
{
    if (notices.isEmpty())
        return;
    text += QStringLiteral("\n\n") + heading.text(language) + u'\n' + noticeLines(notices, language);
}

} // namespace

CsvCommands::CsvCommands(AppContext &context, QWidget *dialogParent, QObject *parent)
    : QObject(parent), m_context(context), m_dialogParent(dialogParent)
{
    m_folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (m_folder.isEmpty() || !QFileInfo(m_folder).isDir())
        m_folder = QDir::homePath();
}

void CsvCommands::importChannels()
{
    const std::optional<ImportChoice> choice = m_importChooser ? m_importChooser(m_folder) : showImportDialog();
    if (!choice || choice->path.isEmpty())
        return;
    m_folder = QFileInfo(choice->path).absolutePath();
    // What is being typed in a cell belongs to the channels the rows replace.
    m_context.commitPendingEdits();
    const Language language = m_context.language();
    const QString caption = csv_text::kImportCaption.text(language);

    const ChannelCsvRead rows = loadChannelCsv(choice->path, choice->sequential);
    switch (rows.status) {
    case ChannelCsvRead::Status::Ok:
        break;
    case ChannelCsvRead::Status::ReadError:
        m_context.showMessage(ui_text::kOpenFailed.text(language) + rows.systemReason, kStyleStop,
                              ui_text::kErrorCaption.text(language));
        return;
    case ChannelCsvRead::Status::BadFile: {
        QString where = QFileInfo(choice->path).fileName();
        if (rows.errorLine > 0)
            where += u' ' + csv_text::kAtLine.text(language).arg(rows.errorLine);
        m_context.showMessage(where + QStringLiteral(": ") + rows.error.text(language), kStyleStop,
                              ui_text::kErrorCaption.text(language));
        return;
    }
    }

    const ChannelImportReport preview = previewChannelImport(m_context.workspace(), rows);
    if (!preview.rejected.isEmpty()) {
        QString question = csv_text::kRejectedCount.text(language).arg(preview.rejected.size());
        appendSection(question, csv_text::kRejectedHeading, preview.rejected, language);
        question += QStringLiteral("\n\n") + csv_text::kImportQuestion.text(language);
        if (m_context.showMessage(question, kStyleQuestion, caption) != kAnswerOk)
            return;
    }

    const ChannelImportReport report = quillon::importChannels(m_context.document(), rows);
    QString summary = csv_text::kImported.text(language).arg(report.imported) + u' '
        + (report.changedChannels.isEmpty()
               ? csv_text::kNoChannelChanged.text(language)
               : csv_text::kChangedChannels.text(language).arg(channelRanges(report.changedChannels)));
    appendSection(summary, csv_text::kRejectedHeading, report.rejected, language);
    appendSection(summary, csv_text::kWarningsHeading, report.warnings, language);
    m_context.showMessage(summary, kStyleInformation, caption);
}

void CsvCommands::exportChannels()
{
    const QString path = m_exportChooser ? m_exportChooser(m_folder) : showExportDialog();
    if (path.isEmpty())
        return;
    m_folder = QFileInfo(path).absolutePath();
    m_context.commitPendingEdits();
    const Language language = m_context.language();
    const Workspace &ws = m_context.workspace();
    const ChannelCsvExport exported = exportChannelCsv(ws.channels, ws.band);
    if (const std::optional<QString> reason = writeFileAtomically(path, exported.bytes)) {
        m_context.showMessage(ui_text::kSaveFailed.text(language) + *reason, kStyleStop,
                              ui_text::kErrorCaption.text(language));
        return;
    }
    // Like Save, a plain export says nothing; values the format cannot carry are told.
    if (!exported.warnings.isEmpty()) {
        QString text = csv_text::kExported.text(language).arg(exported.channels);
        appendSection(text, csv_text::kWarningsHeading, exported.warnings, language);
        m_context.showMessage(text, kStyleExclamation, csv_text::kExportCaption.text(language));
    }
}

std::optional<CsvCommands::ImportChoice> CsvCommands::showImportDialog()
{
    const Language language = m_context.language();
    QFileDialog dialog(m_dialogParent, csv_text::kImportCaption.text(language), m_folder);
    // Qt's own dialog, so that the check box can join it.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const QStringList filters = nameFiltersFromPairs(csv_text::kFilter.text(language));
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.first());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    auto *sequential = new QCheckBox(csv_text::kSequential.text(language), &dialog);
    sequential->setObjectName(QStringLiteral("ChkSequential"));
    if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout()))
        grid->addWidget(sequential, grid->rowCount(), 0, 1, -1);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ImportChoice{dialog.selectedFiles().first(), sequential->isChecked()};
}

QString CsvCommands::showExportDialog()
{
    const Language language = m_context.language();
    QFileDialog dialog(m_dialogParent, csv_text::kExportCaption.text(language), m_folder);
    const QStringList filters = nameFiltersFromPairs(csv_text::kFilter.text(language));
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.first());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

} // namespace quillon
