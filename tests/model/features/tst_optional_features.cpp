// The optional-features record against byte vectors: decoding, encoding,
// new-image defaults, the field rules of the window and the hidden modes.

#include "features/hidden_modes.h"
#include "features/optional_features.h"
#include "features/optional_features_rules.h"
#include "i18n/texts.h"
#include "image/tone_list.h"

#include <QRandomGenerator>
#include <QSet>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>

using namespace quillon;

Q_DECLARE_METATYPE(quillon::Feature)

namespace {

constexpr int kBlock = 0x0700;
constexpr int kBlockSize = 0x30;

MemoryImage filled(std::uint8_t value)
{
    MemoryImage image;
    image.fill(0, kImageSize - 1, value);
    return image;
}

BandState band400to470()
{
    BandState band;
    band.select(3);
    return band;
}

void decodeAll(OptionalFeatures &features, MemoryImage &image, Language language = Language::English)
{
    features.decodeOptionBytes(image);
    features.decodeRest(image, language);
    features.decodePassword(image);
}

MemoryImage encodeAll(const OptionalFeatures &features, int bandIndex = 3, std::uint8_t background = 0x00)
{
    MemoryImage image = filled(background);
    features.encodeBlock(image, bandIndex);
    features.encodePassword(image);
    return image;
}

// The bytes the record owns: the block and the password.
QByteArray ownBytes(const MemoryImage &image)
{
    return image.bytes(kBlock, kBlockSize) + image.bytes(0x0740, 4);
}

} // namespace

class TestOptionalFeatures : public QObject {
    Q_OBJECT

private slots:
    void description();
    void erasedBlockDecodes();
    void decodeReadsOnlyItsBytes();
    void newImageEncodes();
    void listDecode_data();
    void listDecode();
    void packedBitsEncode_data();
    void packedBitsEncode();
    void fieldCodecs_data();
    void fieldCodecs();
    void failedEncodingKeepsBytes_data();
    void failedEncodingKeepsBytes();
    void textIsOneBytePerCharacter();
    void startFormKeepsUserOnlySettings();
    void encodeDecodeIsStable();
    void leaveChecks_data();
    void leaveChecks();
    void hiddenModes_data();
    void hiddenModes();
    void languageTable();
};

void TestOptionalFeatures::description()
{
    // The record indexes its values by the enum, so the table must follow it.
    const QList<FeatureField> &fields = featureFields();
    QCOMPARE(fields.size(), kFeatureCount);
    QSet<QString> names;
    for (int i = 0; i < fields.size(); ++i) {
        QCOMPARE(int(fields[i].id), i);
        QVERIFY2(!names.contains(fields[i].control), qPrintable(fields[i].control));
        names.insert(fields[i].control);
        if (!fields[i].label.isEmpty()) {
            QVERIFY2(!names.contains(fields[i].label), qPrintable(fields[i].label));
            names.insert(fields[i].label);
        }
        if (fields[i].kind == FeatureKind::List)
            QVERIFY(fields[i].defaultSelection < fields[i].items.size());
    }
}

void TestOptionalFeatures::erasedBlockDecodes()
{
    OptionalFeatures f;
    // Stored values without an item must leave these three as they were.
    f.setSelection(Feature::Backlight, 2);
    f.setSelection(Feature::VfoPower, 0);
    f.setSelection(Feature::VfoShiftDirection, 2);
    MemoryImage image = filled(0xFF);
    decodeAll(f, image);

    const QList<std::pair<Feature, int>> expected = {
        {Feature::DisplayMode, 1}, {Feature::StepIndex, 1}, {Feature::ChannelNameDisplay, 0},
        {Feature::SquelchLevel, 5}, {Feature::PowerOnDisplay, 1}, {Feature::MemoryDisplayMode, 1},
        {Feature::AutoPowerOff, 0}, {Feature::VoiceMode, 0}, {Feature::TimeOutTimer, 2},
        {Feature::KeyLockMode, 3}, {Feature::VoxDelay, 3}, {Feature::VoxGain, 7}, {Feature::VoxRxInhibit, 1},
        {Feature::Backlight, 2}, {Feature::VfoPower, 0}, {Feature::VfoShiftDirection, 2},
        {Feature::VfoRxTone, 0}, {Feature::VfoTxTone, 0},
    };
    for (const auto &[id, selection] : expected)
        QVERIFY2(f.selection(id) == selection, qPrintable(featureField(id).control));
    for (Feature bit : {Feature::Beep, Feature::ChannelGroup, Feature::BatterySave, Feature::KeyLock,
                        Feature::RadioMonitor, Feature::ShiftFrequency, Feature::ScanMode, Feature::RadioSearchMode,
                        Feature::TalkOverSound, Feature::PowerOnPassword, Feature::TailElimination, Feature::VoxSwitch,
                        Feature::VfoBusyLock, Feature::VfoScanAdd, Feature::VfoBandwidth, Feature::VfoTxInhibit,
                        Feature::VfoScramble, Feature::VfoCompander})
        QVERIFY2(f.selection(bit) == 1, qPrintable(featureField(bit).control));
    for (Feature empty : {Feature::PriorityChannel, Feature::PresentChannel, Feature::PowerOnText, Feature::Password})
        QVERIFY(f.text(empty).isEmpty());
    QCOMPARE(f.text(Feature::VfoFrequency), QStringLiteral("FFF.FFFFF"));
    QCOMPARE(f.text(Feature::VfoOffset), QStringLiteral("0.00000"));
}

