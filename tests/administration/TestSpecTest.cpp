#include "administration/TestSpec.h"

#include "app/Globals.h"

#include <gtest/gtest.h>

namespace varenta::administration {
namespace {

TEST(TestSpec, SectionsSplitAtTheirBounds) {
    Globals().SectionEnd = {0, 0, 0, 0};
    SetSectionEnds();
    EXPECT_EQ(Globals().SectionEnd, (std::array<int, 4>{0, 63, 97, 116}));
    for (auto [item, section] :
         {std::pair{1, 1}, {63, 1}, {64, 2}, {97, 2}, {98, 3}, {116, 3}, {0, 0}, {117, 0}, {-1, 0}})
        EXPECT_EQ(SectionOfItem(item), section) << item;
    EXPECT_EQ(PositionInSection(64), 1);
    EXPECT_EQ(PositionInSection(116), 19);
}

TEST(TestSpec, NonDeviantAnswersAreValidCodesOfTheirSection) {
    const QString r = NonDeviantResponses();
    ASSERT_EQ(r.size(), ItemCount);
    EXPECT_EQ(r, "12221222122122122212212212221212212212211212212212121212122122214141"
                 "414141411411141411411114141444444444144444411111");
    for (int item = 1; item <= ItemCount; ++item) {
        const int code = r[item - 1].digitValue();
        EXPECT_TRUE(InRange(code, 1, HighestAnswerCode(SectionOfItem(item)))) << item;
    }
}

TEST(TestSpec, AnswerFamilyFromSecondAnswer) {
    EXPECT_EQ(AnswerFamilyOf(QStringLiteral("False")), family::TrueFalse);
    EXPECT_EQ(AnswerFamilyOf(QStringLiteral("Sometimes")), family::Frequency);
    EXPECT_EQ(AnswerFamilyOf(QStringLiteral("Mostly True")), family::Agreement5);
    EXPECT_EQ(AnswerFamilyOf(QStringLiteral("Often")), family::Frequency5);
    EXPECT_EQ(AnswerFamilyOf(QStringLiteral("No")), family::YesNo);
    // Only the whole text "No" is yes-no; the comparison is exact, case included.
    EXPECT_EQ(AnswerFamilyOf(QStringLiteral("Not at all")), family::Numbered);
    EXPECT_EQ(AnswerFamilyOf(QStringLiteral("false")), family::Numbered);
    EXPECT_EQ(AnswerFamilyOf(QString()), family::Numbered);
    EXPECT_EQ(AnswerHelpLine(family::Numbered), "0=No answer, 1=1, 2=2,  3=3, 4=4, Tab=Next grid");
    EXPECT_EQ(AnswerHelpLine(family::YesNo), "0=No answer, 1=Yes, 2=No, Tab=Next grid");
}

TEST(TestSpec, InstructionTextsByLanguage) {
    ClearInstructionTexts();
    SetInstructionTexts(QStringLiteral("French"));
    EXPECT_TRUE(InstructionText(0).isEmpty());

    SetInstructionTexts(QStringLiteral("English"));
    EXPECT_EQ(InstructionText(1),
              "Section 1\r\n\r\nThe statements in this section must be answered "
              "TRUE or FALSE.\r\n\r\nIf a statement is TRUE highlight \"True\" then "
              "press Enter.\r\n\r\nIf a statement is FALSE highlight \"False\" then "
              "press Enter.\r\n\r\n     Press Enter to begin.");
    EXPECT_EQ(InstructionText(0).count(QStringLiteral("\r\n")), 10);
    EXPECT_TRUE(InstructionText(3).contains("then press Enter. \r\n"));
    EXPECT_FALSE(InstructionText(2).endsWith(QLatin1Char('\n')));

    SetInstructionTexts(QStringLiteral("  spanish "));
    EXPECT_TRUE(InstructionText(0).startsWith("Instrucciones\r\n     Varias"));
    EXPECT_EQ(InstructionText(0).count(QStringLiteral("\r\n")), 5);
    EXPECT_EQ(InstructionText(3),
              QString::fromUtf8("Las oraciones de esta sección deben describir su persona o "
                                "circunstancias. Ilumine el número de la contestación que usted "
                                "escoja y que más le acierte: 1, 2, 3 ó 4. Luego oprima la tecla "
                                "«Enter»."));
    EXPECT_TRUE(InstructionText(2).endsWith("\r\n            4. Muy seguido o muy a menudo"));

    // An unknown name keeps the last language.
    SetInstructionTexts(QStringLiteral("French"));
    EXPECT_TRUE(InstructionText(0).startsWith("Instrucciones"));
}

} // namespace
} // namespace varenta::administration
