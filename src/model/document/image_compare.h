#pragma once

#include "i18n/language.h"
#include "image/memory_image.h"

#include <QList>
#include <QString>

#include <functional>

namespace quillon {

// One difference between two images, told as the windows show the values.
struct ImageDifference {
    enum class Area { Band, Channel, Setting, Dtmf, Fm, Calibration, Bytes };
    Area area = Area::Bytes;
    int number = 0;        // channel 1..128, FM channel 1..32, calibration slider 0..8; 0 otherwise
    QString field;         // channel: rx, tx, rx_tone, tx_tone, power, busy_lock, scan_add, bandwidth,
                           // tx_prohibit, scramble, name; otherwise the caption in the language
    QString first;         // the value in the first image, as shown
    QString second;        // the value in the second image
    QList<int> addresses;  // the image addresses that differ

    // "channel 12 rx: 146.52000 -> 146.55000", "setting Squelch Level: 5 -> 3",
    // "bytes 0x0680-0x0681: FF FF -> 00 00".
    QString line() const;
    // Where the difference lies, in the language: "Channel 5 Power",
    // "Squelch Level", "FM radio Channel 2", "Bytes".
    QString place(Language language) const;
};

// Addresses as runs: "0x0040", "0x0034-0x0037, 0x0041".
QString addressesText(const QList<int> &addresses);

// Which addresses take part: all of them when empty.
using AddressFilter = std::function<bool(int address)>;

// Every difference between images a and b: each image is decoded on its own
// (with its own band) and the decoded values compared field by field; bytes
// that differ but change no decoded value (areas that are not decoded, bits
// the passes ignore) are listed by address. In address order of the fields.
QList<ImageDifference> compareImages(const MemoryImage &a, const MemoryImage &b, Language language,
                                     const AddressFilter &compared = {});

} // namespace quillon
