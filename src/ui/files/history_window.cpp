#include "files/history_window.h"

#include "files/dat_file.h"
#include "files/file_commands.h"
#include "i18n/link_texts.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quillon {

namespace {
enum Column { kDate, kDirection, kBand, kChannels, kNames, kColumns };
}

HistoryWindow::HistoryWindow(FileCommands &files, QWidget *parent)
    : QDialog(parent), m_files(files), m_folder(new QLabel(this)), m_table(new QTableWidget(0, kColumns, this)),
      m_open(new QPushButton(this)), m_close(new QPushButton(this))
{
    setObjectName(QStringLiteral("FrmHistory"));
    m_folder->setObjectName(QStringLiteral("LabelFolder"));
    m_folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_table->setObjectName(QStringLiteral("TableHistory"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_open->setObjectName(QStringLiteral("CmdOpen"));
    m_open->setDefault(true);
    m_close->setObjectName(QStringLiteral("CmdClose"));
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { openRow(row); });
    connect(m_open, &QPushButton::clicked, this, [this] { openRow(m_table->currentRow()); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_open);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_folder);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    resize(fontMetrics().averageCharWidth() * 110, fontMetrics().height() * 28);
}

void HistoryWindow::showHistory(Language language)
{
    const RadioHistory history(RadioHistory::defaultFolder());
    m_entries = history.entries();

    setWindowTitle(link_text::kHistoryWindowTitle.text(language));
    m_folder->setText(m_entries.isEmpty() ? link_text::kHistoryEmpty.text(language) + u'\n'
                                                + link_text::kHistoryFolder.text(language)
                                                + QDir::toNativeSeparators(history.folder())
                                          : link_text::kHistoryFolder.text(language)
                                                + QDir::toNativeSeparators(history.folder()));
    m_open->setText(link_text::kOpen.text(language));
    m_close->setText(link_text::kClose.text(language));
    m_table->setHorizontalHeaderLabels({link_text::kColumnDate.text(language),
                                        link_text::kColumnDirection.text(language),
                                        link_text::kColumnBand.text(language),
                                        link_text::kColumnChannels.text(language),
                                        link_text::kColumnNames.text(language)});
    m_table->setRowCount(int(m_entries.size()));
    for (int row = 0; row < m_entries.size(); ++row) {
        const HistoryEntry &entry = m_entries[row];
        MemoryImage image;
        const bool readable = loadDatFile(entry.path, image).status == DatStatus::Ok;
        const HistorySummary summary = readable ? summarizeHistoryImage(image) : HistorySummary{};
        const QStringList cells{
            entry.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
            (entry.direction == HistoryDirection::Read ? link_text::kDirectionRead : link_text::kDirectionWritten)
                .text(language),
            entry.band,
            readable ? QString::number(summary.channelsInUse) : QString(),
            summary.firstNames.join(QStringLiteral(", ")),
        };
        for (int column = 0; column < kColumns; ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    m_table->resizeColumnsToContents();
    if (!m_entries.isEmpty())
        m_table->selectRow(0);
    m_open->setEnabled(!m_entries.isEmpty());
    show();
    raise();
    activateWindow();
}

void HistoryWindow::openRow(int row)
{
    if (row < 0 || row >= m_entries.size())
        return;
    if (m_files.openFile(m_entries[row].path))
        close();
}

} // namespace quillon
