#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace quillon {

// Writes bytes to path atomically: on any failure the old file stays as it
// was and nothing half-written is left behind. Returns the system's reason
// on failure, nullopt on success.
std::optional<QString> writeFileAtomically(const QString &path, const QByteArray &bytes);

struct FileRead {
    QByteArray bytes;
    QString error;        // the system's reason; empty when the file was read
    bool tooLarge = false; // the file holds more than the limit (bytes holds the first limit + 1)
};
// Reads at most limit bytes; a longer file is reported, never read whole.
FileRead readFileBounded(const QString &path, qint64 limit);

} // namespace quillon
