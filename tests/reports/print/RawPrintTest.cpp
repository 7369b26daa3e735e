#include "reports/print/ReportPrint.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "support/TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::print;
using namespace varenta::testing;

namespace {

// Puts a fake spooler command first on PATH for the length of a test.
class FakeLp {
public:
    explicit FakeLp(const QString& body) : oldPath_(qgetenv("PATH")) {
        const QString script = bin_.file("lp");
        WriteFile(script, ("#!/bin/sh\n" + body + "\n").toUtf8());
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", (bin_.path() + ":").toUtf8() + oldPath_);
    }
    // No spooler installed at all.
    FakeLp() : oldPath_(qgetenv("PATH")) { qputenv("PATH", bin_.path().toUtf8()); }
    ~FakeLp() { qputenv("PATH", oldPath_); }
    QString file(const QString& name) const { return bin_.file(name); }

private:
    TempDir bin_;
    QByteArray oldPath_;
};

class RawPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHooks();
        Globals().ProgramDir = dir.path();
        Globals().PrintDOS = true;
        // Stored in capitals: the file is found without regard to case.
        WriteFile(dir.file("REPORT.PRN"), report);
    }
    TempDir dir;
    const QByteArray report = QByteArray("page one\r\n\f\r\npage two\r\n");
};

} // namespace

TEST_F(RawPrintTest, AppendsAFormFeedLineAndSpoolsTheFileRaw) {
    FakeLp lp(QStringLiteral("DIR=$(dirname \"$0\")\nprintf '%s\\n' \"$@\" > \"$DIR/args\"\n"
                             "for a; do last=$a; done\ncp \"$last\" \"$DIR/got\""));
    QStringList hooks;
    Hooks().busy = [&] { hooks << "busy"; };
    Hooks().normal = [&] { hooks << "normal"; };
    const PrintResult r = ReadReportToPrinterC();
    EXPECT_TRUE(r.printed);
    EXPECT_EQ(ReadFile(dir.file("REPORT.PRN")), report + "\f\r\n");
    EXPECT_EQ(ReadFile(lp.file("got")), report + "\f\r\n");
    EXPECT_EQ(ReadFile(lp.file("args")), "-o\nraw\n" + dir.file("REPORT.PRN").toUtf8() + "\n");
    EXPECT_EQ(hooks, QStringList({"busy", "normal"}));
}

TEST_F(RawPrintTest, SpoolerFailuresAreReportedWithItsMessage) {
    {
        FakeLp lp(QStringLiteral("echo 'lp: Error - no default destination available.' >&2\n"
                                 "exit 1"));
        try {
            ReadReportToPrinterC();
            FAIL() << "a refused printout must raise an error";
        } catch (const VError& e) {
            EXPECT_EQ(e.number(), PrinterError);
            EXPECT_TRUE(e.description().contains("no default destination available"))
                << e.description().toStdString();
        }
    }
    {
        FakeLp none;
        try {
            SendRawToPrinter(dir.file("REPORT.PRN"));
            FAIL() << "a missing spooler must raise an error";
        } catch (const VError& e) {
            EXPECT_EQ(e.number(), PrinterError);
            EXPECT_TRUE(e.description().contains("\"lp\"")) << e.description().toStdString();
        }
    }
}

TEST_F(RawPrintTest, APdfTargetGetsPagesAndLeavesTheFileAlone) {
    FakeLp lp(QStringLiteral("touch \"$(dirname \"$0\")/called\""));
    const PrintResult r = ReadReportToPrinterC(PrintTarget::PdfFile(dir.file("c.pdf")));
    EXPECT_EQ(r.sheets, 2);
    EXPECT_EQ(ReadFile(dir.file("REPORT.PRN")), report);
    EXPECT_FALSE(QFile::exists(lp.file("called")));
}