void TestOptionalFeatures::decodeReadsOnlyItsBytes()
{
    // Decoding changes the read buffer at 0x0717 only.
    MemoryImage image = filled(0x00);
    const MemoryImage before = image;
    OptionalFeatures f;
    decodeAll(f, image);
    QCOMPARE(image.at(0x0717), std::uint8_t(0xFF));
    image.set(0x0717, 0x00);
    QVERIFY(image == before);
}

void TestOptionalFeatures::newImageEncodes()
{
    OptionalFeatures f;
    f.startForm(band400to470());
    const MemoryImage image = encodeAll(f, 3, 0x00);
    QCOMPARE(image.bytes(0x0700, 16), QByteArray::fromHex("00 01 04 01 05 01 7F 78 2B 01 01 FF 00 00 FF 02"));
    QCOMPARE(image.bytes(0x0710, 16), QByteArray::fromHex("51 56 4E 2D 37 4B 03 FF FF FF FF FF FF FF FF FF"));
    QCOMPARE(image.bytes(0x0720, 16), QByteArray::fromHex("00 00 50 43 00 00 00 01 FF FF FF FF FD FF 01 FF"));
    QCOMPARE(image.bytes(0x0740, 4), QByteArray::fromHex("FF FF FF FF"));
    // Nothing outside the block and the password.
    QCOMPARE(image.bytes(0x0730, 16), QByteArray(16, '\0'));
    QCOMPARE(image.bytes(0x06F0, 16), QByteArray(16, '\0'));
    QCOMPARE(image.bytes(0x0744, 16), QByteArray(16, '\0'));
}

void TestOptionalFeatures::listDecode_data()
{
    QTest::addColumn<Feature>("id");
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("expected");

    QTest::newRow("display 2 has no item") << Feature::DisplayMode << 0x0700 << 2 << 0 << 0;
    QTest::newRow("display 3 has no item") << Feature::DisplayMode << 0x0700 << 3 << 0 << 0;
    QTest::newRow("display 4 falls back") << Feature::DisplayMode << 0x0700 << 4 << 0 << 1;
    QTest::newRow("step 8 falls back") << Feature::StepIndex << 0x0702 << 8 << 4 << 1;
    QTest::newRow("squelch 10") << Feature::SquelchLevel << 0x0704 << 10 << 0 << 5;
    QTest::newRow("power-on display 3") << Feature::PowerOnDisplay << 0x0709 << 3 << 0 << 1;
    QTest::newRow("auto off 16") << Feature::AutoPowerOff << 0x070C << 16 << 3 << 0;
    QTest::newRow("time-out 8") << Feature::TimeOutTimer << 0x070F << 8 << 0 << 2;
    QTest::newRow("shift 3 has no item") << Feature::VfoShiftDirection << 0x072E << 3 << 0 << 0;
    QTest::newRow("back light CONT") << Feature::Backlight << 0x0707 << 0x80 << 0 << 2;
    QTest::newRow("back light 3 has no item") << Feature::Backlight << 0x0707 << 0xC0 << 0 << 0;
    QTest::newRow("key lock mode") << Feature::KeyLockMode << 0x0707 << 0x03 << 0 << 3;
    QTest::newRow("vox gain") << Feature::VoxGain << 0x0708 << 0xA0 << 0 << 5;
    QTest::newRow("vox delay") << Feature::VoxDelay << 0x0708 << 0x10 << 0 << 2;
    QTest::newRow("vfo power 3 has no item") << Feature::VfoPower << 0x072C << 0x03 << 2 << 2;
    QTest::newRow("vfo power middle") << Feature::VfoPower << 0x072C << 0x02 << 0 << 2;
}

