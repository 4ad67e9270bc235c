#include "image/tone_list.h"

#include "i18n/field_texts.h"

#include <array>

namespace quillon {

namespace {

constexpr std::array<const char *, 50> kCtcss{
    "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
    "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
    "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9",
    "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.9",
    "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1",
};

constexpr std::array<const char *, 107> kDcs{
    "017", "023", "025", "026", "031", "032", "036", "043", "047", "050", "051", "053", "054",
    "065", "071", "072", "073", "074", "114", "115", "116", "122", "125", "131", "132", "134",
    "143", "145", "152", "155", "156", "162", "165", "172", "174", "205", "212", "223", "225",
    "226", "243", "244", "245", "246", "251", "252", "255", "261", "263", "265", "266", "271",
    "274", "306", "311", "315", "325", "331", "332", "343", "346", "351", "356", "364", "365",
    "371", "411", "412", "413", "423", "431", "432", "445", "446", "452", "454", "455", "462",
    "464", "465", "466", "503", "506", "516", "523", "526", "532", "546", "565", "606", "612",
    "624", "627", "631", "632", "645", "654", "662", "664", "703", "712", "723", "731", "732",
    "734", "743", "754",
};

constexpr int kFirstNormal = 1 + static_cast<int>(kCtcss.size());
constexpr int kFirstInverted = kFirstNormal + static_cast<int>(kDcs.size());
static_assert(kFirstInverted + static_cast<int>(kDcs.size()) == kToneCount);

} // namespace

QString toneEntry(int index, Language language)
{
    if (index == 0)
        return toneOffText().text(language);
    if (index > 0 && index < kFirstNormal)
        return QString::fromLatin1(kCtcss[static_cast<std::size_t>(index - 1)]);
    if (index >= kFirstNormal && index < kFirstInverted)
        return u'D' + QString::fromLatin1(kDcs[static_cast<std::size_t>(index - kFirstNormal)]) + u'N';
    if (index >= kFirstInverted && index < kToneCount)
        return u'D' + QString::fromLatin1(kDcs[static_cast<std::size_t>(index - kFirstInverted)]) + u'I';
    return {};
}

QStringList toneEntries(Language language)
{
    QStringList entries;
    entries.reserve(kToneCount);
    for (int i = 0; i < kToneCount; ++i)
        entries.append(toneEntry(i, language));
    return entries;
}

int toneIndexOf(const QString &text, Language language)
{
    if (text == toneOffText().text(language))
        return 0;
    // Built once: every decoded tone is looked up, 256 per image.
    static const QStringList entries = toneEntries(Language::English);
    const qsizetype index = entries.indexOf(text, 1);
    return index < 0 ? 0 : static_cast<int>(index);
}

} // namespace quillon
