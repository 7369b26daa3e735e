#include "intake/ClientInfo.h"
#include "intake/CourtHistory.h"

#include "app/Globals.h"
#include "store/ClientStore.h"
#include "support/OnDataDisk.h"
#include "support/TestSupport.h"

#include <QDate>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::intake;
using namespace varenta::testing;

namespace {

TEST(IntakeRules, DatesOfBirth) {
    EXPECT_TRUE(GoodDate(QStringLiteral("02/29/2000")));
    EXPECT_TRUE(GoodDate(QStringLiteral("12-31-1900")));
    EXPECT_TRUE(GoodDate(QStringLiteral("04/30/2000")));
    for (const char* bad :
         {"02/29/1999", "04/31/2000", "12/31/1899", "1/5/2000", "13/01/2000", "00/10/2000",
          "01/00/2000", "01.05.2000", "1a/05/2000", "02/29/1900", "01/05/2000 ", ""})
        EXPECT_FALSE(GoodDate(QString::fromLatin1(bad))) << bad;

    // N passes in either case and is kept as typed; trailing blanks of a stored value are
    // disregarded.
    EXPECT_EQ(CheckTextField(InfoField::DateOfBirth, QStringLiteral("n")).text, "n");
    EXPECT_TRUE(CheckTextField(InfoField::DateOfBirth, QStringLiteral("N         ")).ok);
    EXPECT_TRUE(CheckTextField(InfoField::DateOfBirth, QStringLiteral("02/29/2000")).ok);
    EXPECT_FALSE(CheckTextField(InfoField::DateOfBirth, QStringLiteral("NN")).ok);
}

TEST(IntakeRules, AgeIdAndNameChecks) {
    struct Case {
        const char* typed;
        bool ok;
        const char* after;
    };
    for (const Case c : {Case{"5", false, ""}, Case{"6", true, "6"}, Case{"99", true, "99"},
                         Case{"x7", false, ""}, Case{"-7", false, ""}, Case{"", false, ""}}) {
        const CheckResult r = CheckTextField(InfoField::Age, QString::fromLatin1(c.typed));
        EXPECT_EQ(r.ok, c.ok) << c.typed;
        EXPECT_EQ(r.text, QString::fromLatin1(c.after)) << c.typed;
    }
    EXPECT_EQ(CheckTextField(InfoField::ID, QStringLiteral(" n ")).text, "N");
    EXPECT_EQ(CheckTextField(InfoField::ID, QStringLiteral("AB12      ")).text, "AB12");
    EXPECT_FALSE(CheckTextField(InfoField::ID, QStringLiteral("   ")).ok);
    EXPECT_FALSE(CheckTextField(InfoField::Name, QString()).ok);
    EXPECT_EQ(LeadingValue(QStringLiteral("6.5y")), 6.5);
    EXPECT_EQ(LeadingValue(QStringLiteral(".")), 0);
}

TEST(IntakeRules, ChoiceKeysAndStorableCharacters) {
    // 1, 2, n and a refused letter are typed in the window.
    EXPECT_FALSE(ChoiceKeyFor(InfoField::Gender, QLatin1Char('3')).accepted);
    EXPECT_FALSE(ChoiceKeyFor(InfoField::Gender, QLatin1Char('\b')).accepted);
    EXPECT_FALSE(ChoiceKeyFor(InfoField::Race, QLatin1Char('7')).accepted);
    EXPECT_EQ(ChoiceKeyFor(InfoField::Education, QLatin1Char('8')).code, 8);

    for (QChar c : QStringLiteral("áéíñóúüÁÉÑÜ€'-. "))
        EXPECT_TRUE(CanTypeInField(c)) << int(c.unicode());
    for (QChar c : QStringLiteral("ł\u0107\u4e2d\t"))
        EXPECT_FALSE(CanTypeInField(c)) << int(c.unicode());
}

class ClientInfoFormTest : public OnDataDisk {
protected:
    void SetUp() override {
        LoadDisk(2);
        Globals().CurrentClient = 2;
    }
};

TEST_F(ClientInfoFormTest, RecordRoundTripKeepsStoredWidthsAndAFullDiskRefusesANewClient) {
    ClientInfoForm form;
    form.Open(true);
    EXPECT_EQ(form.values.name, SampleClient(2).ClientName); // trailing blanks kept
    EXPECT_EQ(form.values.education, 5);
    EXPECT_FALSE(form.Locked());
    form.values.name = QStringLiteral("A name that is far longer than the field");
    form.values.gender = 2;
    form.RecordToDB();
    EXPECT_EQ(CurrentRecord().ClientName, "A name that is far longer");
    EXPECT_EQ(CurrentRecord().GenderCode, "2");
    EXPECT_EQ(CurrentRecord().EditCount, "0");

    Globals().ClientCount = MaxClients;
    ClientInfoForm full;
    full.Open(false);
    EXPECT_EQ(full.InformationOk(false), ClientInfoForm::OkOutcome::DiskFull);
    EXPECT_EQ(Globals().CurrentClient, 2);
}

// The age before the date of birth and an unconfirmed age are tested through the window.
TEST_F(ClientInfoFormTest, CompletenessOrderAndLockedFields) {
    ClientInfoValues v{
        QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("16"), QString(), 1, -1, 1};
    EXPECT_EQ(FirstFailingField(v, true), int(InfoField::Race));
    v.race = 2;
    EXPECT_EQ(FirstFailingField(v, true), int(InfoField::DateOfBirth));
    // Locked fields are only tested for emptiness.
    v.dateOfBirth = QStringLiteral("bad");
    EXPECT_EQ(FirstFailingField(v, false), -1);
}

TEST(IntakeRules, CourtAnswers) {
    for (const char* ok : {"0", "5", "05", "99", "7x", "n", "N", " 9 "})
        EXPECT_TRUE(CheckCourtValue(QString::fromLatin1(ok))) << ok;
    for (const char* bad : {"00", "x5", "-1", "", "  ", "0x"})
        EXPECT_FALSE(CheckCourtValue(QString::fromLatin1(bad))) << bad;

    // The age 5, "n", a kept "00" and the first invalid answer are checked through the window.
    EXPECT_TRUE(CheckCourtAnswer(1, QStringLiteral("6")).ok);
    EXPECT_EQ(CheckCourtAnswer(3, QStringLiteral("4 ")).text, "4");

    EXPECT_TRUE(CourtKeyAllowed(QStringLiteral("1"), 0, QLatin1Char('2')));
    EXPECT_FALSE(CourtKeyAllowed(QStringLiteral("12"), 0, QLatin1Char('3')));
    EXPECT_FALSE(CourtKeyAllowed(QStringLiteral("12"), 1, QLatin1Char('3')));
    EXPECT_TRUE(CourtKeyAllowed(QStringLiteral("12"), 2, QLatin1Char('3')));
    EXPECT_TRUE(CourtKeyAllowed(QStringLiteral("12"), 0, QLatin1Char('\b')));
}

} // namespace