void TestOptionalFeatures::listDecode()
{
    QFETCH(Feature, id);
    QFETCH(int, address);
    QFETCH(int, stored);
    QFETCH(int, before);
    QFETCH(int, expected);

    OptionalFeatures f;
    QVERIFY(f.setSelection(id, before));
    MemoryImage image = filled(0x00);
    image.set(address, std::uint8_t(stored));
    decodeAll(f, image);
    QCOMPARE(f.selection(id), expected);
}

void TestOptionalFeatures::packedBitsEncode_data()
{
    QTest::addColumn<Feature>("id");
    QTest::addColumn<int>("selection");
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("expected");

    // Starting from the new-image values 7F 78 2B .. FD.
    QTest::newRow("beep off") << Feature::Beep << 0 << 0x0706 << 0x7E;
    QTest::newRow("back light CONT") << Feature::Backlight << 2 << 0x0707 << 0xB8;
    QTest::newRow("back light OFF keeps bit 4") << Feature::Backlight << 0 << 0x0707 << 0x38;
    QTest::newRow("vox off keeps bit 1") << Feature::VoxSwitch << 0 << 0x0708 << 0x2A;
    QTest::newRow("vox delay 4 S") << Feature::VoxDelay << 3 << 0x0708 << 0x3B;
    QTest::newRow("vfo power middle") << Feature::VfoPower << 2 << 0x072C << 0xFE;
    QTest::newRow("vfo narrow") << Feature::VfoBandwidth << 0 << 0x072C << 0xED;
}

void TestOptionalFeatures::packedBitsEncode()
{
    QFETCH(Feature, id);
    QFETCH(int, selection);
    QFETCH(int, address);
    QFETCH(int, expected);

    OptionalFeatures f;
    f.startForm(band400to470());
    QVERIFY(f.setSelection(id, selection));
    MemoryImage image = encodeAll(f);
    QCOMPARE(int(image.at(address)), expected);

    OptionalFeatures back;
    decodeAll(back, image);
    QCOMPARE(back.selection(id), selection);
}

void TestOptionalFeatures::fieldCodecs_data()
{
    // Stored bytes, what the record shows ("#n": list position n), and the
    // bytes that shown value encodes to.
    QTest::addColumn<Feature>("id");
    QTest::addColumn<int>("address");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("encoded");

    const auto hex = [](const char *h) { return QByteArray::fromHex(h); };
    QTest::newRow("channel 0 shows") << Feature::PriorityChannel << 0x0701 << hex("00") << "0" << hex("00");
    QTest::newRow("channel 128") << Feature::PresentChannel << 0x0705 << hex("80") << "128" << hex("80");
    QTest::newRow("channel 129 is empty") << Feature::PriorityChannel << 0x0701 << hex("81") << "" << hex("FF");
    QTest::newRow("text skips 0xFF") << Feature::PowerOnText << 0x0718 << hex("FF 41 FF 42 FF FF") << "AB"
                                     << hex("41 42 FF FF FF FF");
    QTest::newRow("password") << Feature::Password << 0x0740 << hex("30 34 32 30") << "0420" << hex("30 34 32 30");
    QTest::newRow("frequency") << Feature::VfoFrequency << 0x0720 << hex("00 00 50 43") << "435.00000"
                               << hex("00 00 50 43");
    QTest::newRow("frequency with letters") << Feature::VfoFrequency << 0x0720 << hex("50 62 25 4A") << "4A2.56250"
                                            << hex("50 62 25 4A");
    QTest::newRow("offset 99.995") << Feature::VfoOffset << 0x0724 << hex("00 95 99 09") << "99.99500"
                                   << hex("00 95 99 09");
    QTest::newRow("offset erased") << Feature::VfoOffset << 0x0724 << hex("FF FF FF FF") << "0.00000"
                                   << hex("00 00 00 00");
    QTest::newRow("tone D023N") << Feature::VfoTxTone << 0x072A << hex("23 80") << "#52" << hex("23 80");
    QTest::newRow("tone D754I") << Feature::VfoRxTone << 0x0728 << hex("54 C7") << "#264" << hex("54 C7");
    QTest::newRow("tone not listed is off") << Feature::VfoRxTone << 0x0728 << hex("94 06") << "#0" << hex("FF FF");
}

