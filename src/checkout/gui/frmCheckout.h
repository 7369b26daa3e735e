#pragma once

#include "app/Errors.h"
#include "checkout/Checkout.h"
#include "reports/print/ReportPrint.h"

#include <QDialog>
#include <QVector>

#include <memory>

class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace varenta::ui {
class MenuButtons;
}

namespace varenta::checkout {

// The scoring self-check window: builds the check reports into report.prn, shows the last
// one and prints it. It works on a scratch client of its own; closing it gives CurrentClient
// back as it found it.
class frmCheckout : public QDialog {
    Q_OBJECT
public:
    // The menu buttons, top to bottom: the control array cmdButton(0 to 5), then Print.
    enum Button {
        TruthCorrection,
        ScaleDistributions,
        MinimumScaleScores,
        HistoryScoring,
        HistoryMinimumScores,
        CloseButton,
        PrintButton,
    };
    static constexpr int CommandButtons = PrintButton;

    explicit frmCheckout(QWidget* parent = nullptr);
    ~frmCheckout() override;

    // Fills a scratch client record for `slot` (see checkout::InitializeClient).
    static void InitializeClient(ClientRecord& client, int slot);
    // Prints the shown report (the Print button).
    void ReadReportToPrinterC();
    // Prints the report file straight away in 9 point (after the distributions report).
    void PrintDirect();

    // Where printouts go; the system's default printer unless a test says otherwise.
    void SetPrintTarget(const reports::PrintTarget& target) { printTarget_ = target; }

    static QString Hint(int button);

    QPushButton* cmdButton(int i) const;
    QPushButton* cmdPrint = nullptr;
    QGroupBox* fraSelectGender = nullptr;
    QRadioButton* optMale = nullptr;
    QRadioButton* optFemale = nullptr;
    QPlainTextEdit* txtDeviant = nullptr;
    QPlainTextEdit* txtDisplay = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

public slots:
    void done(int result) override;

private:
    void ButtonChosen(int index);
    void RunReport(ReportKind kind);
    void ShowReportFile();
    void ShowError(const VError& e);
    GenderChoice Gender() const;
    CheckoutSession& Session();

    ui::MenuButtons* buttons_ = nullptr;
    std::unique_ptr<CheckoutSession> session_;
    reports::PrintTarget printTarget_ = reports::PrintTarget::DefaultPrinter();
    bool centred_ = false;
};

} // namespace varenta::checkout
