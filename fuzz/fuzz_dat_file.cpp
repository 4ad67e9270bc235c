// The .dat file through open, decode, edits, encode and save.
//
// Input: a .dat file. Its first 3120 bytes are the file Open reads (an input
// without the identification is also tried as the image behind a correct
// header); the low bit of the last header byte picks the language, that of
// the one before whether the image is also summarised and compared. Bytes past
// the 3120 are what Open ignores; here they are a script of edits made in
// the document before saving (see edit()).
//
// Properties: the file's image is the bytes behind the header; decoding
// changes the read image only at 0x0717; encoding sets every byte but the
// three FM settings that may keep an earlier encoding's, with the values
// the address map documents in the unused and fixed areas; encoding twice, saving twice and saving
// what was opened from a save give the same bytes; the comparison of two
// images finds nothing exactly when they are equal; undoing every step and
// redoing them comes back to the same state.

#include "fuzz_support.h"

#include "document/channel_edits.h"
#include "document/document.h"
#include "document/image_compare.h"
#include "document/image_summary.h"
#include "document/workspace.h"
#include "files/dat_file.h"
#include "image/address_map.h"
#include "image/codecs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <array>
#include <utility>

using namespace quillon;
using fuzz::Input;

namespace {

constexpr int kScriptLimit = 32;   // edits per input: enough to combine them, short enough to stay fast

// The option block's bytes that hold nothing (always 0xFF) and its bits the
// radio expects set whatever the settings say.
constexpr int kOptionFillers[] = {kOptionBytes + 0x0B, kOptionBytes + 0x0E, kOptionRest, kPowerOnText + 6,
                                  kPowerOnText + 7,    kVfoOptions + 1,     kVfoShiftDirection + 1};
constexpr std::pair<int, std::uint8_t> kOptionFixedBits[] = {{kOptionBytes + 7, 0x10}, {kOptionBytes + 8, 0x02}};

struct Stores {
    BandState band;
    ChannelSheet channels;
    OptionalFeatures features;
    DtmfSettings dtmf;
    FmRadio fm;
    CalibrationStore calibration;

