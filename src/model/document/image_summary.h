#pragma once

#include "features/optional_features.h"
#include "i18n/language.h"
#include "image/memory_image.h"

#include <QList>
#include <QString>
#include <QStringList>

// An image told as the windows would show it after opening it: the band,
// the channels the band check keeps, the optional features.
namespace quillon {

// The names of the channel columns 1..11 outside the program ("rx",
// "tx_tone", "name"); empty for another column.
QString channelFieldName(int column);

// A window's caption without its colon and the blanks around it: "Squelch Level".
QString bareCaption(QString caption);

struct SettingValue {
    QString caption;          // the window's caption without its colon: "Squelch Level"
    QString value;            // as the window shows it
    QList<int> addresses;     // where the image keeps it
};
// Every optional-features setting the image keeps, in the window's order.
QList<SettingValue> featureSettings(const OptionalFeatures &features, Language language);

struct ImageSummary {
    int bandIndex = 0;
    QString band;                  // "400-470MHz"
    QStringList headers;           // the grid's column headers 0..11
    QList<QStringList> channels;   // cells 0..11 of every channel that passes the band check
    QList<SettingValue> settings;
};
ImageSummary summarizeImage(const MemoryImage &image, Language language);

} // namespace quillon
