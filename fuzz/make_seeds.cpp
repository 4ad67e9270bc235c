// Writes the seed corpus of the fuzz targets into the folder given
// (fuzz/corpus): images made by the program, protocol sessions in the
// transfer target's input form, texts for the codecs and rules, channel
// lists exported by the program and written by hand.
//
//     cmake --build --preset fuzz --target fuzz_make_seeds
//     build/fuzz/fuzz/fuzz_make_seeds fuzz/corpus

#include "fuzz_support.h"

#include "document/channel_import.h"
#include "document/document.h"
#include "files/channel_csv.h"
#include "files/dat_file.h"
#include "radio_sim/simulated_radio.h"

#include <QDir>
#include <QFile>

#include <cstdio>

using namespace quillon;

namespace {

QDir g_root;

void write(const QString &target, const QString &name, const QByteArray &bytes)
{
    g_root.mkpath(target);
    QFile file(g_root.filePath(target + u'/' + name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

// A length byte, a form byte (0 Latin-1, 1 UTF-8) and the bytes: a text as
// the targets read it.
QByteArray text(const QString &s, bool utf8 = false)
{
    const QByteArray bytes = utf8 ? s.toUtf8() : s.toLatin1();
    return QByteArray(1, char(bytes.size())) + QByteArray(1, utf8 ? 1 : 0) + bytes;
}

// An image with something in every area the windows edit.
MemoryImage richImage(Document &document)
{
    document.newImage();
    document.confirmBandChange(3);
    const char *frequencies[] = {"435.12500", "446.00625", "438.5", "462.563", "400", "469.99375"};
    int channel = 1;
    for (const char *f : frequencies) {
        document.commitFrequency(channel, kColumnRx, QString::fromLatin1(f));
        document.commitName(channel, QStringLiteral("CH%1").arg(channel));
        ++channel;
    }
    document.commitFrequency(2, kColumnTx, QStringLiteral("441.00625"));
    document.chooseTone(1, kColumnRxTone, 9);       // 88.5
    document.chooseTone(1, kColumnTxTone, 9);
    document.chooseTone(3, kColumnRxTone, 52);      // D023N
    document.chooseTone(3, kColumnTxTone, 160);     // an inverted DCS code
    document.chooseOption(4, kColumnPower, 0);
    document.chooseOption(4, kColumnScanAdd, 0);
    document.chooseOption(5, kColumnBandwidth, 0);
    document.chooseOption(6, kColumnScramble, 1);
    document.setFeatureText(Feature::PriorityChannel, QStringLiteral("3"));
    document.setFeatureText(Feature::PowerOnText, QStringLiteral("HELLO"));
    document.setFeatureText(Feature::Password, QStringLiteral("1234"));
    document.setFeatureText(Feature::VfoFrequency, QStringLiteral("439.0125"));
    document.setFeatureSelection(Feature::SquelchLevel, 5);
    document.setFeatureSelection(Feature::VfoRxTone, 12);
    document.commitFmCell(1, QStringLiteral("88.05"));
    document.commitFmCell(2, QStringLiteral("101.7"));
    document.commitFmFrequencyMode(QStringLiteral("96.3"));
    document.selectFmDisplayMode(1);
    document.selectFmStep(2);
    document.confirmFm();
    document.setCalibrationValue(0, 200);
    document.setCalibrationValue(8, 99);
    return document.encode();
}

// Every channel in use, each with other tones and options.
MemoryImage fullImage(Document &document)
{
    document.newImage();
    document.confirmBandChange(3);
    for (int channel = 1; channel <= ChannelSheet::kChannels; ++channel) {
        document.commitFrequency(channel, kColumnRx, QString::number(400.0 + channel * 0.53125, 'f', 5));
        document.commitFrequency(channel, kColumnTx, QString::number(469.9 - channel * 0.5, 'f', 5));
        document.chooseTone(channel, kColumnRxTone, (channel * 7) % 265);
        document.chooseTone(channel, kColumnTxTone, (channel * 11) % 265);
        for (int column = kColumnPower; column <= kColumnScramble; ++column)
            document.chooseOption(channel, column, (channel + column) % (column == kColumnPower ? 3 : 2));
        document.commitName(channel, QStringLiteral("N%1").arg(channel));
    }
    return document.encode();
}

void datSeeds()
{
    Document fresh;
    startNewImage(fresh, 3);
    write("dat_file", "new-image.dat", datFileBytes(fresh.encode()));
    for (int band : {0, 3, 9})
        write("dat_file", QStringLiteral("sample-band-%1.dat").arg(band), datFileBytes(sampleMemory(band)));
    Document rich;
    const QByteArray richFile = datFileBytes(richImage(rich));
    write("dat_file", "rich.dat", richFile);
    Document full;
    write("dat_file", "full.dat", datFileBytes(fullImage(full)));
    write("dat_file", "erased.dat", datFileBytes(MemoryImage::fromByteArray(QByteArray(kImageSize, '\xFF'))));
    write("dat_file", "short.dat", richFile.left(700));
    // Edits after opening (the script past the file; each edit is a
    // channel byte, an edit byte and its arguments): a frequency, a name, a
    // paste of two rows, a band change, an undo, an FM cell and a save.
    QByteArray script;
    script += QByteArray::fromHex("0a0001") + text(QStringLiteral("146.52"));
    script += QByteArray::fromHex("0b01") + text(QStringLiteral("ab#!"));
    script += QByteArray::fromHex("00100501") + text(QStringLiteral("436.1\t\tD023N\n437.2\t437.3\n"))
        + QByteArray::fromHex("0506010b");
    script += QByteArray::fromHex("000b0106");
    script += QByteArray::fromHex("000d00");
    script += QByteArray::fromHex("000602") + text(QStringLiteral("99.99"));
    script += QByteArray::fromHex("000f");
    write("dat_file", "rich-with-edits.dat", richFile + script);
}

// The transfer target's form: kind, radio band, write flags (and band),
// faults (and their values), memory seed, write seed, fill-after-start,
// then line events.
void transferSeeds()
{
    const QByteArray carryAll(1, '\x02');
    write("transfer", "read.bin", QByteArray::fromHex("00030000112200"));
    write("transfer", "write.bin", QByteArray::fromHex("01030000334401"));
    write("transfer", "write-calibration.bin", QByteArray::fromHex("01030400556600"));
    // A radio of band 3 asked for band 5 in the forced mode, answered yes.
    write("transfer", "write-forced.bin", QByteArray::fromHex("0103030500778800") + carryAll.repeated(6) + QByteArray::fromHex("0d01"));
    // The bytes in small chunks, ticks between them.
    write("transfer", "read-chunks.bin", QByteArray::fromHex("00030000990000") + QByteArray::fromHex("000305000405").repeated(40));
    // Noise on the line: an identification, a data block, an acknowledgement
    // across two bytes, a flood.
    QByteArray noise = QByteArray::fromHex("00030000123400");
    noise += QByteArray::fromHex("07000008") + QByteArray("QVM-7K\xF3\x00", 8);
    noise += carryAll.repeated(3);
    noise += QByteArray::fromHex("07000414") + QByteArray::fromHex("57001010") + QByteArray(16, '\x06');
    noise += carryAll.repeated(3) + QByteArray::fromHex("07000002a06b") + carryAll;
    noise += QByteArray::fromHex("0b5504") + carryAll.repeated(4);
    write("transfer", "read-noise.bin", noise);
    // Faults of the radio: silent after 40 frames, a stray byte after each
    // answer, line garbage after 80 frames.
    write("transfer", "read-silent.bin", QByteArray::fromHex("00030001002822330006ffff"));
    write("transfer", "write-stray.bin", QByteArray::fromHex("0103000444550002020202"));
    write("transfer", "write-garbage.bin", QByteArray::fromHex("010300100050445500") + carryAll.repeated(60));
    // Lost bytes, flipped bits and a doubled byte, then the port vanishing.
    write("transfer", "write-damaged.bin", QByteArray::fromHex("01030000010200" "02" "0801" "02" "09010003" "02" "0a0005" "02" "0c"));
    // A whole read, then a write in the same run.
    write("transfer", "read-then-write.bin", QByteArray::fromHex("000300000a0b00") + carryAll.repeated(420)
          + QByteArray::fromHex("0e0100000c00") + carryAll.repeated(8));
}

// The text target's form: the families of checks, language, band, limit, cursor, two texts, four bytes, a number.
void textSeeds()
{
    struct Seed {
        const char *name;
        const char *before;
        const char *after;
        bool utf8;
    };
    const Seed seeds[] = {
        {"frequency", "435.1", "435.12345", false},
        {"raster", "", "462.563", false},
        {"band-edge", "470", "469.99999", false},
        {"two-points", "1.2", "1.2.3", false},
        {"tone-ctcss", "67.0", "254.1", false},
        {"tone-dcs", "D023N", "D754I", false},
        {"name", "CH1", "ab#!cd", false},
        {"name-wide", "", "\xE4\xBD\xA0\xE5\xA5\xBD" "ABC", true},
        {"channel-number", "12", "999", false},
        {"fm", "88.05", "99.999", false},
        {"offset", "10.00000", "123.4", false},
        {"dtmf", "12ab", "*#0d", false},
        {"display", "hello", "a-b*c#", false},
        {"padding", "AB\xFF\xFF", "\xFF", false},
        {"blanks", " 146.5", "\t435\n", false},
    };
    int i = 0;
    for (const Seed &seed : seeds) {
        QByteArray bytes;
        bytes += char(0);                // every family of checks
        bytes += char(i % 2);            // language
        bytes += char(i % 10);           // band
        bytes += char(i % 7);            // limit
        bytes += char(i * 3);            // cursor
        bytes += text(seed.utf8 ? QString::fromUtf8(seed.before) : QString::fromLatin1(seed.before), seed.utf8);
        bytes += text(seed.utf8 ? QString::fromUtf8(seed.after) : QString::fromLatin1(seed.after), seed.utf8);
        bytes += QByteArray::fromHex("50622546");
        bytes += char(i);
        write("text_rules", QString::fromLatin1(seed.name), bytes);
        ++i;
    }
}

// The CSV target's form: an options byte (band, file order, English), then the file.
void csvSeeds()
{
    Document rich;
    richImage(rich);
    write("channel_csv", "export.csv", QByteArray(1, '\x23') + exportChannelCsv(rich.workspace().channels, rich.workspace().band).bytes);
    write("channel_csv", "older-header.csv", QByteArray(1, '\x00') + QByteArray(
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,TStep,Skip,Comment\n"
        "0,Home,146.520000,,0.600000,Tone,100.0,100.0,023,NN,FM,5.00,,simplex\n"
        "1,RPT,147.000000,+,0.600000,Cross,88.5,88.5,023,NR,NFM,5.00,S,\n"
        "2,\"Q,uote\",145.500000,split,140.000000,DTCS,88.5,88.5,754,RN,FM,6.25,,\"two\nlines\"\n"));
    write("channel_csv", "powers.csv", QByteArray(1, '\x13') + QByteArray(
        "\xEF\xBB\xBFLocation,Frequency,Power,BusyLock,TxProhibit,Scramble,Tone,rToneFreq,cToneFreq,CrossMode,RxDtcsCode,DtcsCode\r\n"
        "5,435.1,5W,Carry,On,Off,Cross,199.5,88.5,Tone->DTCS,025,023\r\n"
        "6,435.2,1.0W,Off,Off,On,TSQL,199.9,199.9,,,\r\n"
        "7,435.3,Mid,Off,Off,Off,DTCS-R,,,,,\r\n"
        "129,436,H,,,,,,,,,\r\n"
        "6,437,L,,,,,,,,,\r\n"));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    g_root = QDir(QString::fromLocal8Bit(argv[1]));
    datSeeds();
    transferSeeds();
    textSeeds();
    csvSeeds();
    return 0;
}
