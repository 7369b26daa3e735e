#pragma once

#include "reports/PrintSelected.h"
#include "reports/print/ReportPrint.h"
#include "scoring/ScoreAndPrint.h"

#include <QDialog>

#include <optional>

class QFrame;
class QGroupBox;
class QListWidget;
class QPlainTextEdit;

namespace varenta::ui {
class MenuButtons;
class MsgPanel;
} // namespace varenta::ui

namespace varenta::reports {

// Prints the reports of `clients` in the order given, each as its own printout, with the
// hourglass on and the progress in `helpLine` (may be null). Where no printer is set up the
// user may save them as PDF files instead, one per client. A failed step may be tried again;
// a run that stops part-way says which clients were printed. Never throws.
BatchPrintResult PrintReportsOf(const QList<int>& clients, const scoring::ReportRequest& request,
                                ui::MsgPanel* helpLine);

// The PDF file of one client's report, next to the file the user chose: "Reports.pdf" gives
// "Reports 3.pdf" for client 3.
QString ClientPdfPath(const QString& chosen, int client);

// The window that lets the supervisor choose clients and print their reports.
class frmPrintSelected : public QDialog {
    Q_OBJECT
public:
    explicit frmPrintSelected(QWidget* parent = nullptr);

    // What every scoring run is asked for (the supervisor's one-page summary box).
    void SetRequest(const scoring::ReportRequest& request) { request_ = request; }
    const scoring::ReportRequest& Request() const { return request_; }

    // The outcome of the last "Print Selected", if it ran.
    const std::optional<BatchPrintResult>& LastRun() const { return lastRun_; }

    QListWidget* lbNameDisplay() const { return list_; }

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // The menu buttons, left to right.
    enum class Choice { PrintSelected, SelectAll, ReturnToMainMenu };

    void Activation();
    void FillList();
    void UpdatePrintButton();
    void ListFocusIn();
    void ListFocusOut();
    void PrintSelected();
    void SelectAll();
    void PlaceFrame();

    QWidget* area_;
    QFrame* fraAll_;
    QPlainTextEdit* txtInstructions_;
    QGroupBox* fraClient_;
    QListWidget* list_;
    ui::MenuButtons* buttons_;
    ui::MsgPanel* msgPanel_;
    scoring::ReportRequest request_;
    std::optional<BatchPrintResult> lastRun_;
    bool running_ = false;
};

} // namespace varenta::reports
