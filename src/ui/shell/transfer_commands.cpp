#include "shell/transfer_commands.h"

#include "common/app_context.h"
#include "files/history_window.h"
#include "i18n/link_texts.h"
#include "link/transfer_controller.h"
#include "serial_port.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

namespace quillon {

TransferCommands::TransferCommands(AppContext &context, TransferController &transfer, FileCommands &files,
                                   QWidget *window)
    : QObject(window), m_context(context), m_transfer(transfer), m_files(files), m_window(window)
{
    connect(&m_transfer, &TransferController::transferFinished, this, &TransferCommands::transferFinished);
}

void TransferCommands::install(QMenu *fileMenu, QMenu *programMenu, QStatusBar *statusBar)
{
    auto add = [this](QMenu *menu, const char *name) {
        auto *action = new QAction(menu);
        action->setObjectName(QLatin1String(name));
        menu->addAction(action);
        return action;
    };
    fileMenu->addSeparator();
    m_historyItem = add(fileMenu, "MNHistory");
    connect(m_historyItem, &QAction::triggered, this, [this] { historyWindow()->showHistory(m_context.language()); });

    programMenu->addSeparator();
    m_verifyItem = add(programMenu, "MNVerify");
    connect(m_verifyItem, &QAction::triggered, &m_transfer, &TransferController::verifyRadio);
    m_verifyAfterWritingItem = add(programMenu, "MNVerifyAfterWrite");
    m_verifyAfterWritingItem->setCheckable(true);
    m_verifyAfterWritingItem->setChecked(m_transfer.verifiesAfterWriting());
    connect(m_verifyAfterWritingItem, &QAction::toggled, &m_transfer, &TransferController::setVerifyAfterWriting);
    m_saveTraceItem = add(programMenu, "MNSaveTrace");
    connect(m_saveTraceItem, &QAction::triggered, &m_transfer, &TransferController::saveTrace);

    m_traceOffer = new QLabel(statusBar);
    m_traceOffer->setObjectName(QStringLiteral("PanelTrace"));
    m_traceOffer->setTextFormat(Qt::RichText);
    m_traceOffer->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    m_traceOffer->setVisible(false);
    connect(m_traceOffer, &QLabel::linkActivated, &m_transfer, &TransferController::saveTrace);
    statusBar->addWidget(m_traceOffer);
}

HistoryWindow *TransferCommands::historyWindow()
{
    // Made on first use: it takes its texts whenever it is shown.
    if (!m_history)
        m_history = new HistoryWindow(m_files, m_window);
    return m_history;
}

void TransferCommands::applyLanguage(Language language)
{
    m_historyItem->setText(link_text::kRadioHistory.text(language));
    m_verifyItem->setText(link_text::kVerifyRadio.text(language));
    m_verifyAfterWritingItem->setText(link_text::kVerifyAfterWriting.text(language));
    m_saveTraceItem->setText(link_text::kSaveSerialTrace.text(language));
    m_traceOffer->setText(link_text::kTraceOffer.text(language).toHtmlEscaped() + QStringLiteral("<a href=\"trace\">")
                          + link_text::kSaveSerialTrace.text(language).toHtmlEscaped() + QStringLiteral("</a>"));
}

void TransferCommands::transferFinished(TransferEnd end)
{
    // The message box of the error stays as it is; the offer comes beside it.
    m_traceOffer->setVisible(end == TransferEnd::Timeout || end == TransferEnd::LinkLost);
}

void TransferCommands::describePorts(QComboBox *portList) const
{
    const Language language = m_context.language();
    const QList<PortDescription> ports = quillon::describePorts(m_transfer.openDevice());
    for (int i = 0; i < portList->count() && i < ports.size(); ++i)
        portList->setItemData(i, portDescriptionText(ports[i], language), Qt::ToolTipRole);
}

QString TransferCommands::portToolTip(int number, const QString &reason) const
{
    if (number < 1)
        return reason;
    const PortDescription port = describePort(number, m_transfer.openDevice());
    QString text = portDescriptionText(port, m_context.language());
    // A number without a device is said in our own words, in the language
    // shown now; the reason kept from the open said it in the language of
    // that moment. Any other reason is the system's, as the system put it.
    if (port.state != PortDescription::State::NoDevice && !reason.isEmpty() && !text.contains(reason))
        text += u'\n' + reason;
    return text;
}

} // namespace quillon
