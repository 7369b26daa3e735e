#pragma once

#include "scoring/ScoreAndPrint.h"

#include <QDialog>

#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace varenta::ui {
class MenuButtons;
class MsgPanel;
} // namespace varenta::ui

namespace varenta::reports {

// Edits the current client's comment, which the report prints under
// "COMMENTS/RECOMMENDATIONS:". Saving shows the report with the new comment at once.
class frmComments : public QDialog {
    Q_OBJECT
public:
    static constexpr int MaxLength = 300;

    explicit frmComments(QWidget* parent = nullptr);

    // What the report shown after saving is asked for (the one-page summary box).
    void SetRequest(const scoring::ReportRequest& request) { request_ = request; }
    const scoring::ReportRequest& Request() const { return request_; }

    // Shows the report after a save: the report viewer unless replaced.
    void SetShowReport(std::function<void()> show) { showReport_ = std::move(show); }

    // False when the comments could not be read and the user gave up: nothing to edit.
    bool Loaded() const { return loaded_; }
    bool Saved() const { return saved_; }

    // Length of a comment as stored: a line break takes two characters (CR LF).
    static int StoredLength(const QString& text);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    bool LoadWindow();
    void TextChanged();
    void ShowReportFit(const QString& text);
    void InformationOk();
    void PlaceFrame();

    QWidget* area_;
    QGroupBox* frCourt_;
    QLabel* lblClientName_;
    QPlainTextEdit* txtComments_;
    QLineEdit* txtCharLeft_;
    QLabel* lblReportFit_;
    ui::MenuButtons* buttons_;
    ui::MsgPanel* msgPanel_;
    scoring::ReportRequest request_;
    std::function<void()> showReport_;
    QString loadedText_;
    bool loaded_ = false;
    bool saved_ = false;
    bool adjusting_ = false;
};

} // namespace varenta::reports