    explicit Stores(const Workspace &ws)
        : band(ws.band), channels(ws.channels), features(ws.features), dtmf(ws.dtmf), fm(ws.fm),
          calibration(ws.calibration) {}
    bool operator==(const Stores &other) const = default;
};

QList<int> channels(Input &in)
{
    QList<int> list;
    const int count = in.range(1, 6);
    for (int i = 0; i < count; ++i)
        list.append(in.range(1, ChannelSheet::kChannels));
    return list;
}

constexpr std::array kTextFeatures{Feature::PriorityChannel, Feature::PresentChannel, Feature::Password,
                                   Feature::PowerOnText,     Feature::VfoFrequency,   Feature::VfoOffset};

// One edit a user gesture stands for; false when it switched the language.
// The arguments are read in order before each call.
bool edit(Document &document, Input &in)
{
    const int channel = in.range(0, ChannelSheet::kChannels + 1);   // 0 and 129 are no channel
    switch (in.byte() % 20) {
    case 0: {
        const int column = in.range(0, ChannelSheet::kColumns);
        document.commitFrequency(channel, column, in.text());
        break;
    }
    case 1: document.commitName(channel, in.text()); break;
    case 2: {
        const int column = in.range(0, ChannelSheet::kColumns);
        document.chooseTone(channel, column, in.range(-1, 266));
        break;
    }
    case 3: {
        const int column = in.range(kColumnPower, kColumnScramble);
        document.chooseOption(channel, column, in.range(-1, 4));
        break;
    }
    case 4: {
        const Feature id = Feature(in.range(0, kFeatureCount - 1));
        document.setFeatureSelection(id, in.range(-1, 300));
        break;
    }
    case 5: {
        const Feature id = kTextFeatures[in.range(0, kTextFeatures.size() - 1)];
        document.setFeatureText(id, in.text());
        break;
    }
    case 6: {
        const int fmChannel = in.range(1, FmRadio::kChannels);
        document.commitFmCell(fmChannel, in.text());
        break;
    }
    case 7: document.commitFmFrequencyMode(in.text()); break;
    case 8: {
        document.selectFmPresentChannel(in.text());
        document.selectFmDisplayMode(in.range(-1, 3));
        document.selectFmStep(in.range(-1, 4));
        break;
    }
    case 9: document.confirmFm(); break;
    case 10: {
        const int k = in.range(0, CalibrationStore::kCount - 1);
        document.setCalibrationValue(k, in.range(-300, 600));
        break;
    }
    case 11: {
        const bool confirmed = in.flag();
        const int band = in.range(-1, kBandCount);
        confirmed ? document.confirmBandChange(band) : document.selectBand(band);
        break;
    }
    case 12: document.setLanguage(in.flag() ? Language::English : Language::Chinese); return false;
    case 13: in.flag() ? document.redo() : document.undo(); break;
    case 14: document.newImage(); break;
    case 15: document.encode(); break;   // an earlier save: failed steps keep its bytes
    case 16: {
        const int at = in.range(1, ChannelSheet::kChannels);
        const int column = in.range(1, kColumnName);
        const QString pasted = in.text();
        CellBlock block;
        block.firstChannel = in.range(1, ChannelSheet::kChannels);
        block.lastChannel = in.range(1, ChannelSheet::kChannels);
        block.firstColumn = in.range(1, kColumnName);
        block.lastColumn = in.range(1, kColumnName);
        pasteText(document, at, column, pasted, {block});
        break;
    }
    case 17: clearChannels(document, channels(in)); break;
    case 18:
        switch (in.byte() % 4) {
        case 0: insertChannel(document, in.range(1, ChannelSheet::kChannels)); break;
        case 1: removeChannels(document, channels(in)); break;
        case 2: {
            const QList<int> moved = channels(in);
            moveChannels(document, moved, in.flag() ? 1 : -1);
            break;
        }
        default: sortByReceiveFrequency(document, in.flag() ? QList<int>{} : channels(in)); break;
        }
        break;
    default: {
        const QList<int> filled = channels(in);
        fillDown(document, filled, in.range(1, kColumnName));
        break;
    }
    }
    return true;
}

// Bytes an encoding may leave as the previous encoding left them: the FM
// present channel, display mode and step, whose stores take any value
// (a decoded byte, no selection) but which are written only when it fits.
// Every other byte is set by every encoding of what the editors and a
// decode produce: their texts always convert.
bool mayKeep(int address)
{
    return address >= kFmPresentChannel && address <= kFmStep;
}

QString at(int address)
{
    return QStringLiteral("0x%1").arg(address, 4, 16, QLatin1Char('0'));
}

void checkFill(const MemoryImage &image, int first, int last, std::uint8_t value, const char *area)
{
    for (int a = first; a <= last; ++a)
        FUZZ_CHECK(image.at(a) == value, QStringLiteral("%1 at %2 is %3, not %4").arg(QLatin1String(area), at(a), hex2(image.at(a)), hex2(value)));
}

// The values the address map gives for the areas without data and for
// what the stores decide alone.
void checkDocumented(const Workspace &ws, const MemoryImage &image)
{
    for (int channel = 1; channel <= ChannelSheet::kChannels; ++channel) {
        const int r = kChannelRecords.address(channel - 1);
        if (ws.channels.row(channel).rxText.isEmpty()) {
            checkFill(image, r, r + kChannelRecords.recordSize - 1, 0xFF, "the record of an empty channel");
        } else {
            // A first byte of 0xFF would turn the channel into an empty one.
            FUZZ_CHECK(image.at(r) != 0xFF, QStringLiteral("channel %1 (%2) written as empty").arg(channel).arg(ws.channels.row(channel).rxText));
            FUZZ_CHECK(image.at(r + 12) & 0x80, QStringLiteral("channel %1 flags without bit 7").arg(channel));
        }
        FUZZ_CHECK(image.bytes(kChannelNames.address(channel - 1), 8) == channelNameBytes(ws.channels.row(channel).name),
                   QStringLiteral("name of channel %1").arg(channel));
    }
    checkFill(image, kUnusedAfterChannels, kOptionBytes - 1, 0xFF, "unused area after the channels");
    for (int a : kOptionFillers)
        checkFill(image, a, a, 0xFF, "filler byte of the option block");
    for (const auto &[address, bits] : kOptionFixedBits)
        FUZZ_CHECK((image.at(address) & bits) == bits, QStringLiteral("fixed bits %1 at %2").arg(hex2(bits), at(address)));
    FUZZ_CHECK(image.bytes(kFixedModelText, 6) == "QVN-7K", QStringLiteral("model text ") + fuzz::hexText(image.bytes(kFixedModelText, 6)));
    FUZZ_CHECK(image.at(kBandIndex) == ws.band.index, QStringLiteral("band index %1 for band %2").arg(image.at(kBandIndex)).arg(ws.band.index));
    checkFill(image, kDtmfAniEndCode, kPassword - 1, 0xFF, "DTMF text");
    checkFill(image, kUnusedAfterPassword, kFmChannels.start - 1, 0xFF, "unused area after the password");
    checkFill(image, kFmUnused, kFmUnused, 0xFF, "unused FM byte");
    checkFill(image, kUnusedAfterFm, kFixedBytes - 1, 0xFF, "unused area after the FM radio");
    FUZZ_CHECK(image.bytes(kFixedBytes, 4) == QByteArray::fromHex("00010000"), QStringLiteral("fixed bytes ") + fuzz::hexText(image.bytes(kFixedBytes, 4)));
    checkFill(image, kUnusedBeforeCalibration, kCalibration - 1, 0xFF, "unused area before the calibration");
    for (int k = 0; k < CalibrationStore::kCount; ++k)
        FUZZ_CHECK(image.at(CalibrationStore::kAddresses[k]) == ws.calibration.value(k), QStringLiteral("calibration value %1").arg(k));
    checkFill(image, kUnusedAfterCalibration, kChannelNames.start - 1, 0xFF, "unused area after the calibration");
}

// The workspace encoded over another earlier image than its own: the bytes
// where the two encodings differ are bytes the encoding kept.
void checkEncodingRegions(const Workspace &workspace, const MemoryImage &encoded)
{
    Workspace other = workspace;
    other.writeImage = MemoryImage::fromByteArray(QByteArray(kImageSize, '\xA5'));
    encodeImage(other);
    for (int a = 0; a < kImageSize; ++a) {
        if (encoded.at(a) != other.writeImage.at(a))
            FUZZ_CHECK(mayKeep(a), QStringLiteral("encoding left %1 as the earlier image had it").arg(at(a)));
    }
    checkDocumented(workspace, encoded);
    checkDocumented(workspace, other.writeImage);
}

QString scratchFile()
{
    // In memory where the system has it: a save syncs its file to the disk.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/quillon-fuzz-XXXXXX")
                                                                        : QDir::tempPath() + QStringLiteral("/quillon-fuzz-XXXXXX"));
    FUZZ_CHECK(dir.isValid(), dir.errorString());
    return dir.filePath(QStringLiteral("image.dat"));
}

