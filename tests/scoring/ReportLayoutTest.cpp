// Whole reports written from the small tables of TableSet::Simple(), checked line by line.
#include "scoring/TableFixture.h"

#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "scoring/ReportWriter.h"
#include "scoring/ScoreAndPrint.h"
#include "scoring/ScoringInternal.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>

#include <sys/stat.h>

namespace varenta::testing {

using namespace varenta::scoring;
namespace {

// Client 1 of the layout tests: no deviant answer, a few court values.
ClientRecord LayoutClient() {
    ClientRecord c = PlainClient();
    const char* court[] = {"14", "N", "0", "3", "N", "12", "2", "N"};
    for (int q = 1; q <= 8; ++q)
        *c.CourtField(q) = Fit(QString::fromLatin1(court[q - 1]), width::Court);
    return c;
}

class Report : public ::testing::Test {
protected:
    void SetUp() override { Globals().ProgramDir = program.path(); }

    // Scores client `n` and returns the report's pages, each a list of lines.
    QList<QStringList> Run(bool summary = false, int n = 1) {
        tables.WriteTo(program.path());
        WriteDataDisk(data.path(), clients);
        UseDataDisk(data.path());
        if (!comments.isNull())
            WriteFile(data.file("Comments.dat"), comments);
        Globals().CurrentClient = qint16(n);
        ScoreClient({summary});
        const QByteArray report = ReadFile(ReportFilePath());
        EXPECT_FALSE(report.endsWith("\f\r\n")) << "a blank last page";
        return ReportPages(report);
    }