void TestOptionalFeatures::fieldCodecs()
{
    QFETCH(Feature, id);
    QFETCH(int, address);
    QFETCH(QByteArray, stored);
    QFETCH(QString, shown);
    QFETCH(QByteArray, encoded);

    for (Language language : {Language::Chinese, Language::English}) {
        MemoryImage image = filled(0x00);
        image.store(address, stored);
        OptionalFeatures f;
        decodeAll(f, image, language);
        if (shown.startsWith(u'#'))
            QCOMPARE(f.selection(id), shown.mid(1).toInt());
        else
            QCOMPARE(f.text(id), shown);
        QCOMPARE(encodeAll(f).bytes(address, encoded.size()), encoded);
    }
}

void TestOptionalFeatures::failedEncodingKeepsBytes_data()
{
    QTest::addColumn<Feature>("id");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("length");

    QTest::newRow("channel above a byte") << Feature::PriorityChannel << "300" << 0x0701 << 1;
    QTest::newRow("channel not a number") << Feature::PresentChannel << "1x" << 0x0705 << 1;
    QTest::newRow("frequency not in form") << Feature::VfoFrequency << "435" << 0x0720 << 4;
    QTest::newRow("frequency not hex") << Feature::VfoFrequency << "4z5.00000" << 0x0723 << 1;
    QTest::newRow("offset not a number") << Feature::VfoOffset << "1.2.3" << 0x0724 << 4;
    QTest::newRow("offset too large") << Feature::VfoOffset << "1000" << 0x0724 << 4;
}

void TestOptionalFeatures::failedEncodingKeepsBytes()
{
    QFETCH(Feature, id);
    QFETCH(QString, text);
    QFETCH(int, address);
    QFETCH(int, length);

    OptionalFeatures f;
    f.setText(id, text);
    const MemoryImage image = encodeAll(f, 3, 0x5A);
    QCOMPARE(image.bytes(address, length), QByteArray(length, '\x5A'));
}

void TestOptionalFeatures::textIsOneBytePerCharacter()
{
    // A character without a single-byte code must not shift the others.
    OptionalFeatures f;
    f.setText(Feature::PowerOnText, QStringLiteral("A中BCDEFG"));
    QCOMPARE(encodeAll(f).bytes(0x0718, 8), QByteArray::fromHex("41 3F 42 43 44 45 FF FF"));

    // Whatever text it is given, what is kept is what reopening the save
    // shows, so saving again writes the same bytes; U+00FF is the erased
    // byte and would otherwise move the characters after it.
    const QChar y(0xFF);
    const QList<std::tuple<Feature, QString, QString>> kept{
        {Feature::PowerOnText, QStringLiteral("A中BCDEFG"), QStringLiteral("A?BCDE")},
        {Feature::PowerOnText, QStringLiteral("A") + y + QStringLiteral("B"), QStringLiteral("AB")},
        {Feature::Password, QStringLiteral("N") + y + QStringLiteral("NN"), QStringLiteral("NNN")},
        {Feature::Password, QStringLiteral("123456"), QStringLiteral("1234")},
    };
    for (const auto &[id, given, stored] : kept) {
        f.setText(id, given);
        QCOMPARE(f.text(id), stored);
        const MemoryImage saved = encodeAll(f);
        MemoryImage reopenedImage = saved;
        OptionalFeatures reopened;
        reopened.decodeRest(reopenedImage, Language::English);
        reopened.decodePassword(saved);
        QCOMPARE(reopened.text(id), stored);
    }
}

