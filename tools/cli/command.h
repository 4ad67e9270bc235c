#pragma once

#include "i18n/language.h"
#include "image/memory_image.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// The command-line tool's commands. Each lives in a file of its own and
// registers itself with a CommandRegistration; main() finds it by name,
// parses its options and runs it.
namespace quillon::cli {

// What the tool returns to the shell; --help lists them.
enum ExitCode : int {
    kExitSuccess = 0,
    kExitDifferent = 1,      // diff, verify: the images differ
    kExitUsage = 2,
    kExitFile = 3,           // unreadable, foreign identification, cannot write
    kExitRadio = 4,          // the radio did not answer or answered wrongly
    kExitWriteRefused = 5,   // the radio's band is not the image's
    kExitVerifyFailed = 6,   // write --verify read back other bytes
    kExitRowsRejected = 7,   // import: rows rejected (nothing written without --skip-bad)
};

// Standard output for results, standard error for one-line messages.
class Console {
public:
    void print(const QString &line);          // a line on standard output
    void write(const QByteArray &bytes);      // bytes on standard output as they are
    void error(const QString &line);          // a line on standard error
};

struct Invocation {
    QString command;
    const QCommandLineParser &parser;
    QStringList arguments;   // the positional arguments
    Console &console;

    // "quillon-cli info: reason (see quillon-cli info --help)" and the usage exit code.
    int usageError(const QString &reason) const;
};

struct Command {
    QString name;
    int order = 0;                     // place in the overview
    QString synopsis;                  // "info IMAGE.dat [--json] [--language en|zh]"
    QString summary;                   // one line for the overview
    QString help;                      // what COMMAND --help adds after the synopsis
    int positionals = 0;               // exactly this many positional arguments
    QList<QCommandLineOption> options;
    int (*run)(const Invocation &invocation) = nullptr;
    // The application the command runs in; a QCoreApplication when null.
    // Only the report draws, so only it needs more than Qt Core.
    std::unique_ptr<QCoreApplication> (*application)(int &argc, char **argv) = nullptr;
};

class CommandRegistration {
public:
    explicit CommandRegistration(Command command);
};

// Every registered command, in overview order.
QList<const Command *> commands();
const Command *findCommand(const QString &name);

// ---- helpers shared by the commands

// The image of a .dat file; on failure an error line naming the file and the exit code kExitFile.
std::optional<MemoryImage> loadImage(const Invocation &invocation, const QString &path);
// Writes bytes atomically; on failure an error line naming the file.
bool writeOutput(const Invocation &invocation, const QString &path, const QByteArray &bytes);
// --language en|zh (English when absent); nullopt after a usage error line.
std::optional<Language> languageOption(const Invocation &invocation);
QCommandLineOption languageOptionSpec();

} // namespace quillon::cli
