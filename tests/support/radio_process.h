#pragma once

// quillon-radio-sim as a child process of a test, for the tests CMake marks
// with uses_radio_sim (they know where the simulator is and run one at a
// time on the machine).

#include "files/dat_file.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <optional>

#ifndef QUILLON_RADIO_SIM
#error "a test that starts the simulated radio is declared with uses_radio_sim()"
#endif

namespace quillon::test {

// A simulated radio on a pseudo-terminal, started with the simulator's
// options, its memory in a temporary file. The process ends with the object.
class RadioProcess {
public:
    // With a memory, that memory lives in a temporary file the radio saves
    // after every session that wrote blocks; without one the radio starts
    // with its own sample channels.
    explicit RadioProcess(const QStringList &options, const std::optional<MemoryImage> &memory = std::nullopt)
    {
        QStringList arguments = options;
        if (memory) {
            m_memoryFile = m_dir.filePath(QStringLiteral("radio.dat"));
            saveDatFile(m_memoryFile, *memory);
            arguments << QStringLiteral("--memory") << m_memoryFile;
        }
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process, [this] {
            while (m_process.canReadLine())
                m_lines.append(QString::fromLocal8Bit(m_process.readLine()).trimmed());
        });
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(QUILLON_RADIO_SIM), arguments);
    }
    ~RadioProcess()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    RadioProcess(const RadioProcess &) = delete;
    RadioProcess &operator=(const RadioProcess &) = delete;

    // The slave device the radio listens on; empty when it did not start.
    QString device()
    {
        waitForLine(QStringLiteral("device: "));
        return m_lines.isEmpty() ? QString() : m_lines.first().mid(8);
    }
    bool waitForLine(const QString &prefix, int count = 1)
    {
        return QTest::qWaitFor([&] { return linesStartingWith(prefix) >= count; }, 10000);
    }
    int linesStartingWith(const QString &prefix) const
    {
        return int(std::count_if(m_lines.begin(), m_lines.end(), [&](const QString &l) { return l.startsWith(prefix); }));
    }
    QStringList linesWith(const QString &prefix) const
    {
        QStringList found;
        for (const QString &line : m_lines)
            if (line.startsWith(prefix))
                found << line;
        return found;
    }
    QString lastSessionEnd() const
    {
        for (auto it = m_lines.rbegin(); it != m_lines.rend(); ++it)
            if (it->startsWith(QLatin1String("session end")))
                return *it;
        return {};
    }
    MemoryImage savedMemory() const
    {
        MemoryImage image;
        loadDatFile(m_memoryFile, image);
        return image;
    }
    void kill() { m_process.kill(); }

private:
    QTemporaryDir m_dir;
    QString m_memoryFile;
    QProcess m_process;
    QStringList m_lines;
};

} // namespace quillon::test
