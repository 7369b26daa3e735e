#pragma once

#include "app/Errors.h"
#include "app/Messages.h"
#include "reports/print/ReportPrint.h"
#include "scoring/ScoreAndPrint.h"

#include <QDialog>

#include <functional>

class QFrame;
class QPlainTextEdit;
class QPushButton;
class QWindow;

namespace varenta::ui {
class MsgPanel;
}

namespace varenta::reports {

// Fills the printing hooks with the window layer's parts: the hourglass while printing and
// a file chooser for saving a report as PDF when no printer is set up. The program's wiring
// calls it once.
void InstallPrintUi();

// The system's print dialog: printer, copies, paper, two-sided, or a PDF file instead. The
// dialog starts on the default printer and its paper, and proposes `documentName` for a
// file. Empty: cancelled.
std::optional<PrintTarget> ChoosePrinter(QWidget* parent, const QString& documentName);

// The report viewer: scores the current client when it becomes active, shows the report and
// prints it.
class frmViewReport : public QDialog {
    Q_OBJECT
    Q_PROPERTY(bool SummaryPage READ SummaryPage WRITE SetSummaryPage)
public:
    explicit frmViewReport(QWidget* parent = nullptr);
    ~frmViewReport() override;

    // What the scoring run is asked for (the supervisor's one-page summary box).
    void SetRequest(const scoring::ReportRequest& request) { request_ = request; }
    const scoring::ReportRequest& Request() const { return request_; }
    bool SummaryPage() const { return request_.summaryPage; }
    void SetSummaryPage(bool on) { request_.summaryPage = on; }

    // Where "Print Report" prints (the default printer unless changed).
    void SetPrintTarget(const PrintTarget& target) { target_ = target; }
    // The print dialog of "Print To"; ChoosePrinter unless replaced (tests answer it).
    using PrinterChooser = std::function<std::optional<PrintTarget>()>;
    void SetPrinterChooser(PrinterChooser chooser) { chooser_ = std::move(chooser); }

    // The scoring run; ScoreClient unless replaced (tests count or fail it).
    using Scorer = std::function<void(const scoring::ReportRequest&)>;
    void SetScorer(Scorer scorer) { scorer_ = std::move(scorer); }

    void MOUSEDEFAULT();
    void MOUSEWAIT();

    // Scores the client and loads the report: what activation runs.
    void Activation();
    // "Print Report": prints the report file on the default printer; errors are shown, never
    // thrown.
    PrintResult PrintReport();
    // "Print To": the print dialog first, then the same.
    PrintResult PrintReportTo();

    bool HasReport() const { return hasReport_; }
    int ScoringRuns() const { return scoringRuns_; }

    QFrame* fraAll;
    QPlainTextEdit* Text1;
    QPushButton* cmdPrintReport;
    QPushButton* cmdPrintTo;
    QPushButton* cmdCancel;
    ui::MsgPanel* msgPanel; // the help line

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    bool HandleKey(QKeyEvent* key);
    void CentreFrame();
    PrintResult PrintOn(const PrintTarget& target);
    void ShowHelp(QObject* control);
    static QString FailureText(const VError& e);
    static QString FailureText(const std::exception& e);
    void ShowFailure(const QString& title, const QString& text);
    void ShowMessage(const QString& text, MsgIcon icon);
    void FocusWindowChanged(QWindow* window);
    bool IsOwnWindow(const QWindow* window) const;

    scoring::ReportRequest request_;
    PrintTarget target_ = PrintTarget::DefaultPrinter();
    PrinterChooser chooser_;
    Scorer scorer_;
    bool hasReport_ = false;
    int scoringRuns_ = 0;
    bool viewRecorded_ = false;
    // Scoring runs once per showing, and again only when the user has been in another window
    // of the program: message boxes and dialogs opened from here do not count, so closing
    // them never starts another run.
    bool scorePending_ = false;
    bool activationQueued_ = false;
    int busy_ = 0; // inside scoring or printing
};

// Opens the viewer modally for the current client.
void ViewReport(QWidget* parent, const scoring::ReportRequest& request = {});

} // namespace varenta::reports
