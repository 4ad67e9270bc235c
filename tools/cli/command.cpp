#include "command.h"

#include "files/dat_file.h"
#include "files/file_io.h"
#include "i18n/messages.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace quillon::cli {

namespace {

std::vector<Command> &registry()
{
    static std::vector<Command> commands;
    return commands;
}

void put(std::FILE *stream, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

void Console::print(const QString &line)
{
    put(stdout, line.toUtf8() + '\n');
}

void Console::write(const QByteArray &bytes)
{
    put(stdout, bytes);
}

void Console::error(const QString &line)
{
    put(stderr, line.toUtf8() + '\n');
}

int Invocation::usageError(const QString &reason) const
{
    console.error(QStringLiteral("quillon-cli %1: %2 (see quillon-cli %1 --help)").arg(command, reason));
    return kExitUsage;
}

CommandRegistration::CommandRegistration(Command command)
{
    registry().push_back(std::move(command));
}

QList<const Command *> commands()
{
    QList<const Command *> list;
    for (const Command &command : registry())
        list.append(&command);
    std::stable_sort(list.begin(), list.end(), [](const Command *a, const Command *b) { return a->order < b->order; });
    return list;
}

const Command *findCommand(const QString &name)
{
    for (const Command &command : registry()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

std::optional<MemoryImage> loadImage(const Invocation &invocation, const QString &path)
{
    MemoryImage image;
    const DatResult result = loadDatFile(path, image);
    switch (result.status) {
    case DatStatus::Ok:
        return image;
    case DatStatus::WrongType:
        invocation.console.error(path + QStringLiteral(": ")
                                 + messageText(Message::FileTypeIncorrect, Language::English).text
                                 + QStringLiteral(" (no %1 identification)").arg(QLatin1String(kDatIdentification)));
        break;
    case DatStatus::ReadError:
    case DatStatus::WriteError:
        invocation.console.error(path + QStringLiteral(": cannot be read: ") + result.systemReason);
        break;
    }
    return std::nullopt;
}

bool writeOutput(const Invocation &invocation, const QString &path, const QByteArray &bytes)
{
    if (const std::optional<QString> reason = writeFileAtomically(path, bytes)) {
        invocation.console.error(path + QStringLiteral(": cannot be written: ") + *reason);
        return false;
    }
    return true;
}

QCommandLineOption languageOptionSpec()
{
    return {QStringLiteral("language"), QStringLiteral("Texts in English (en) or Chinese (zh)."),
            QStringLiteral("en|zh"), QStringLiteral("en")};
}

std::optional<Language> languageOption(const Invocation &invocation)
{
    const QString value = invocation.parser.value(QStringLiteral("language"));
    if (value == u"en")
        return Language::English;
    if (value == u"zh")
        return Language::Chinese;
    invocation.usageError(QStringLiteral("--language must be en or zh, not \"%1\"").arg(value));
    return std::nullopt;
}

} // namespace quillon::cli
