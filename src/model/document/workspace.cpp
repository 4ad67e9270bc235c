#include "document/workspace.h"

#include "image/address_map.h"

namespace quillon {

Workspace decodedWorkspace(const MemoryImage &image, Language language)
{
    Workspace ws;
    ws.language = language;
    ws.readImage = image;
    decodeImage(ws);
    return ws;
}

void decodeImage(Workspace &ws)
{
    // The order matters: the band stored in the image must be selected before
    // the band check, and the names come last so every channel's name shows,
    // also that of a channel the band check cleared.
    ws.channels.setNumOf(ws.readImage, ws.language);
    ws.features.decodeOptionBytes(ws.readImage);
    ws.band.select(ws.readImage.at(kBandIndex));   // 10 or more keeps the band
    ws.channels.setGrid(ws.band);
    ws.features.decodeRest(ws.readImage, ws.language);
    ws.dtmf.decode(ws.readImage);
    ws.features.decodePassword(ws.readImage);
    ws.fm.decode(ws.readImage);
    ws.calibration.decode(ws.readImage);
    ws.channels.decodeNames(ws.readImage);
}

void encodeImage(Workspace &ws)
{
    MemoryImage &image = ws.writeImage;
    ws.channels.encodeRecords(image);
    image.fill(kUnusedAfterChannels, kOptionBytes - 1, 0xFF);
    ws.features.encodeBlock(image, ws.band.index);
    image.fill(kDtmfAniEndCode, kPassword - 1, 0xFF);
    ws.features.encodePassword(image);
    image.fill(kUnusedAfterPassword, kFmChannels.start - 1, 0xFF);
    ws.fm.encode(image);
    image.fill(kUnusedAfterFm, kFixedBytes - 1, 0xFF);
    image.set(kFixedBytes + 0, 0x00);
    image.set(kFixedBytes + 1, 0x01);
    image.set(kFixedBytes + 2, 0x00);
    image.set(kFixedBytes + 3, 0x00);
    image.fill(kUnusedBeforeCalibration, kCalibration - 1, 0xFF);
    ws.calibration.encode(image);
    image.fill(kUnusedAfterCalibration, kChannelNames.start - 1, 0xFF);
    ws.channels.encodeNames(image);
}

} // namespace quillon