QByteArray saved(const MemoryImage &image)
{
    const QString path = scratchFile();
    FUZZ_CHECK(saveDatFile(path, image).status == DatStatus::Ok, QStringLiteral("save to ") + path);
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly), path);
    return file.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    QByteArray file = input.left(kDatFileSize);
    const bool identified = file.startsWith("QVM-7K");
    FUZZ_CHECK(imageFromDatBytes(file).has_value() == identified, QStringLiteral("identification"));
    if (!identified)
        file = datFileBytes(MemoryImage{}).left(kDatHeaderSize) + file.left(kImageSize);
    const std::optional<MemoryImage> opened = imageFromDatBytes(file);
    FUZZ_CHECK(opened.has_value(), QStringLiteral("a file with the identification"));
    QByteArray behindHeader = file.mid(kDatHeaderSize);
    behindHeader.append(kImageSize - behindHeader.size(), '\0');   // a short file reads as zeros
    FUZZ_CHECK(opened->toByteArray() == behindHeader, QStringLiteral("image behind the header"));
    FUZZ_CHECK(imageFromDatBytes(datFileBytes(*opened)) == opened, QStringLiteral("file bytes of the image"));

    // Two header bytes the file format leaves unread choose the language and
    // whether the image is also summarised and compared (those decode it
    // twice more, at about the cost of all the rest).
    const auto headerBit = [&file](int at) { return file.size() > at && (file.at(at) & 1); };
    const Language language = headerBit(kDatHeaderSize - 1) ? Language::English : Language::Chinese;
    const bool reports = headerBit(kDatHeaderSize - 2);
    Document document;
    document.setLanguage(language);
    document.openImage(*opened);
    MemoryImage expectedRead = *opened;
    expectedRead.set(kOptionRest, 0xFF);
    FUZZ_CHECK(document.workspace().readImage == expectedRead, QStringLiteral("decoding changed the read image beyond 0x0717"));
    FUZZ_CHECK(!document.isModified(), QStringLiteral("modified right after opening"));
    if (reports) {
        const ImageSummary summary = summarizeImage(*opened, language);
        int kept = 0;
        for (int channel = 1; channel <= ChannelSheet::kChannels; ++channel)
            kept += document.workspace().channels.passesBandCheck(channel, document.workspace().band) ? 1 : 0;
        FUZZ_CHECK(summary.channels.size() == kept, QStringLiteral("summary lists %1 channels, the band check keeps %2").arg(summary.channels.size()).arg(kept));
    }

    Input script(data + std::min<std::size_t>(size, kDatFileSize), size - std::min<std::size_t>(size, kDatFileSize));
    const bool edited = !script.atEnd();
    bool oneLanguage = true;
    for (int i = 0; i < kScriptLimit && !script.atEnd(); ++i)
        oneLanguage = edit(document, script) && oneLanguage;

    const Stores beforeSave(document.workspace());
    const MemoryImage first = document.encode();
    checkEncodingRegions(document.workspace(), first);
    const MemoryImage second = document.encode();
    FUZZ_CHECK(first == second, QStringLiteral("encoding twice gave two images"));
    FUZZ_CHECK(Stores(document.workspace()) == beforeSave, QStringLiteral("encoding changed the stores"));

    const QByteArray savedOnce = saved(first);
    FUZZ_CHECK(savedOnce == datFileBytes(first), QStringLiteral("saved file differs from the image's file bytes"));
    FUZZ_CHECK(saved(document.encode()) == savedOnce, QStringLiteral("saving twice gave two files"));
    MemoryImage loaded;
    FUZZ_CHECK(loadDatFile(scratchFile(), loaded).status == DatStatus::Ok && loaded == first, QStringLiteral("loading the saved file"));

    // What was saved, opened again and saved, is what was saved.
    Workspace reopened;   // a Document's own, freshly started
    reopened.language = language;
    reopened.readImage = loaded;
    decodeImage(reopened);
    encodeImage(reopened);
    const MemoryImage &again = reopened.writeImage;
    // A band chosen with the keyboard keeps the channels of the band before
    // (as the old program does), and they are saved; opening drops them by
    // the band check. Nothing else may change.
    MemoryImage expected = first;
    for (int channel = 1; channel <= ChannelSheet::kChannels; ++channel) {
        if (!document.workspace().channels.passesBandCheck(channel, document.workspace().band)) {
            const int r = kChannelRecords.address(channel - 1);
            expected.fill(r, r + kChannelRecords.recordSize - 1, 0xFF);
        }
    }
    if (again != expected) {
        QString listed;
        for (const ImageDifference &difference : compareImages(expected, again, language))
            listed += QStringLiteral("\n  ") + difference.line();
        fuzz::fail("again == expected", __FILE__, __LINE__, QStringLiteral("saving an opened save changed it:") + listed);
    }
    if (reports) {
        FUZZ_CHECK(compareImages(*opened, first, language).isEmpty() == (*opened == first),
                   QStringLiteral("comparison of the opened and the saved image"));
    }

    // Every step taken back and done again restores the same state.
    if (edited && oneLanguage) {
        const Stores afterEdits(document.workspace());
        int steps = 0;
        while (document.canUndo()) {
            document.undo();
            ++steps;
        }
        FUZZ_CHECK(Stores(document.workspace()) == Stores(Document().workspace()),
                   QStringLiteral("undoing all %1 steps did not reach the start").arg(steps));
        // The script's own undos may have left steps to redo beyond these.
        for (int i = 0; i < steps; ++i)
            document.redo();
        FUZZ_CHECK(Stores(document.workspace()) == afterEdits, QStringLiteral("redoing every step did not restore the edits"));
    }
    return 0;
}
