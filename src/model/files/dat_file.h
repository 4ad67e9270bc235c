#pragma once

#include "image/memory_image.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace quillon {

// The radio's identification, with which every image file begins.
inline constexpr char kDatIdentification[] = "QVM-7K";
inline constexpr int kDatHeaderSize = 48;
inline constexpr int kDatFileSize = kDatHeaderSize + kImageSize;   // 3120

// The 48-byte header followed by the image.
QByteArray datFileBytes(const MemoryImage &image);
// True when the first six bytes are the radio's identification "QVM-7K".
bool hasDatIdentification(const QByteArray &fileStart);
// The image of a file's bytes; a short file is zero-filled. nullopt when the
// identification does not match.
std::optional<MemoryImage> imageFromDatBytes(const QByteArray &fileBytes);

enum class DatStatus { Ok, WrongType, ReadError, WriteError };

struct DatResult {
    DatStatus status = DatStatus::Ok;
    QString systemReason;   // the operating system's words when a file could not be read or written
};

// Writes atomically: a failed save leaves the old file as it was.
DatResult saveDatFile(const QString &path, const MemoryImage &image);
DatResult loadDatFile(const QString &path, MemoryImage &image);

} // namespace quillon
