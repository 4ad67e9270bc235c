#include "document/input_rules.h"

#include <QTest>

using namespace quillon;

Q_DECLARE_METATYPE(quillon::InputRule)
Q_DECLARE_METATYPE(quillon::Feature)

class TestInputRules : public QObject {
    Q_OBJECT

private slots:
    void typedCharacters_data();
    void typedCharacters();
    void edits_data();
    void edits();
    void cursorFollowsTheInsertion();
    void optionalFeatureFields_data();
    void optionalFeatureFields();
};

void TestInputRules::typedCharacters_data()
{
    QTest::addColumn<InputRule>("rule");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");   // one character per typed one; "_" dropped

    QTest::newRow("grid frequency") << InputRule::ChannelFrequency << "09.a-," << "09.___";
    QTest::newRow("grid name") << InputRule::ChannelName << "ab1!#`{ \"~" << "AB1_#`____";
    QTest::newRow("grid name, outside ASCII") << InputRule::ChannelName << QString::fromUtf8("中é１") << "___";
    QTest::newRow("dtmf") << InputRule::DtmfCode << "12ab*#eE " << "12AB*#___";
    QTest::newRow("fm") << InputRule::FmFrequency << "9a0.1" << "9_0.1";
    QTest::newRow("channel number") << InputRule::ChannelNumber << "09a.-\b" << "09___\b";
    QTest::newRow("password") << InputRule::Digits << "5Z #\b" << "5___\b";
    QTest::newRow("display text") << InputRule::DisplayText << "aZz9*#-. @\b" << "AZZ9*#-___\b";
    QTest::newRow("vfo frequency") << InputRule::VfoFrequency << "4.5,e-\b" << "4.5___\b";
}

void TestInputRules::typedCharacters()
{
    QFETCH(InputRule, rule);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QString result;
    for (QChar c : typed)
        result.append(acceptInputCharacter(rule, c).value_or(u'_'));
    QCOMPARE(result, kept);
}

void TestInputRules::edits_data()
{
    QTest::addColumn<InputRule>("rule");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("expected");

    // Pastes and input-method commits: filtered first, then cut to the limit.
    QTest::newRow("name: input method commit") << InputRule::ChannelName << 5 << ""
                                               << QString::fromUtf8("中文名abcdefgh") << 11 << "ABCDE";
    QTest::newRow("name: 200 characters pasted") << InputRule::ChannelName << 5 << "" << QString(200, u'x') << 200
                                                 << "XXXXX";
    QTest::newRow("name: paste into a full field") << InputRule::ChannelName << 5 << "ABCDE" << "ABxyCDE" << 4
                                                   << "ABCDE";
    QTest::newRow("dtmf: letters and a space") << InputRule::DtmfCode << 16 << "" << "9xyz e" << 6 << "9";
    QTest::newRow("dtmf: full-width digits") << InputRule::DtmfCode << 16 << "" << QString::fromUtf8("１２中e") << 4
                                             << "";
    QTest::newRow("fm: a letter pasted") << InputRule::FmFrequency << 0 << "" << "9a0" << 3 << "90";
    QTest::newRow("display text pasted at the end") << InputRule::DisplayText << 6 << "AB" << "ABc d" << 5 << "ABCD";
    QTest::newRow("digits pasted in the middle") << InputRule::Digits << 4 << "12" << "1x3y2" << 4 << "132";
    QTest::newRow("repeated characters") << InputRule::VfoFrequency << 9 << "11" << "1a11" << 3 << "111";
    QTest::newRow("typed at the start of a run") << InputRule::VfoFrequency << 3 << "11" << "x11" << 1 << "11";
    QTest::newRow("replaced selection") << InputRule::ChannelNumber << 0 << "123" << "1z3" << 2 << "13";
    QTest::newRow("line breaks are no text") << InputRule::ChannelFrequency << 9 << "" << "435\n.1\t" << 7
                                             << "435.1";
    // A text placed whole (a decoded value longer than the typing limit) can
    // be shortened but grows no further.
    QTest::newRow("a longer value is kept") << InputRule::VfoFrequency << 8 << "100.00000" << "100.000005" << 10
                                            << "100.00000";
    QTest::newRow("removing is always allowed") << InputRule::VfoFrequency << 8 << "100.00000" << "100.0000" << 8
                                                << "100.0000";
    QTest::newRow("channel number above 128") << InputRule::ChannelNumber << 0 << "20" << "200" << 3 << "128";
}

void TestInputRules::edits()
{
    QFETCH(InputRule, rule);
    QFETCH(int, limit);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(int, cursor);
    QFETCH(QString, expected);
    QCOMPARE(applyInput(rule, limit, before, after, cursor).text, expected);
}

void TestInputRules::cursorFollowsTheInsertion()
{
    const InputResult middle = applyInput(InputRule::ChannelName, 5, "AD", "AbcD", 3);
    QCOMPARE(middle.text, QStringLiteral("ABCD"));
    QCOMPARE(middle.cursor, 3);
    const InputResult dropped = applyInput(InputRule::ChannelName, 5, "AD", "A!D", 2);
    QCOMPARE(dropped.text, QStringLiteral("AD"));
    QCOMPARE(dropped.cursor, 1);
}

void TestInputRules::optionalFeatureFields_data()
{
    QTest::addColumn<Feature>("field");
    QTest::addColumn<QString>("pasted");   // into the empty field
    QTest::addColumn<QString>("kept");

    QTest::newRow("priority channel") << Feature::PriorityChannel << "2x00" << "128";
    QTest::newRow("present channel") << Feature::PresentChannel << "1.5" << "15";
    QTest::newRow("password, 4") << Feature::Password << QString::fromUtf8("１2３4x56") << "2456";
    QTest::newRow("power-on text, 6") << Feature::PowerOnText << QString::fromUtf8("中文中文abcdefg") << "ABCDEF";
    QTest::newRow("vfo frequency, 9") << Feature::VfoFrequency << "435,1234567" << "435123456";
    QTest::newRow("vfo offset, 8") << Feature::VfoOffset << "1 2.5 MHz 123456" << "12.51234";
}

void TestInputRules::optionalFeatureFields()
{
    QFETCH(Feature, field);
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    const std::optional<InputRule> rule = featureInputRule(field);
    QVERIFY(rule);
    QCOMPARE(applyInput(*rule, featureField(field).maxLength, {}, pasted, int(pasted.size())).text, kept);

    // Lists and check boxes take no text.
    for (const FeatureField &other : featureFields())
        QCOMPARE(featureInputRule(other.id).has_value(), other.kind == FeatureKind::Text);
}

QTEST_GUILESS_MAIN(TestInputRules)
#include "tst_input_rules.moc"