void TestOptionalFeatures::startFormKeepsUserOnlySettings()
{
    OptionalFeatures f;
    f.setText(Feature::Password, QStringLiteral("1234"));
    f.setSelection(Feature::VoxRxInhibit, 1);
    f.setSelection(Feature::AllowCancel, 1);
    f.setSelection(Feature::ReverseFrequency, 0);
    f.setSelection(Feature::VfoCallTone, 0);
    f.setText(Feature::PowerOnText, QStringLiteral("HELLO"));
    f.startForm(band400to470());
    QCOMPARE(f.text(Feature::Password), QStringLiteral("1234"));
    QCOMPARE(f.selection(Feature::VoxRxInhibit), 1);
    QCOMPARE(f.selection(Feature::AllowCancel), 1);
    QCOMPARE(f.selection(Feature::ReverseFrequency), 1);
    QCOMPARE(f.selection(Feature::VfoCallTone), 4);
    QCOMPARE(f.text(Feature::PowerOnText), QString());
    QCOMPARE(f.text(Feature::VfoFrequency), QStringLiteral("435.00000"));

    BandState vhf;
    vhf.select(0);
    f.setVfoFrequencyToBandCentre(vhf);
    QCOMPARE(f.text(Feature::VfoFrequency), QStringLiteral("155.00000"));
}

void TestOptionalFeatures::encodeDecodeIsStable()
{
    // Whatever an image holds, what decoding makes of it encodes to bytes
    // that decode and encode to themselves, and encoding twice changes nothing.
    QRandomGenerator random(20240611);
    for (int round = 0; round < 300; ++round) {
        MemoryImage image = filled(0xFF);
        for (int a = kBlock; a < kBlock + kBlockSize; ++a)
            image.set(a, std::uint8_t(round % 3 == 0 ? 0xFF ^ (1u << random.bounded(8)) : random.bounded(256)));
        for (int a = 0x0740; a < 0x0744; ++a)
            image.set(a, std::uint8_t(random.bounded(256)));

        OptionalFeatures first;
        decodeAll(first, image);
        MemoryImage once = encodeAll(first);
        QCOMPARE(ownBytes(encodeAll(first)), ownBytes(once));

        OptionalFeatures second;
        decodeAll(second, once);
        QVERIFY2(ownBytes(encodeAll(second)) == ownBytes(once), qPrintable(QString::number(round)));
    }
}

void TestOptionalFeatures::leaveChecks_data()
{
    QTest::addColumn<Feature>("field");   // the leave check, or while typing for "typing"
    QTest::addColumn<bool>("typing");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("typing 200") << Feature::PriorityChannel << true << "200" << "128";
    QTest::newRow("typing 128") << Feature::PresentChannel << true << "128" << "128";
    QTest::newRow("leaving 007") << Feature::PriorityChannel << false << "007" << "7";
    QTest::newRow("leaving 7") << Feature::PresentChannel << false << "7" << "7";
    QTest::newRow("leaving 0") << Feature::PriorityChannel << false << "0" << "";
    QTest::newRow("leaving empty") << Feature::PresentChannel << false << "" << "";
    QTest::newRow("leaving a huge number") << Feature::PriorityChannel << false << "99999999999999999999" << "128";
    QTest::newRow("vfo snapped down") << Feature::VfoFrequency << false << "435.12340" << "435.12000";
    QTest::newRow("vfo on raster") << Feature::VfoFrequency << false << "435.00625" << "435.00625";
    QTest::newRow("vfo band top") << Feature::VfoFrequency << false << "470" << "400.00000";
    QTest::newRow("vfo below band") << Feature::VfoFrequency << false << "399.9" << "400.00000";
    QTest::newRow("vfo erased") << Feature::VfoFrequency << false << "FFF.FFFFF" << "400.00000";
    QTest::newRow("vfo empty") << Feature::VfoFrequency << false << "" << "400.00000";
    QTest::newRow("offset limit") << Feature::VfoOffset << false << "150" << "99.99500";
    QTest::newRow("offset whole") << Feature::VfoOffset << false << "10" << "10.00000";
    QTest::newRow("offset empty") << Feature::VfoOffset << false << "" << "0.00000";
    QTest::newRow("offset snapped") << Feature::VfoOffset << false << "5.0063" << "5.00625";
    QTest::newRow("password unchecked") << Feature::Password << false << "0012" << "0012";
    QTest::newRow("power-on text unchecked") << Feature::PowerOnText << false << "AB-1" << "AB-1";
}

void TestOptionalFeatures::leaveChecks()
{
    QFETCH(Feature, field);
    QFETCH(bool, typing);
    QFETCH(QString, text);
    QFETCH(QString, expected);

    QCOMPARE(typing ? channelNumberChanged(text) : featureTextLeft(field, text, band400to470()), expected);
}

