#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Reads the table and text files beside the program: list items separated by commas or line
// ends (blanks around them ignored, strings optionally in double quotes) and whole lines.
// Every failure throws VError naming the file, the line and what was expected.
namespace varenta::listinput {

// What the caller expects next, for the error message. Formatted only on failure, so the
// many reads of a table cost nothing extra: `text` may hold %1..%4 for a, b, c, d.
struct What {
    const char* text;
    int a = 0;
    int b = 0;
    int c = 0;
    int d = 0;
    QString str() const;
};

class Reader {
public:
    // `name` is how messages call the file (its name beside the program).
    Reader(const QByteArray& data, const QString& name);

    // A signed 16-bit whole number.
    qint16 Number(const What& what);
    // A number that must lie in low..high (a table shape); anything else throws.
    qint16 NumberIn(int low, int high, const What& what);
    // A string item, without its quotes.
    QByteArray String(const What& what);
    // The rest of the current line, without its line end.
    QByteArray Line(const What& what);

    bool AtEnd() const { return pos_ >= end_; }
    int LineNumber() const { return line_; }
    // The line on which the last list item began.
    int LastItemLine() const { return lastItemLine_; }
    const QString& Name() const { return name_; }

    [[noreturn]] void Fail(int number, int line, const QString& detail) const;
    [[noreturn]] void FailAtEnd(const What& what) const;

private:
    // Skips blanks and empty lines up to the next item; false at the end of the file.
    bool SkipToItem();
    // The raw text of the next item; the delimiter after it is consumed.
    QByteArrayView Item(bool* quoted, int* itemLine, const What& what);
    void SkipLineEnd();
    // Consumes the comma or line end after an item.
    void ConsumeDelimiter();

    QByteArray data_;
    const char* pos_;
    const char* end_;
    int line_ = 1;
    int lastItemLine_ = 0;
    QString name_;
};

} // namespace varenta::listinput
