#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Fixed-pitch text as the report is laid out: CR LF line ends, a form-feed line between pages,
// the Windows code page, columns counted from 1. It counts the lines of the current page as the
// layout does, so that page breaks fall where the layout puts them.
namespace varenta::scoring {

class LineWriter {
public:
    // Lines counted on the current page. The first page counts from 1; a later page counts
    // from 0 on its form-feed line.
    int Line() const { return line_; }

    const QByteArray& Bytes() const { return out_; }

protected:
    // Back to an empty text on the first page.
    void Restart(qsizetype capacity);

    // Text at the current position.
    void Put(QByteArrayView bytes) { out_ += bytes; }
    void Put(const QByteArray& bytes) { out_ += bytes; }
    void Put(const char* text) { out_ += text; }
    void Put(char c) { out_ += c; }
    void Put(const QString& text);
    // n blanks at the current position.
    void Margin(int n) { out_.append(n, ' '); }
    // An integer with its sign position and a trailing blank: " 45 ".
    void Number(int value);
    int Column() const { return int(out_.size() - lineStart_) + 1; }

    // Ends the line and counts it.
    void LineEnd();
    void BlankLine() { LineEnd(); }
    // A whole line at a margin.
    void MarginLine(int margin, const char* text);
    void MarginLine(int margin, const QByteArray& text);
    void MarginLine(int margin, const QString& text);
    // Blanks up to column n - 1. Text that already reaches column n goes on on the next line,
    // which the layout does not count: it has room for its texts only up to their columns.
    void AtColumn(int n);
    // A line the layout counts although nothing is written for it.
    void CountUnwrittenLine() { ++line_; }
    // The form-feed line that begins a new page (counted as its line 0).
    void PageBreakLine();

private:
    void EndLine();

    QByteArray out_;
    qsizetype lineStart_ = 0;
    int line_ = 1;
};

} // namespace varenta::scoring