void TestOptionalFeatures::hiddenModes_data()
{
    // A script of gestures: "c<mode><step>@<seconds>" clicks a caption,
    // "p<mode>@<seconds>" presses the mode's toolbar button; each is followed
    // by what the call returns (+ or -). Modes: f forced write, c calibration, m FM.
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("onAtEnd");

    QTest::newRow("three captions within 5 s") << "cf0@100- cf1@102- cf2@105+" << true;
    QTest::newRow("third caption too late") << "cf0@100- cf1@102- cf2@106-" << false;
    QTest::newRow("late click starts again") << "cf0@100- cf1@102- cf2@106- cf0@107- cf1@111+" << true;
    QTest::newRow("other mode's captions") << "cf0@0- cc1@1- cm2@2-" << false;
    QTest::newRow("every click after unlocking acts") << "cm0@0- cm1@1- cm2@2+ cm1@4+ cm0@5+" << true;
    QTest::newRow("an unlocked mode's late click only restarts")
        << "cm0@0- cm1@1- cm2@2+ cm1@60- cm2@61+" << true;
    QTest::newRow("across midnight") << "cc0@86398- cc1@86399- cc2@2+" << true;
    QTest::newRow("double press locks") << "cf0@0- cf1@0- cf2@0+ pf@20- pf@20+" << false;
    QTest::newRow("presses a second apart only record") << "cf0@0- cf1@0- cf2@0+ pf@20- pf@21- pf@23-" << true;
    QTest::newRow("press after a pair starts afresh") << "cc0@0- cc1@0- cc2@0+ pc@5- pc@5+ pc@5-" << false;
    QTest::newRow("locking clears the steps") << "cf0@0- cf1@0- cf2@0+ pf@1- pf@1+ cf0@2- cf1@2-" << false;
}

void TestOptionalFeatures::hiddenModes()
{
    QFETCH(QString, script);
    QFETCH(bool, onAtEnd);

    const auto modeOf = [](QChar c) {
        return c == u'f' ? HiddenMode::ForcedWrite : c == u'c' ? HiddenMode::Calibration : HiddenMode::Fm;
    };
    static const QRegularExpression gesture(QStringLiteral("^(c|p)([fcm])(\\d?)@(\\d+)([+-])$"));
    HiddenModes modes;
    HiddenMode last = HiddenMode::ForcedWrite;
    for (const QString &step : script.split(u' ')) {
        const QRegularExpressionMatch m = gesture.match(step);
        QVERIFY2(m.hasMatch(), qPrintable(step));
        last = modeOf(m.captured(2).at(0));
        const int seconds = m.captured(4).toInt();
        const bool result = m.captured(1) == QLatin1String("c")
            ? modes.clickCaption(last, m.captured(3).toInt(), seconds)
            : modes.pressLockButton(last, seconds);
        QVERIFY2(result == (m.captured(5) == QLatin1String("+")), qPrintable(step));
    }
    QCOMPARE(modes.isOn(last), onAtEnd);
}

void TestOptionalFeatures::languageTable()
{
    const TextTable table = featuresWindowTexts();
    // Title, 42 captions, 52 list entries, 2 check boxes, 2 options, 3 frames, 8 + 16 generated entries.
    QCOMPARE(table.size(), 1 + 42 + 52 + 2 + 2 + 3 + 8 + 16);
    const auto at = [&](const char *control, int index) {
        const auto row = std::find_if(table.begin(), table.end(), [&](const TextRow &r) {
            return r.control == QLatin1String(control) && r.index == index;
        });
        return row == table.end() ? QString() : row->text.zh + u'|' + row->text.en;
    };
    QCOMPARE(at("Label6", 0), QStringLiteral("当前频道数:| Present Channel:"));
    QCOMPARE(at("Label40", 0), QStringLiteral("自动关机:|Auto Shut-Down"));
    QCOMPARE(at("Combo35", 12), QStringLiteral("12 小时|12 Hour"));
    // Table order: captions from Label1, Combo17's entry 1 before its entry 0, the generated lists last.
    QCOMPARE(table[1].control, QStringLiteral("Label1"));
    QCOMPARE(table[2].control, QStringLiteral("Label10"));
    const auto combo17 = std::find_if(table.begin(), table.end(), [](const TextRow &r) {
        return r.control == QLatin1String("Combo17");
    });
    QCOMPARE(combo17->index, 1);
    QCOMPARE(table.last().control + QString::number(table.last().index), QStringLiteral("Combo3515"));
}

QTEST_APPLESS_MAIN(TestOptionalFeatures)
#include "tst_optional_features.moc"
