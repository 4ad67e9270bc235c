#pragma once

#include "features/calibration.h"
#include "features/dtmf.h"
#include "features/fm_radio.h"
#include "features/hidden_modes.h"
#include "features/optional_features.h"
#include "i18n/texts.h"
#include "image/band.h"
#include "image/channel_sheet.h"
#include "image/memory_image.h"

namespace quillon {

// Everything the program edits, in one place: the two image buffers, the
// selected band, the language and the stores behind every editor window.
// Windows show this state and turn gestures into operations on it.
struct Workspace {
    MemoryImage readImage;    // filled by a read or Open; input of decodeImage
    MemoryImage writeImage;   // output of encodeImage; saved and written
    Language language = Language::English;
    BandState band;
    ChannelSheet channels;
    OptionalFeatures features;
    DtmfSettings dtmf;
    FmRadio fm;
    CalibrationStore calibration;
    HiddenModes modes;
};

// Fills every store from readImage. Changes readImage only at 0x0717.
void decodeImage(Workspace &workspace);
// A fresh workspace in the language with the image decoded into it.
Workspace decodedWorkspace(const MemoryImage &image, Language language = Language::English);
// Fills writeImage from every store. A step whose conversion fails leaves its
// bytes as the previous encoding left them.
void encodeImage(Workspace &workspace);

} // namespace quillon