    TempDir program;
    TempDir data;
    TableSet tables = TableSet::Simple();
    std::vector<ClientRecord> clients{LayoutClient()};
    QByteArray comments;
};

QString At(int column, const QString& text) {
    return QString(column - 1, u' ') + text;
}

TEST_F(Report, FirstPageAsLaidOut) {
    const QStringList expected = {
        "",
        "                              VALDORIA VARENTA",
        "                              *************************",
        "                                 CONFIDENTIAL REPORT",
        "                                 *******************",
        "",
        "       NAME             : Client 1",
        "       ID #             : ID1",
        "       AGE: 16      SEX : Male  ",
        "       DATE OF BIRTH    : 04/05/2010",
        "       ETHNICITY/RACE   : Caucasian      ",
        "       EDUCATION/GRADE  : 10th Grade                  ",
        "       DATE QV SCORED   : 11/02/2026",
        "",
        "",
        "       VARENTA  RESULTS  ARE CONFIDENTIAL  AND SHOULD  BE  CONSIDERED",
        "       WORKING  HYPOTHESES.  NO DECISION  SHOULD BE  BASED SOLELY  UPON  THESE",
        "       RESULTS.  THE  VARENTA  IS  TO  BE USED  IN  CONJUNCTION  WITH",
        "       EXPERIENCED STAFF JUDGMENT.",
        "",
        "",
        "       MEASURES            %ile                      QV PROFILE",
        "       --------            ----      +---------------+-----------+-------+---+",
        "                                     -   LOW RISK    -  MEDIUM   -PROBLEM-MAX-",
        "                                     -               -           -       -   -",
        "       TRUTHFULNESS          0       *...............-...........-.......-...-",
        "                                     -               -           -       -   -",
        "       ALCOHOL              60 *     *************************...-.......-...-",
        "                                     -               -           -       -   -",
        "       DRUGS                 0       *...............-...........-.......-...-",
        "                                     -               -           -       -   -",
        "       AGGRESSIVENESS        7       ***.............-...........-.......-...-",
        "                                     -               -           -       -   -",
        "       STRESS COPING         9       ****............-...........-.......-...-",
        "                                     +---------------+-----------+-------+---+",
        "                                     0               40          70      90 100",
        "       * Minimum Scale Score         ----------- PERCENTILE SCORES -----------",
        "",
        "",
        "                     ADDITIONAL INFORMATION PROVIDED BY CLIENT",
        "                     -----------------------------------------",
        "",
        "       Age at First Arrest......... 14    Times in Juvenile Detention..... N/A",
        "       Times on Probation.......... N/A   Juvenile Court Hearings......... 12",
        "       Probation Revocations.......  0    Alcohol-Related Arrests.........  2",
        "       Total Number of Arrests.....  3    Drug-Related Arrests............ N/A",
        "",
        "                                   QV RESPONSES                 (TEST # 1 )",
        "                                   ------------",
        "         1- 50   TFFFTFFFTF  FTFFTFFFTF  FTFFTFFFTF  TFFTFFTFFT  TFTFFTFFTF  ",
        "        51-100   TFTFTFTFFT  FFF1414141  4141411411  1414114111  1414144444  ",
        "       101-116   4444144444  411111",
        "",
        "",
        "",
        "Varenta Assessment Services, 1200 Harbor Road, Suite 4, Valdoria",
        "             Varenta screening report - for authorized court staff only",
    };
    EXPECT_EQ(Run().first(), expected);
}

TEST_F(Report, LaterPagesCarryTheRunningHeaderAndStayWithinTheirLength) {
    tables.paragraphLines = {0, 120, 120, 120, 120, 120};
    const QList<QStringList> pages = Run(true);
    ASSERT_GE(pages.size(), 13);
    int paragraphLines = 0;
    for (int p = 1; p < pages.size(); ++p) {
        const QStringList& page = pages[p];
        // The closing lines after the paragraphs and a full footer may pass the 58 counted
        // lines by up to two.
        EXPECT_LE(page.size(), 60) << p;
        if (p == pages.size() - 1)
            break; // the one-page summary has no running header
        const QString header = "       NAME: Client 1                   -%1-";
        EXPECT_EQ(page[0], header.arg((p + 1) % 10) + QString(26, u' ') + "QV REPORT");
        EXPECT_EQ(page[1], QString());
        paragraphLines += int(page.filter("paragraph of scale").size());
    }
    EXPECT_EQ(paragraphLines, 600); // nothing lost at the page breaks
    // The last page of the full report ends with the full footer, the summary page with the
    // short one.
    const QStringList& last = pages[pages.size() - 2];
    EXPECT_EQ(last.last(), At(14, QString::fromLatin1(ProductNoticeLine)));
    EXPECT_EQ(last[last.size() - 2], QString::fromLatin1(SupplierLine));
    EXPECT_EQ(pages.last().size(), 58);
    EXPECT_EQ(pages.last()[2], At(32, "   ONE PAGE SUMMARY"));
    EXPECT_EQ(pages.last().last(), At(14, QString::fromLatin1(ProductNoticeLine)));
}

TEST_F(Report, SummaryCommentsSignificantItemsAndMultipleChoice) {
    Answer(clients[0], 98, 0);
    Answer(clients[0], 101, 0);
    Answer(clients[0], 108, 2);
    const QList<QStringList> pages = Run();
    ASSERT_EQ(pages.size(), 3);
    const QStringList& two = pages[1];
    const QStringList top = {
        "        * * SUMMARY PARAGRAPHS EXPLAINING CLIENT'S ATTAINED SCALE SCORES * *",
        "            " + QString(60, u'-'), "",
        "       TRUTHFULNESS SCALE: LOW RISK RANGE                   RISK PERCENTILE: 0",
        "        LOW paragraph of scale 1, line 1"};
    EXPECT_EQ(two.mid(2, 5), top);
    EXPECT_EQ(two[9],
              "       ALCOHOL SCALE: MEDIUM RISK RANGE                     RISK PERCENTILE:60");
    EXPECT_EQ(two[10], "        MEDIUM-HIGH paragraph of scale 2, line 1");
    const qsizetype c = two.indexOf("       COMMENTS/RECOMMENDATIONS:" + QString(46, u'_'));
    ASSERT_GT(c, 0);
    EXPECT_EQ(two[c - 3], At(38, "* * * * *"));
    const QString rule = "       " + QString(71, u'_');
    EXPECT_EQ(two.mid(c + 1, 8), QStringList({"", rule, "", rule, "", rule, "", rule}));
    const QStringList signature = {"", "       ______________________________    ____________",
                                   "           STAFF MEMBER SIGNATURE            DATE", ""};
    EXPECT_EQ(two.mid(c + 9, 4), signature);
    // Significant items follow on the same page; the fifth slot is two lines of margin.
    const QStringList significant = {
        "       ALCOHOL                             DRUGS",
        "       -------                             -----",
        "       ** Score due to alcohol arrests     No significant items were reported",
        "                                           for this scale.",
        "",
        "       AGGRESSIVENESS                      ",
        "       --------------                      ",
        "       No significant items were reported",
        "       for this scale.",
        "",
        "       ",
        "       ",
        ""};
    EXPECT_EQ(two.mid(c + 16), significant);
    const QStringList& three = pages[2];
    EXPECT_EQ(three[2], "       MULTIPLE CHOICE (JUVENILE'S SELF-REPORT)");
    EXPECT_EQ(three[4], "        98. No response given              Item 108 answer 2");
    EXPECT_EQ(three[7], "       101. No response given              Item 111 answer 4");
    EXPECT_EQ(three[13], "       Item 107 answer 4                   ");
    EXPECT_EQ(three.size(), 58);
}

TEST_F(Report, InvalidTestIsOnePageEvenWithTheSummaryRequested) {
    for (int item = 1; item <= 60; ++item)
        Answer(clients[0], item, 1);
    const QList<QStringList> pages = Run(true);
    ASSERT_EQ(pages.size(), 1);
    const QStringList& page = pages[0];
    EXPECT_EQ(page.size(), 57);
    const QStringList expected = {
        "       DATE QV SCORED   : 11/02/2026",
        "",
        "       THIS TEST IS INVALID.",
        "       Retest the client.",
        "",
        "                                   QV RESPONSES                 (TEST # 1 )"};
    EXPECT_EQ(page.mid(12, 6), expected);
    EXPECT_TRUE(page[19].startsWith("         1- 50   TTTTTTTTTT  "));
    EXPECT_EQ(page.last(), At(14, QString::fromLatin1(ProductNoticeLine)));
}

TEST_F(Report, ChartMarksInaccurateAndUnscoredScales) {
    tables.norms[1][1][1].assign(40, 92);
    Answer(clients[0], 2, 1);
    QStringList chart = Run().first().mid(21, 17);
    EXPECT_EQ(chart[4], "       TRUTHFULNESS         92 *     " + QString(37, u'*') + "...-");
    EXPECT_EQ(chart[10].mid(28, 5), " 7 * ");
    EXPECT_EQ(chart[14],
              "       * These test results          0               40          70      90 100");
    EXPECT_TRUE(chart[15].startsWith("         are inaccurate              -----------"));

    clients[0] = LayoutClient();
    for (int item = 23; item <= 27; ++item)
        Answer(clients[0], item, 0);
    const QList<QStringList> pages = Run();
    chart = pages.first().mid(21, 17);
    EXPECT_EQ(chart[6],
              "       ALCOHOL              **       Scale not scored, insufficient answers");
    EXPECT_TRUE(chart[14].startsWith("       ** Too many omitted items     0"));
    EXPECT_TRUE(chart[15].startsWith("          to score this scale        -----------"));
    const qsizetype a = pages[1].indexOf("       ALCOHOL");
    ASSERT_GT(a, 0);
    const QStringList unscored = {
        "", "       This scale is inaccurate  and  not  scorable  because  the  respondent",
        "       omitted or skipped an excessive number of items.", ""};
    EXPECT_EQ(pages[1].mid(a + 1, 4), unscored);
}

TEST_F(Report, CommentIsWrappedJustifiedAndCut) {
    clients.push_back(LayoutClient());
    QByteArray text = "Referred to the evening program.  Mother attends every hearing and asks for "
                      "weekly reports; school counselor agrees. Review in ninety days";
    comments = text.leftJustified(300, ' ');
    QStringList page = Run().at(1);
    qsizetype c = page.indexOf(
        "       COMMENTS/RECOMMENDATIONS:  Referred  to  the  evening  program.  Mother");
    ASSERT_GT(c, 0);
    EXPECT_EQ(page[c + 1],
              "       attends  every  hearing  and  asks for weekly reports; school counselor");
    // The last comment line is completed by the next line end, without a blank line.
    EXPECT_EQ(page[c + 2], "       agrees. Review in ninety days" + QString(42, u' '));
    EXPECT_EQ(page[c + 3], "       " + QString(71, u'_'));
    EXPECT_EQ(page[c + 4], QString());

    // Client 2 has no record in the file: NULs, no comment.
    page = Run(false, 2).at(1);
    EXPECT_TRUE(page.contains("       COMMENTS/RECOMMENDATIONS:" + QString(46, u'_')));

    comments = QByteArray(300, 'w').replace(70, 1, " ").replace(200, 1, " ");
    page = Run().at(1);
    c = page.indexOf("       COMMENTS/RECOMMENDATIONS:" + QString(46, u' '));
    ASSERT_GT(c, 0); // a first word too long for the heading's line moves to the next lines
    EXPECT_EQ(page.mid(c + 1, 5), QStringList({"       " + QString(70, u'w') + QLatin1Char(' '),
                                               "       " + QString(71, u'w'),
                                               "       " + QString(58, u'w') + QString(13, u' '),
                                               "       " + QString(71, u'w'), QString()}));
}

// A comment of two to five lines goes straight on into the ruled lines, yet the page counts
// the blank line it leaves out, so that the pages after it break where they always have.
TEST_F(Report, CommentsBlockCountsTheBlankLineAFewLinesLeaveOut) {
    const struct {
        QByteArray comment;
        int written; // lines of the block, the blank line after it included
        int counted;
    } cases[] = {{"", 13, 13},
                 {QByteArray(140, 'w').replace(60, 1, " ").replace(120, 1, " "), 9, 10},
                 {QByteArray(300, 'w'), 9, 9}};
    for (const auto& c : cases) {
        comments = c.comment.leftJustified(300, ' ');
        Run();
        ReportWriter writer;
        writer.WriteCommentsAndSignature();
        EXPECT_EQ(writer.Bytes().count("\r\n"), c.written) << c.comment.size();
        EXPECT_EQ(writer.Line() - 1, c.counted) << c.comment.size();
    }
}

TEST(WrapComment, BreaksAtBlanksAndJustifiesFromTheLeft) {
    const QStringList lines = WrapComment("aa bb  cc " + QString(60, u'd') + " ee");
    ASSERT_EQ(lines.size(), 2);
    // "aa bb  cc" + 60 d's is 70 wide: one more blank, in the leftmost gap.
    EXPECT_EQ(lines[0], "aa  bb  cc " + QString(60, u'd'));
    EXPECT_EQ(lines[1], QStringLiteral("ee").leftJustified(71));
    EXPECT_EQ(WrapComment("a b c d").first(), QStringLiteral("a b c d").leftJustified(71));
    const QStringList wide = WrapComment("x " + QString(10, u'y') + " z " + QString(70, u'q'));
    EXPECT_EQ(wide[0], "x" + QString(30, u' ') + QString(10, u'y') + QString(29, u' ') + "z");
}

TEST_F(Report, SignificantItemsKeepEveryEntry) {
    for (int item = 64; item <= 84; ++item) // every significant item earns 3 points
        Answer(clients[0], item, clients[0].Responses[item - 1] == QLatin1Char('1') ? 4 : 1);
    for (int q : {7, 8})
        *clients[0].CourtField(q) = "4 ";
    tables.norms[1][1][2].assign(40, 0);
    tables.norms[1][1][3].assign(40, 0);
    QStringList all;
    for (const QStringList& page : Run())
        all += page;
    for (int e = 1; e <= 24; ++e)
        EXPECT_EQ(
            all.filter(QRegularExpression(QStringLiteral("Significant %1( |$)").arg(e))).size(), 1)
            << e;
    EXPECT_EQ(all.filter("** Score due to alcohol arrests").size(), 1);
    EXPECT_EQ(all.filter("** Score due to drug arrests").size(), 1);
}

TEST_F(Report, FailedRunLeavesNoReport) {
    Run(); // an earlier report exists
    const auto noReport = [&](const char* after) {
        EXPECT_FALSE(QFile::exists(ReportFilePath())) << after;
        const QDir dir(program.path());
        EXPECT_TRUE(dir.entryList(QDir::Hidden | QDir::Files).filter("report").isEmpty()) << after;
    };
    QByteArray paragraphs = tables.ParagraphFile(2).replace("MEDIUM-HIGH\r\n", "MEDIUM HIGH\r\n");
    WriteFile(program.file("qvalmo.txt"), paragraphs);
    EXPECT_EQ(CaughtError([] { ScoreClient(); }).description(),
              "qvalmo.txt has no paragraph for \"MEDIUM-HIGH\" (ALCOHOL, percentile 60): the "
              "file needs a line holding exactly that key, the paragraph, and a line END.");
    noReport("a missing paragraph");

    paragraphs = tables.ParagraphFile(2);
    paragraphs.truncate(paragraphs.indexOf("MEDIUM-HIGH paragraph of scale 2, line 2") + 42);
    WriteFile(program.file("qvalmo.txt"), paragraphs);
    EXPECT_THROW(ScoreClient(), VError);
    WriteFile(program.file("INVAL.TXT"), "no end\r\n");
    for (int item = 1; item <= 60; ++item)
        Answer(Globals().Clients[1], item, 1);
    EXPECT_THROW(ScoreClient(), VError);
    EXPECT_FALSE(QFile::exists(ReportFilePath()));
    // A report that cannot be written or put in place is an error, never a success.
    tables.WriteTo(program.path());
    ScoreClient();
    fileio::InjectWriteFailure(100, ENOSPC);
    EXPECT_EQ(CaughtError([] { ScoreClient(); }).number(), err::DiskFull);
    fileio::ClearInjectedFailure();
    noReport("a full disk");
    QDir().mkpath(program.file("report.prn/x"));
    EXPECT_THROW(ScoreClient(), VError);
}

// Files beside the program far larger than any real one are refused at once, with a message
// that names the file and quotes no more than a short piece of it; a report made from them
// never grows past what the viewer can load.
TEST_F(Report, OversizedTableAndTextFilesAreRefusedQuickly) {
    Run();
    QElapsedTimer clock;
    clock.start();
    WriteFile(program.file("QVB.TXT"), "1," + QByteArray(5 << 20, '7'));
    VError e = CaughtError([] { ScoreClient(); });
    EXPECT_EQ(e.number(), err::Overflow);
    EXPECT_TRUE(e.description().startsWith("The scoring tables file "))
        << qPrintable(e.description());
    EXPECT_TRUE(e.description().contains("QVB.TXT is 5.1 MB, more than the 1 MB"));
    EXPECT_LT(e.description().size(), 300);
    // A run of digits within the limit: the message quotes only its start.
    WriteFile(program.file("QVB.TXT"), "1," + QByteArray(100000, '7'));
    e = CaughtError([] { ScoreClient(); });
    EXPECT_EQ(e.number(), err::Overflow);
    EXPECT_LT(e.description().size(), 200) << qPrintable(e.description());
    tables.WriteTo(program.path());

    QByteArray lines;
    for (int i = 0; i < 200000; ++i)
        lines += "line\r\n";
    for (const char* name : {"qvalmo.txt", "QVRPT.TXT", "INVAL.TXT"}) {
        WriteFile(program.file(name), lines);
        if (QByteArray(name) == "INVAL.TXT") {
            for (int item = 1; item <= 60; ++item)
                Answer(Globals().Clients[1], item, 1);
        }
        e = CaughtError([] { ScoreClient(); });
        EXPECT_EQ(e.number(), err::Overflow) << name;
        EXPECT_TRUE(e.description().contains(name)) << qPrintable(e.description());
        EXPECT_FALSE(QFile::exists(ReportFilePath())) << name;
        tables.WriteTo(program.path());
    }
    EXPECT_LT(clock.elapsed(), 5000);
}

// The report is confidential: readable by its owner only, whatever the file it replaces was.
TEST_F(Report, TheReportIsOwnerOnlyEvenWhenTheOldOneWasWorldReadable) {
    WriteFile(program.file("report.prn"), "an old report");
    QFile::setPermissions(program.file("report.prn"), QFile::ReadOwner | QFile::WriteOwner |
                                                          QFile::ReadGroup | QFile::ReadOther);
    Run();
    EXPECT_EQ(ModeOf(ReportFilePath()), 0600);
}

TEST(ReportDates, ReadableDatesArePrintedInOneForm) {
    const char* cases[] = {
        "n",          "N/A",        " N ",    "N/A",        "4/5/2010",   "04/05/2010",
        "12-31-99",   "12/31/1999", "1/2/05", "01/02/2005", "13/01/2010", "13/01/2010",
        "02/30/2011", "02/30/2011", "soon ",  "soon",       "",           ""}; // stored, printed
    for (size_t i = 0; i < std::size(cases); i += 2)
        EXPECT_EQ(internal::FormatReportDate(cases[i]), cases[i + 1]) << cases[i];
}

} // namespace
} // namespace varenta::testing
