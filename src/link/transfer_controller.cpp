#include "link/transfer_controller.h"

#include "shell/app_context.h"

namespace quillon {

TransferController::TransferController(AppContext &context, QWidget *dialogParent, QObject *parent)
    : QObject(parent), m_context(context), m_dialogParent(dialogParent)
{
}

bool TransferController::openPort(int number, QString *reason)
{
    m_portNumber = number;
    if (reason)
        *reason = QStringLiteral("not built yet");
    return false;
}

void TransferController::closePort() {}
bool TransferController::isPortOpen() const { return false; }
int TransferController::portNumber() const { return m_portNumber; }
QString TransferController::deviceName(int) { return {}; }
void TransferController::readRadio() {}
void TransferController::writeRadio() {}

} // namespace quillon
