#pragma once

#include <QPlainTextEdit>

namespace varenta::reports {

// A read-only, unwrapped box showing a report: a page break (a line holding only the form
// feed) is drawn as a dashed rule across the box, where the printer starts a new sheet.
class ReportTextBox : public QPlainTextEdit {
public:
    explicit ReportTextBox(QWidget* parent = nullptr);

    // A report file's text as the box holds it, one report line per line: CR LF (or a lone
    // CR) ends a line, the last line end is dropped, and a form-feed line stays as the
    // character that breaks the page.
    static QString DisplayText(const QString& report);

protected:
    void paintEvent(QPaintEvent* e) override;
};

} // namespace varenta::reports
