// ports: what stands behind the port numbers 1..16.

#include "command.h"

#include "serial_port.h"

#include <algorithm>

namespace quillon::cli {

namespace {

int run(const Invocation &invocation)
{
    const Language language = Language::English;
    const QStringList headers{QStringLiteral("PORT"), QStringLiteral("DEVICE"), QStringLiteral("ADAPTER"),
                              QStringLiteral("USB ID"), QStringLiteral("STATE")};
    QList<QStringList> rows;
    QStringList hints;
    for (const PortDescription &port : describePorts()) {
        if (port.state == PortDescription::State::NoDevice)
            continue;
        rows.append({QString::number(port.number), port.device, portAdapterText(port),
                     portUsbIdText(port, language), portStateText(port, language)});
        const QString hint = portPermissionHint(port, language);
        if (!hint.isEmpty() && !hints.contains(hint))
            hints << hint;
    }
    if (rows.isEmpty()) {
        invocation.console.print(QStringLiteral("No serial device is known as a port."));
        return kExitSuccess;
    }
    QList<qsizetype> widths;
    for (const QString &header : headers)
        widths << header.size();
    for (const QStringList &row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size());
    }
    const auto line = [&](const QStringList &cells) {
        QString text;
        for (qsizetype i = 0; i < cells.size(); ++i)
            text += i + 1 < cells.size() ? cells[i].leftJustified(widths[i] + 2) : cells[i];
        invocation.console.print(text.trimmed());
    };
    line(headers);
    for (const QStringList &row : rows)
        line(row);
    for (const QString &hint : hints)
        invocation.console.print(hint);
    return kExitSuccess;
}

const CommandRegistration registration({
    QStringLiteral("ports"),
    5,
    QStringLiteral("ports"),
    QStringLiteral("List the serial ports: number, device, adapter, USB vendor:product id and state."),
    QStringLiteral("One line for every port number that has a device, numbered as the windows'\n"
                   "port list numbers them (on Windows port n is COMn; elsewhere the system's serial\n"
                   "devices, USB adapters first, or the colon-separated list in QUILLON_SERIAL_PORTS).\n"
                   "Each device is opened for a moment to tell its state: Available, Busy (another\n"
                   "program holds it), Not permitted (with the dialout hint on Linux), No such device,\n"
                   "with the system's reason."),
    0,
    {},
    run,
});

} // namespace

} // namespace quillon::cli
