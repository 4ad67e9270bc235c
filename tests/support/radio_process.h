#pragma once

#include "files/dat_file.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <optional>

namespace quillon::test {

// quillon-radio-sim as a child process; with a memory, that memory lives in
// a temporary file the radio saves after every session that wrote blocks.
class RadioProcess {
public:
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

    // The pseudo-terminal the radio listens on; empty when it did not start.
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
    MemoryImage savedMemory() const
    {
        MemoryImage image;
        loadDatFile(m_memoryFile, image);
        return image;
    }

private:
    QTemporaryDir m_dir;
    QString m_memoryFile;
    QProcess m_process;
    QStringList m_lines;
};

} // namespace quillon::test
