#include "scoring/TableFixture.h"

#include "administration/TestSpec.h"
#include "app/Errors.h"
#include "app/Globals.h"
#include "scoring/ListInput.h"
#include "scoring/ScoreAndPrint.h"

#include <QFile>

namespace varenta::testing {

using namespace varenta::scoring;
namespace {

// The error a load throws, or error number 0 when it loads.
VError LoadError() {
    return CaughtError([] { LoadScoringTables(); });
}

TEST(ListInput, ItemsLinesAndTheirErrors) {
    listinput::Reader r(" 12 ,\"two, with comma\" , three \r\n\r\n-4,\r\nwhole line, kept\r\n\"x\"",
                        "T.TXT");
    EXPECT_EQ(r.Number({"a"}), 12);
    EXPECT_EQ(r.String({"b"}), QByteArray("two, with comma"));
    EXPECT_EQ(r.String({"c"}), QByteArray("three"));
    EXPECT_EQ(r.Number({"d"}), -4); // across the empty line
    EXPECT_EQ(r.Line({"e"}), QByteArray("whole line, kept"));
    EXPECT_EQ(r.String({"f"}), QByteArray("x"));
    const VError end = CaughtError([&r] { r.Number({"the count of scale %1", 3}); });
    EXPECT_EQ(end.number(), err::InputPastEnd);
    EXPECT_EQ(end.description(), "T.TXT: the file ends after line 5, before the count of scale 3");
    const std::tuple<const char*, int, const char*> bad[] = {
        {"1,\n x7", err::TypeMismatch, "T.TXT line 2: expected a whole number for n, found \"x7\""},
        {"1,,", err::TypeMismatch, "T.TXT line 1: expected a whole number for n, found nothing"},
        {"1, 40000", err::Overflow,
         "T.TXT line 1: n is 40000, beyond the whole numbers this table can hold (-32768 to "
         "32767)"},
        {"1, 2.5", err::TypeMismatch,
         "T.TXT line 1: expected a whole number for n, found \"2.5\""}};
    for (auto [text, number, message] : bad) {
        listinput::Reader b(text, "T.TXT");
        b.Number({"n"});
        const VError e = CaughtError([&b] { b.Number({"n"}); });
        EXPECT_EQ(e.number(), number) << text;
        EXPECT_EQ(e.description(), QString::fromLatin1(message));
    }
}

class TableLoading : public ::testing::Test {
protected:
    void SetUp() override {
        Globals().ProgramDir = dir.path();
        tables.WriteTo(dir.path());
    }
    // Replaces the first occurrence of `from` on line `line` (1-based) of QVB.TXT.
    void EditScoringLine(int line, const QByteArray& from, const QByteArray& to) {
        QList<QByteArray> lines = tables.ScoringFile().split('\n');
        ASSERT_TRUE(lines[line - 1].contains(from));
        lines[line - 1].replace(lines[line - 1].indexOf(from), from.size(), to);
        WriteFile(dir.file("QVB.TXT"), lines.join('\n'));
    }

