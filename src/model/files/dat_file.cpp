#include "files/dat_file.h"

#include "files/file_io.h"

#include <QFile>

namespace quillon {

namespace {

constexpr int kIdentificationSize = 6;
constexpr char kFormatVersion[] = "V0100";

} // namespace

QByteArray datFileBytes(const MemoryImage &image)
{
    QByteArray bytes;
    bytes.reserve(kDatFileSize);
    bytes.append(kDatIdentification, kIdentificationSize);
    bytes.append(4, '\xFF');
    bytes.append(kFormatVersion, 5);
    bytes.append(kDatHeaderSize - bytes.size(), '\xFF');
    bytes.append(image.toByteArray());
    Q_ASSERT(bytes.size() == kDatFileSize);
    return bytes;
}

bool hasDatIdentification(const QByteArray &fileStart)
{
    return fileStart.startsWith(QByteArrayView(kDatIdentification, kIdentificationSize));
}

std::optional<MemoryImage> imageFromDatBytes(const QByteArray &fileBytes)
{
    if (!hasDatIdentification(fileBytes))
        return std::nullopt;
    // Positions past the end of a short file read as 0x00.
    return MemoryImage::fromByteArray(fileBytes.mid(kDatHeaderSize));
}

DatResult saveDatFile(const QString &path, const MemoryImage &image)
{
    if (const std::optional<QString> reason = writeFileAtomically(path, datFileBytes(image)))
        return {DatStatus::WriteError, *reason};
    return {};
}

DatResult loadDatFile(const QString &path, MemoryImage &image)
{
    QFile file(path);
    // ReadOnly never creates a file, so a mistyped name is reported, not made.
    if (!file.open(QIODevice::ReadOnly))
        return {DatStatus::ReadError, file.errorString()};
    // Only the first 3120 bytes matter; a larger file is not read whole.
    const QByteArray bytes = file.read(kDatFileSize);
    if (file.error() != QFileDevice::NoError)
        return {DatStatus::ReadError, file.errorString()};
    std::optional<MemoryImage> loaded = imageFromDatBytes(bytes);
    if (!loaded)
        return {DatStatus::WrongType, {}};
    image = *loaded;
    return {};
}

} // namespace quillon
