#pragma once

#include "scoring/LineWriter.h"
#include "scoring/ScoreAndPrint.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The client report: a fixed-pitch text (see LineWriter) of pages of 58 counted lines.
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
// paragraph, invalid-test and comments files.
class ReportWriter : public LineWriter {
public:
    explicit ReportWriter(const ReportRequest& request = {});

    // The whole report flow; returns the report's bytes.
    const QByteArray& WriteReport();

    enum class ReportKind { Full, OnePageSummary };
    // The page footer: the full one has the supplier's line above the product notice.
    enum class Footer { Full, Short };

    void WriteIdentification(ReportKind kind);
    void WriteProfileChart(int firstScale, int lastScale);
    void WriteCourtHistory();
    void WriteResponses();
    void WriteScaleParagraph(int scale);
    void WriteInaccurateNote();
    void WriteInvalidNotice();
    void WriteSignificantItems();
    void WriteMultipleChoice();
    void WriteCommentsAndSignature();
    void WritePageFooter(Footer footer);
    void StartNewPage();

    int PageNumber = 1;

private:
    ReportRequest request_;
};

} // namespace varenta::scoring
