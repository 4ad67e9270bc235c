#include "files/file_io.h"

#include <QFile>
#include <QSaveFile>

namespace quillon {

std::optional<QString> writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    // QSaveFile writes a temporary file and renames it over the old one on
    // commit, so the old file survives any failure and a longer old file
    // does not keep its tail.
    QSaveFile file(path);
    // Unbuffered, so a short write (a full disk, a size limit) shows in the
    // count write() returns; a buffered write hides it until the flush inside
    // commit(), which may then rename a cut file into place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

FileRead readFileBounded(const QString &path, qint64 limit)
{
    FileRead result;
    QFile file(path);
    // ReadOnly never creates a file, so a mistyped name is reported, not made.
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    result.bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        result.bytes.clear();
        return result;
    }
    result.tooLarge = result.bytes.size() > limit;
    return result;
}

} // namespace quillon
