#include "link/progress_window.h"

#include "i18n/apply_language.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace quillon {

ProgressWindow::ProgressWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_label(new QLabel(this)),
      m_bar(new QProgressBar(this))
{
    setObjectName(QStringLiteral("FrmWriting"));
    setModal(true);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_bar->setObjectName(QStringLiteral("ProgressBar1"));
    m_bar->setTextVisible(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    setMinimumWidth(360);
}

void ProgressWindow::begin(TransferKind kind, Language language)
{
    applyTextTable(this, progressWindowTexts(kind == TransferKind::Write), language);
    m_bar->setRange(1, kind == TransferKind::Write ? TransferProtocol::kWriteLastStep
                                                   : TransferProtocol::kReadLastStep);
    m_bar->setValue(1);
    m_finishing = false;
}

void ProgressWindow::setStep(int step)
{
    m_bar->setValue(step);
}

void ProgressWindow::finish()
{
    m_finishing = true;
    done(QDialog::Accepted);
}

void ProgressWindow::reject()
{
    // Escape: a transfer cannot be cancelled half-way.
    if (m_finishing)
        QDialog::reject();
}

void ProgressWindow::closeEvent(QCloseEvent *event)
{
    if (m_finishing)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

} // namespace quillon
