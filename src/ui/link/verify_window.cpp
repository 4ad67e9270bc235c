#include "link/verify_window.h"

#include "i18n/link_texts.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quillon {

namespace {
enum Column { kItem, kInRadio, kWritten, kAddress, kColumns };
}

VerifyWindow::VerifyWindow(QWidget *parent)
    : QDialog(parent), m_label(new QLabel(this)), m_table(new QTableWidget(0, kColumns, this)),
      m_close(new QPushButton(this))
{
    setObjectName(QStringLiteral("FrmVerify"));
    m_label->setObjectName(QStringLiteral("LabelVerify"));
    m_label->setWordWrap(true);
    m_table->setObjectName(QStringLiteral("TableVerify"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_close->setObjectName(QStringLiteral("CmdClose"));
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_close, 0, Qt::AlignRight);
    resize(fontMetrics().averageCharWidth() * 110, fontMetrics().height() * 24);
}

void VerifyWindow::showDifferences(const QList<ImageDifference> &differences, Language language, bool againstWrite)
{
    setWindowTitle(link_text::kVerifyWindowTitle.text(language));
    m_label->setText((againstWrite ? link_text::kVerifyDifferentFromWrite : link_text::kVerifyDifferentFromProgram)
                         .text(language));
    m_close->setText(link_text::kClose.text(language));
    m_table->setHorizontalHeaderLabels({link_text::kColumnItem.text(language), link_text::kColumnInRadio.text(language),
                                        (againstWrite ? link_text::kColumnWritten : link_text::kColumnInProgram)
                                            .text(language),
                                        link_text::kColumnAddress.text(language)});
    m_table->setRowCount(int(differences.size()));
    for (int row = 0; row < differences.size(); ++row) {
        const ImageDifference &d = differences[row];
        const QStringList cells{d.place(language), d.first, d.second, addressesText(d.addresses)};
        for (int column = 0; column < kColumns; ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    m_table->resizeColumnsToContents();
    show();
    raise();
    activateWindow();
}

} // namespace quillon