    TempDir dir;
    TableSet tables = TableSet::Simple();
};

TEST_F(TableLoading, FilesAreFoundWithoutRegardToCaseAndAMissingOneIsNamed) {
    ASSERT_TRUE(QFile::rename(dir.file("QVB.TXT"), dir.file("qvb.txt")));
    EXPECT_EQ(LoadError().number(), 0);
    EXPECT_EQ(Tables().ScaleItems[1].size(), 10u);
    EXPECT_EQ(Texts().RangeName[4], "MAXIMUM");
    EXPECT_EQ(Texts().ChoiceText[76], "Item 116 answer 4");

    QFile::remove(dir.file("QVRPT.TXT"));
    const VError e = LoadError();
    EXPECT_EQ(e.number(), err::FileNotFound);
    EXPECT_TRUE(e.description().contains(dir.file("QVRPT.TXT"))) << qPrintable(e.description());
    EXPECT_TRUE(Tables().ScaleItems[1].empty()); // no half-loaded tables remain
}

TEST_F(TableLoading, MalformedAndOutOfShapeValuesNameLineAndExpectation) {
    // Line 1: significant items; 2-14: answer keys; 15-38: norms; 39-44 stress percentiles;
    // 45-46 stress boundaries; 47-50 scale items; 51 minimum-rule items; 52-55 corrections.
    const std::tuple<int, QByteArray, QByteArray, int, const char*> cases[] = {
        {1, "64", "x7", err::TypeMismatch,
         "QVB.TXT line 1: expected a whole number for significant item 1, found \"x7\""},
        {1, "64", "117", err::SubscriptOutOfRange,
         "QVB.TXT line 1: significant item 1 is 117; it must be 0 to 116"},
        {3, "1", "x", err::TypeMismatch,
         "QVB.TXT line 3: the answer key of section 1, answer 1 must hold one digit per item, but "
         "position 2 holds \"x\""},
        {16, "40,", "65,", err::SubscriptOutOfRange,
         "QVB.TXT line 16: the norm count of gender 1, race 1, scale 2 is 65; it must be 0 to 64"},
        {39, "20,", "55,", err::SubscriptOutOfRange,
         "QVB.TXT line 39: the stress-coping percentile count of gender 1, race 1 is 55; it must "
         "be 0 to 54"},
        {45, "21,", "56,", err::SubscriptOutOfRange,
         "QVB.TXT line 45: the stress-coping boundary count of gender 1 is 56; it must be 0 to 55"},
        {47, "10,", "41,", err::SubscriptOutOfRange,
         "QVB.TXT line 47: the item count of scale 1 is 41; it must be 0 to 40"},
        {52, "0, 0", "40000, 0", err::Overflow,
         "QVB.TXT line 52: the truthfulness correction of scale 2, band 1 is 40000, beyond the "
         "whole numbers this table can hold (-32768 to 32767)"},
    };
    for (const auto& [line, from, to, number, message] : cases) {
        EditScoringLine(line, from, to);
        const VError e = LoadError();
        EXPECT_EQ(e.number(), number) << message;
        EXPECT_EQ(e.description(), QString::fromLatin1(message));
    }
    tables.stressBounds[2].push_back(210); // a band without a percentile
    tables.WriteTo(dir.path());
    EXPECT_EQ(LoadError().description(),
              "QVB.TXT: the stress-coping boundaries of gender 2 make 21 bands, but "
              "only 20 percentiles are given for gender 2, race 1");
    WriteFile(dir.file("QVB.TXT"), tables.ScoringFile().left(600));
    EXPECT_TRUE(LoadError().description().startsWith("QVB.TXT: the file ends after line"));
    tables.stressBounds[2].pop_back();
    tables.WriteTo(dir.path());
    tables.choiceTexts.removeLast();
    WriteFile(dir.file("QVRPT.TXT"), tables.TextsFile());
    EXPECT_EQ(LoadError().description(),
              "QVRPT.TXT: the file ends after line 101, before answer 4 of item 116 "
              "(76 answer lines for items 98 to 116)");
}

// The tables that ship with the program load, score every demonstration client, and give
// the lowest-risk answers no points.
TEST(ShippedTables, LoadScoreAndGiveLowestRiskAnswersNoPoints) {
    TempDir program;
    UseProgramDir(program.path());
    SetLayoutConstants();
    LoadScoringTables();
    ClientRecord plain = PlainClient();
    LoadClientForScoring(plain, 1);
    ComputeRawScores();
    for (int item = 1; item <= administration::ItemCount; ++item)
        EXPECT_EQ(Scores().ItemPoints[item], 0) << "item " << item;
    for (int s = 1; s <= 4; ++s)
        EXPECT_EQ(Scores().RawScore[s], 0) << "scale " << s;

    TempDir data;
    WriteDataDisk(data.path(), SampleClients(4)); // every answer pattern the samples have
    UseDataDisk(data.path());
    for (int n = 1; n <= 4; ++n) {
        Globals().CurrentClient = qint16(n);
        ASSERT_NO_THROW(ScoreClient({true})) << n;
        EXPECT_FALSE(ReadFile(ReportFilePath()).isEmpty());
    }
}

} // namespace
} // namespace varenta::testing
