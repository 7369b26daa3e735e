#include "reports/PrintSelected.h"
#include "app/Errors.h"
#include "app/Globals.h"
#include "reports/ProgramFiles.h"
#include "scoring/ScoreAndPrint.h"
#include "store/Cp1252.h"
#include "support/OnDataDisk.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace varenta;
using namespace varenta::reports;
using namespace varenta::testing;

namespace {

class PrintSelectedTest : public OnDataDisk {
protected:
    void SetUp() override {
        LoadDisk(5);
        UseReportProgramDir(program.path());
        hooks.print = [this](int client) {
            // The copy being printed is private, whoever may read the report file: its owner's.
            struct stat st {};
            const QString copy = TempReportPath(int(printedClients.size()) + 1);
            EXPECT_EQ(::stat(QFile::encodeName(copy).constData(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, 0600u) << copy.toStdString();
            printedText << cp1252::Decode(ReadFile(scoring::ReportFilePath()));
            printedClients << client;
            EXPECT_EQ(Globals().CurrentClient, client);
            return true;
        };
        hooks.progress = [this](const QString& line) { progress << line; };
    }

    BatchPrintHooks hooks;
    QStringList printedText, progress;
    QList<int> printedClients;
};

TEST_F(PrintSelectedTest, ScoresEveryChosenClientThenPrintsThemInOrderAndLeavesNoCopies) {
    QList<int> scored;
    hooks.score = [&](const scoring::ReportRequest& request) {
        EXPECT_TRUE(printedClients.isEmpty()) << "every report is made before any is printed";
        scored << Globals().CurrentClient;
        ScoreClient(request);
    };
    EXPECT_TRUE(PrintClientReports({2, 5}, {}, hooks).complete());
    EXPECT_EQ(scored, (QList<int>{2, 5}));
    EXPECT_EQ(printedClients, (QList<int>{2, 5}));
    ASSERT_EQ(printedText.size(), 2);
    EXPECT_TRUE(printedText[0].contains("Client 2"));
    EXPECT_FALSE(printedText[0].contains("Client 5"));
    EXPECT_TRUE(printedText[1].contains("Client 5"));
    EXPECT_EQ(progress, (QStringList{"Preparing report 1 of 2", "Preparing report 2 of 2",
                                     "Printing report 1 of 2", "Printing report 2 of 2", ""}));
    EXPECT_EQ(Globals().CurrentClient, 5);
    EXPECT_EQ(cp1252::Decode(ReadFile(scoring::ReportFilePath())), printedText[1]);
    EXPECT_TRUE(TempCopies(program).isEmpty());
}

TEST_F(PrintSelectedTest, CopiesOfAReportOthersMayReadAreStillPrivate) {
    WriteFile(program.file("report.prn"), QByteArrayLiteral("old"));
    QFile::setPermissions(program.file("report.prn"), QFileDevice::ReadOwner |
                                                          QFileDevice::WriteOwner |
                                                          QFileDevice::ReadOther);
    EXPECT_TRUE(PrintClientReports({1, 2}, {}, hooks).complete());
    ASSERT_EQ(printedText.size(), 2);
    EXPECT_TRUE(printedText[0].contains("Client 1"));
    EXPECT_TRUE(printedText[1].contains("Client 2"));
}

TEST_F(PrintSelectedTest, AFailedPrintSaysWhichClientsWerePrintedAndRemovesTheCopies) {
    // A copy left by an earlier run that was cut off, readable by anyone.
    WriteFile(TempReportPath(7), QByteArrayLiteral("old report"));
    QFile::setPermissions(TempReportPath(7), QFileDevice::ReadOwner | QFileDevice::ReadOther);
    auto print = hooks.print;
    int failures = 0;
    hooks.print = [&](int client) {
        if (client == 3)
            throw VError(482, QStringLiteral("The printer reported an error."));
        return print(client);
    };
    hooks.askRetry = [&](int client, const VError& e) {
        EXPECT_EQ(client, 3);
        EXPECT_EQ(e.number(), 482);
        ++failures;
        EXPECT_FALSE(TempCopies(program).contains("temp7"));
        return failures < 2; // one retry, then give up
    };
    const BatchPrintResult r = PrintClientReports({1, 3, 4, 5}, {}, hooks);
    EXPECT_EQ(failures, 2);
    EXPECT_TRUE(r.failed);
    EXPECT_EQ(r.printed, QList<int>{1});
    EXPECT_EQ(r.notPrinted, (QList<int>{3, 4, 5}));
    EXPECT_EQ(BatchSummary(r), "Printed: the reports of client 1.\nNot printed: "
                               "the reports of clients 3 to 5.");
    EXPECT_TRUE(TempCopies(program).isEmpty());
    EXPECT_EQ(progress.last(), QString());
}

TEST_F(PrintSelectedTest, AScoringFailurePrintsNothingAndRetryGoesOn) {
    int attempts = 0;
    hooks.score = [&](const scoring::ReportRequest& request) {
        if (Globals().CurrentClient == 2 && attempts++ == 0)
            throw VError(err::FileNotFound, QStringLiteral("QVB.TXT was not found."));
        ScoreClient(request);
    };
    hooks.askRetry = [](int, const VError&) { return false; };
    BatchPrintResult r = PrintClientReports({1, 2}, {}, hooks);
    EXPECT_TRUE(r.failed);
    EXPECT_TRUE(printedClients.isEmpty());
    EXPECT_EQ(BatchSummary(r), "No report was printed.\nNot printed: the reports of clients 1 "
                               "and 2.");
    EXPECT_TRUE(TempCopies(program).isEmpty());

    attempts = 0;
    hooks.askRetry = [](int, const VError&) { return true; };
    r = PrintClientReports({1, 2}, {}, hooks);
    EXPECT_TRUE(r.complete());
    EXPECT_EQ(printedClients, (QList<int>{1, 2}));
}

TEST_F(PrintSelectedTest, DecliningToPrintStopsTheRunWithoutAnError) {
    hooks.print = [this](int client) {
        printedClients << client;
        return client != 2;
    };
    const BatchPrintResult r = PrintClientReports({1, 2, 3}, {}, hooks);
    EXPECT_TRUE(r.declined);
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(r.printed, QList<int>{1});
    EXPECT_EQ(r.notPrinted, (QList<int>{2, 3}));
    EXPECT_TRUE(TempCopies(program).isEmpty());
}

TEST(ClientNumbersTest, ReadsAsAUserWouldSayIt) {
    EXPECT_EQ(ClientNumbers({4}), "4");
    EXPECT_EQ(ClientNumbers({2, 3}), "2 and 3");
    EXPECT_EQ(ClientNumbers({1, 2, 3, 4}), "1 to 4");
    EXPECT_EQ(ClientNumbers({1, 2, 4}), "1, 2 and 4");
}

} // namespace
