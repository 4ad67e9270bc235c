// quillon-cli: the radio's images, channels and files without the windows.

#include "command.h"

#include <QCoreApplication>

using namespace quillon::cli;

namespace {

QString overview()
{
    QStringList lines{QStringLiteral("Usage: quillon-cli COMMAND [ARGUMENTS]"), QString(), QStringLiteral("Commands:")};
    for (const Command *command : commands()) {
        lines << QStringLiteral("  quillon-cli ") + command->synopsis;
        lines << QStringLiteral("      ") + command->summary;
    }
    lines << QStringLiteral("  quillon-cli --help | --version | COMMAND --help") << QString()
          << QStringLiteral("Exit codes:")
          << QStringLiteral("  0  success")
          << QStringLiteral("  1  differences found (diff, verify)")
          << QStringLiteral("  2  usage: unknown command or option, missing or extra argument")
          << QStringLiteral("  3  file error: unreadable, foreign identification, not a channel table, cannot write")
          << QStringLiteral("  4  the radio did not answer or answered wrongly")
          << QStringLiteral("  5  write refused: the radio's band differs from the image's")
          << QStringLiteral("  6  verify found differences after a write")
          << QStringLiteral("  7  rows rejected by import (without --skip-bad nothing is written)")
          << QStringLiteral("A port that cannot be opened or has no device counts as 4.")
          << QString()
          << QStringLiteral("Every error is one line on standard error naming the file, line or port and the reason.")
          << QStringLiteral("Files are written atomically: a failing command leaves no half-written file.");
    return lines.join(u'\n');
}

QString commandHelp(const Command &command)
{
    return QStringLiteral("Usage: quillon-cli ") + command.synopsis + QStringLiteral("\n\n") + command.summary
        + QStringLiteral("\n\n") + command.help;
}

} // namespace

int main(int argc, char **argv)
{
    // The command chooses its application before anything else runs.
    const Command *chosen = argc >= 2 ? findCommand(QString::fromLocal8Bit(argv[1])) : nullptr;
    const std::unique_ptr<QCoreApplication> app = chosen && chosen->application
        ? chosen->application(argc, argv)
        : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillon-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));
    Console console;

    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        console.error(QStringLiteral("quillon-cli: a command is needed (see quillon-cli --help)"));
        return kExitUsage;
    }
    const QString name = args[1];
    if (name == u"--help" || name == u"-h" || name == u"help") {
        console.print(overview());
        return kExitSuccess;
    }
    if (name == u"--version") {
        console.print(QStringLiteral("quillon-cli ") + QCoreApplication::applicationVersion());
        return kExitSuccess;
    }
    const Command *command = findCommand(name);
    if (!command) {
        console.error(QStringLiteral("quillon-cli: unknown command \"%1\" (see quillon-cli --help)").arg(name));
        return kExitUsage;
    }

    QCommandLineParser parser;
    parser.addOptions(command->options);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("This help."));
    parser.addOption(help);
    const Invocation invocation{name, parser, {}, console};
    if (!parser.parse(QStringList{args[0]} + args.mid(2)))
        return invocation.usageError(parser.errorText());
    if (parser.isSet(help)) {
        console.print(commandHelp(*command));
        return kExitSuccess;
    }
    const QStringList positionals = parser.positionalArguments();
    if (positionals.size() != command->positionals) {
        return invocation.usageError(positionals.size() < command->positionals
                                         ? QStringLiteral("a file name is missing: ") + command->synopsis
                                         : QStringLiteral("unexpected argument \"%1\"").arg(positionals.last()));
    }
    return command->run({name, parser, positionals, console});
}
