// The print command as other tools call it: score a client, print the report into a PDF.
#include "PdfCheck.h"

#include "reports/print/ReportText.h"

#include "app/FileIO.h"
#include "reports/ProgramFiles.h"
#include "support/ProcessRun.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::reports;
using namespace varenta::testing;

namespace {

class PrintCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFileInfo(CliProgram()).isExecutable()) << "varenta-cli is not built";
        // A program folder of our own, so the report file written is this test's.
        QDir().mkpath(dir.file("prog"));
        UseReportProgramDir(dir.file("prog"));
        WriteDataDisk(dir.file("disk"), {SampleClient(1), SampleClient(2)});
    }

    CliOutcome Run(const QStringList& extra) {
        // As in a desktop session; without it the platform layer warns on stderr.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", dir.path()); // made private to its owner, as it must be
        return RunCli(QStringList{"print", "--program-dir", dir.file("prog"), "--data-dir",
                                  dir.file("disk")} +
                          extra,
                      env);
    }

    TempDir dir;
};

} // namespace

TEST_F(PrintCommandTest, PrintsTheScoredReportPageForPage) {
    const QString pdfPath = dir.file("out.pdf");
    const CliOutcome r = Run({"--client", "2", "--summary-page", "--pdf", pdfPath});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QList<QStringList> pages =
        reports::SplitReportPages(reports::ReadReportFile(dir.file("prog/report.prn")));
    ASSERT_GE(pages.size(), 3); // report, second page, one-page summary
    ASSERT_EQ(pdf::PageCount(pdfPath), pages.size());
    for (int p = 0; p < pages.size(); ++p)
        EXPECT_EQ(pdf::Simplified(pdf::PageText(pdfPath, p + 1)), pdf::Simplified(pages[p]))
            << "page " << p + 1;
    EXPECT_TRUE(pdf::PageText(pdfPath, 1).contains("CONFIDENTIAL REPORT"));
    EXPECT_TRUE(pdf::PageText(pdfPath, int(pages.size())).contains("ONE PAGE SUMMARY"));
    EXPECT_TRUE(r.out.contains(QStringLiteral("%1 pages").arg(pages.size())));
}

TEST_F(PrintCommandTest, BadInputFailsWithOneLineAndLeavesNoPdf) {
    const QString pdfPath = dir.file("out.pdf");
    const std::vector<QStringList> bad = {
        {"--client", "9", "--pdf", pdfPath}, // no such client
        {"--client", "x", "--pdf", pdfPath}, // not a number
        {"--client", "1"},                   // nowhere to print
        {"--client", "1", "--pdf", dir.file("no/such/out.pdf")},
        {"--client", "1", "--pdf", pdfPath, "--copies", "2"},
    };
    for (const QStringList& args : bad) {
        const CliOutcome r = Run(args);
        EXPECT_NE(r.code, 0) << args.join(' ').toStdString();
        EXPECT_EQ(r.err.trimmed().count('\n'), 0) << r.err.toStdString();
        EXPECT_FALSE(r.err.trimmed().isEmpty());
        EXPECT_FALSE(QFileInfo::exists(pdfPath));
    }

    // A scoring table missing: the error names it and no PDF appears.
    QFile::remove(fileio::FindCaseInsensitive(dir.file("prog"), "QVB.TXT"));
    const CliOutcome r = Run({"--client", "1", "--pdf", pdfPath});
    EXPECT_NE(r.code, 0);
    EXPECT_TRUE(r.err.contains("QVB.TXT", Qt::CaseInsensitive)) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(pdfPath));
}
