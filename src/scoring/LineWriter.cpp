#include "scoring/LineWriter.h"

#include "scoring/ScoringInternal.h"

namespace varenta::scoring {

void LineWriter::Restart(qsizetype capacity) {
    out_.clear();
    out_.reserve(capacity);
    lineStart_ = 0;
    line_ = 1;
}

void LineWriter::Put(const QString& text) {
    out_ += internal::Encode(text);
}

void LineWriter::Number(int value) {
    if (value >= 0)
        out_ += ' ';
    out_ += QByteArray::number(value);
    out_ += ' ';
}

void LineWriter::EndLine() {
    out_ += "\r\n";
    lineStart_ = out_.size();
}

void LineWriter::LineEnd() {
    EndLine();
    ++line_;
}

void LineWriter::MarginLine(int margin, const char* text) {
    Margin(margin);
    Put(text);
    LineEnd();
}

void LineWriter::MarginLine(int margin, const QByteArray& text) {
    Margin(margin);
    Put(text);
    LineEnd();
}

void LineWriter::MarginLine(int margin, const QString& text) {
    Margin(margin);
    Put(text);
    LineEnd();
}

void LineWriter::AtColumn(int n) {
    if (Column() > n)
        EndLine();
    Margin(n - Column());
}

void LineWriter::PageBreakLine() {
    out_ += '\f';
    EndLine();
    line_ = 0;
}

} // namespace varenta::scoring
