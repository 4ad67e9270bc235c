#include "shell/help_window.h"

#include "help_viewer.h"
#include "i18n/ui_texts.h"

#include <QTextBrowser>
#include <QVBoxLayout>

namespace quillon {

HelpWindow::HelpWindow(QWidget *parent)
    : QDialog(parent), m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("FrmHelp"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_browser->setObjectName(QStringLiteral("Browser"));
    m_browser->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    const int em = fontMetrics().averageCharWidth();
    resize(em * 90, em * 80);
}

void HelpWindow::showGuide(Language language)
{
    setWindowTitle(ui_text::kGuideTitle.text(language));
    m_browser->setHtml(userGuideHtml(language));
    show();
    raise();
    activateWindow();
}

} // namespace quillon
