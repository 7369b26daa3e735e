#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Reads the table and text files beside the program: list items separated by commas or line
// ends (blanks around them ignored, strings optionally in double quotes) and whole lines.
// Every failure throws VError naming the file, the line and what was expected.
namespace varenta::scoring::listinput {

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
    qint16 Number(const What& what) {
        qint16 value;
        return FastNumber(&value) ? value : SlowNumber(what);
    }
    // A number that must lie in low..high (a table shape); anything else throws.
    qint16 NumberIn(int low, int high, const What& what) {
        const qint16 value = Number(what);
        if (value < low || value > high)
            FailShape(value, low, high, what);
        return value;
    }
    // A string item, without its quotes.
    QByteArray String(const What& what);
    // The rest of the current line, without its line end (valid while the reader lives).
    QByteArrayView Line(const What& what);

    // The line on which the last list item began.
    int LastItemLine() const { return lastItemLine_; }
    const QString& Name() const { return name_; }

    [[noreturn]] void Fail(int number, int line, const QString& detail) const;
    [[noreturn]] void FailAtEnd(const What& what) const;

private:
    // Most items are plain digits: read them straight, in locals the compiler can keep in
    // registers. Anything else takes the general path, which also words the errors.
    bool FastNumber(qint16* out) {
        const char* p = pos_;
        const char* const end = end_;
        int line = line_;
        while (p < end) {
            const char c = *p;
            if (c == ' ' || c == '\t') {
                ++p;
            } else if (c == '\n' || c == '\r') {
                p += (c == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
                ++line;
            } else {
                break;
            }
        }
        if (p < end) {
            const int itemLine = line;
            const bool negative = *p == '-';
            const char* q = p + ((negative || *p == '+') ? 1 : 0);
            const char* const digits = q;
            int value = 0;
            while (q < end && unsigned(*q - '0') < 10u && q - digits < 5)
                value = value * 10 + (*q++ - '0');
            const bool number = q > digits && value <= 32767 + (negative ? 1 : 0);
            while (q < end && (*q == ' ' || *q == '\t'))
                ++q;
            if (number && (q >= end || *q == ',' || *q == '\r' || *q == '\n')) {
                if (q < end && *q == ',') {
                    ++q;
                    // A comma that ends its line also ends the line for a whole-line read after it.
                    const char* r = q;
                    while (r < end && (*r == ' ' || *r == '\t'))
                        ++r;
                    if (r < end && (*r == '\r' || *r == '\n')) {
                        q = r + ((*r == '\r' && r + 1 < end && r[1] == '\n') ? 2 : 1);
                        ++line;
                    }
                } else if (q < end) {
                    q += (*q == '\r' && q + 1 < end && q[1] == '\n') ? 2 : 1;
                    ++line;
                }
                pos_ = q;
                line_ = line;
                lastItemLine_ = itemLine;
                *out = qint16(negative ? -value : value);
                return true;
            }
        }
        return false;
    }
    qint16 SlowNumber(const What& what);
    [[noreturn]] void FailShape(int value, int low, int high, const What& what) const;

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

} // namespace varenta::scoring::listinput
