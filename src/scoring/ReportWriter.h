#pragma once

#include "scoring/ScoreAndPrint.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The client report: a fixed-pitch text of pages of 58 counted lines, CR LF line ends, a
// form-feed line between pages, in the Windows code page. Columns count from 1.
namespace varenta::scoring {

inline constexpr int PageLength = 58;
inline constexpr int CommentLineWidth = 71;

inline constexpr const char* SupplierLine =
    "Varenta Assessment Services, 1200 Harbor Road, Suite 4, Valdoria";
inline constexpr const char* ProductNoticeLine =
    "Varenta screening report - for authorized court staff only";

// Breaks the comment text (heading included) into lines of at most 71 characters at blanks; a
// run of more than 71 characters without a blank is broken after 71. Every line but the last
// is justified to 71 characters by widening the gaps between words from the left; the last
// is padded with blanks to 71.
QStringList WrapComment(const QString& text);

// The report has room for five lines of comment; the rest of a longer one is not printed.
inline constexpr int CommentLines = 5;

// How much of a comment the report prints, so that staff can see it while they type.
struct CommentFit {
    bool whole = true; // every character prints
    int printed = 0;   // characters that print, counted as stored (a line break counts two)
    int length = 0;    // characters of the comment as stored
};
// `typed`: the comment as the comments window holds it, line breaks as "\n".
CommentFit FitComment(const QString& typed);

// Writes the report in memory from the score sheet, the loaded client and texts, and the
// paragraph, invalid-test and comments files. Section writers append to the text and advance
// ReportLine as the layout counts it.
class ReportWriter {
public:
    explicit ReportWriter(const ReportRequest& request = {});

    // The whole report flow; returns the report's bytes.
    const QByteArray& WriteReport();

    void WriteIdentification(int kind); // 1 full report, 2 one-page summary
    void WriteProfileChart(int firstScale, int lastScale);
    void WriteCourtHistory();
    void WriteResponses();
    void WriteScaleParagraph(int scale);
    void WriteInaccurateNote();
    void WriteInvalidNotice();
    void WriteSignificantItems();
    void WriteMultipleChoice();
    void WriteCommentsAndSignature();
    void WritePageFooter(int kind); // 1 full footer, 2 short footer
    void StartNewPage();

    const QByteArray& Bytes() const { return out_; }
    int ReportLine = 1;
    int PageNumber = 1;

private:
    // Text at the current position.
    void Put(QByteArrayView bytes) { out_ += bytes; }
    void Put(const QByteArray& bytes) { out_ += bytes; }
    void Put(const char* text) { out_ += text; }
    void Put(const QString& text);
    // n blanks at the current position.
    void Margin(int n) { out_.append(n, ' '); }
    // Blanks up to column n - 1; a line end first when the line already reaches column n.
    void AtColumn(int n);
    void LineEnd();
    // A whole line at margin 7 (or any margin).
    void MarginLine(int margin, const char* text);
    void MarginLine(int margin, const QByteArray& text);
    void MarginLine(int margin, const QString& text);
    void BlankLine() { LineEnd(); }
    // An integer with its sign position and a trailing blank: " 45 ".
    void Number(int value);
    int Column() const { return int(out_.size() - lineStart_) + 1; }
    void PageBreakLine();

    ReportRequest request_;
    QByteArray out_;
    qsizetype lineStart_ = 0;
};

} // namespace varenta::scoring
