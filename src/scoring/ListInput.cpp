#include "scoring/ListInput.h"

#include "app/Errors.h"
#include "store/Cp1252.h"

namespace varenta::scoring::listinput {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

QString Shown(QByteArrayView text) {
    QString s = cp1252::Decode(text.first(std::min<qsizetype>(40, text.size())).toByteArray());
    if (text.size() > 40)
        s += QStringLiteral("...");
    return QLatin1Char('"') + s + QLatin1Char('"');
}

} // namespace

QString What::str() const {
    QString s = QString::fromLatin1(text);
    if (s.contains(QStringLiteral("%4")))
        return s.arg(a).arg(b).arg(c).arg(d);
    if (s.contains(QStringLiteral("%3")))
        return s.arg(a).arg(b).arg(c);
    if (s.contains(QStringLiteral("%2")))
        return s.arg(a).arg(b);
    if (s.contains(QStringLiteral("%1")))
        return s.arg(a);
    return s;
}

Reader::Reader(const QByteArray& data, const QString& name) : data_(data), name_(name) {
    pos_ = data_.constData();
    end_ = pos_ + data_.size();
    // A DOS end-of-file mark ends the text.
    const int eof = data_.indexOf('\x1a');
    if (eof >= 0)
        end_ = pos_ + eof;
}

void Reader::Fail(int number, int line, const QString& detail) const {
    throw VError(number, QStringLiteral("%1 line %2: %3").arg(name_).arg(line).arg(detail));
}

void Reader::FailAtEnd(const What& what) const {
    // The last line is the one before the reader's when the file ends with a line end.
    const bool endsWithLineEnd = end_ > data_.constData() && IsLineEnd(end_[-1]);
    throw VError(err::InputPastEnd, QStringLiteral("%1: the file ends after line %2, before %3")
                                        .arg(name_)
                                        .arg(endsWithLineEnd ? line_ - 1 : line_)
                                        .arg(what.str()));
}

void Reader::SkipLineEnd() {
    if (pos_ < end_ && *pos_ == '\r') {
        ++pos_;
        if (pos_ < end_ && *pos_ == '\n')
            ++pos_;
    } else if (pos_ < end_ && *pos_ == '\n') {
        ++pos_;
    }
    ++line_;
}

bool Reader::SkipToItem() {
    for (;;) {
        while (pos_ < end_ && IsBlank(*pos_))
            ++pos_;
        if (pos_ >= end_)
            return false;
        if (!IsLineEnd(*pos_))
            return true;
        SkipLineEnd();
    }
}

QByteArrayView Reader::Item(bool* quoted, int* itemLine, const What& what) {
    if (!SkipToItem())
        FailAtEnd(what);
    *itemLine = line_;
    lastItemLine_ = line_;
    QByteArrayView text;
    if (*pos_ == '"') {
        *quoted = true;
        const char* start = ++pos_;
        while (pos_ < end_ && *pos_ != '"' && !IsLineEnd(*pos_))
            ++pos_;
        if (pos_ >= end_ || *pos_ != '"')
            Fail(err::TypeMismatch, *itemLine,
                 QStringLiteral("the quoted text for %1 has no closing quote").arg(what.str()));
        text = QByteArrayView(start, pos_ - start);
        ++pos_;
        // Anything between the closing quote and the delimiter is not part of the value.
        while (pos_ < end_ && *pos_ != ',' && !IsLineEnd(*pos_))
            ++pos_;
    } else {
        *quoted = false;
        const char* start = pos_;
        while (pos_ < end_ && *pos_ != ',' && !IsLineEnd(*pos_))
            ++pos_;
        const char* last = pos_;
        while (last > start && IsBlank(last[-1]))
            --last;
        text = QByteArrayView(start, last - start);
    }
    ConsumeDelimiter();
    return text;
}

void Reader::ConsumeDelimiter() {
    if (pos_ >= end_)
        return;
    if (*pos_ != ',') {
        SkipLineEnd();
        return;
    }
    ++pos_;
    // A comma that ends its line also ends the line for a whole-line read after it.
    const char* p = pos_;
    while (p < end_ && IsBlank(*p))
        ++p;
    if (p < end_ && IsLineEnd(*p)) {
        pos_ = p;
        SkipLineEnd();
    }
}

qint16 Reader::SlowNumber(const What& what) {
    int line = 0;
    bool quoted = false;
    const QByteArrayView raw = Item(&quoted, &line, what);
    const QByteArrayView text = quoted ? raw.trimmed() : raw;
    int i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    if (i >= text.size())
        Fail(err::TypeMismatch, line,
             text.isEmpty()
                 ? QStringLiteral("expected a whole number for %1, found nothing").arg(what.str())
                 : QStringLiteral("expected a whole number for %1, found %2")
                       .arg(what.str(), Shown(text)));
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            Fail(err::TypeMismatch, line,
                 QStringLiteral("expected a whole number for %1, found %2")
                     .arg(what.str(), Shown(text)));
        if (value <= 100000)
            value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    if (value < -32768 || value > 32767)
        Fail(err::Overflow, line,
             QStringLiteral("%1 is %2, beyond the whole numbers this table can hold "
                            "(-32768 to 32767)")
                 .arg(what.str(), text.size() > 40
                                      ? QString::fromLatin1(text.first(37)) + QStringLiteral("...")
                                      : QString::fromLatin1(text)));
    return qint16(value);
}

void Reader::FailShape(int value, int low, int high, const What& what) const {
    Fail(err::SubscriptOutOfRange, lastItemLine_,
         QStringLiteral("%1 is %2; it must be %3 to %4")
             .arg(what.str())
             .arg(value)
             .arg(low)
             .arg(high));
}

QByteArray Reader::String(const What& what) {
    bool quoted = false;
    int line = 0;
    return Item(&quoted, &line, what).toByteArray();
}

QByteArrayView Reader::Line(const What& what) {
    if (pos_ >= end_)
        FailAtEnd(what);
    const char* start = pos_;
    while (pos_ < end_ && !IsLineEnd(*pos_))
        ++pos_;
    const QByteArrayView text(start, pos_ - start);
    SkipLineEnd();
    return text;
}

} // namespace varenta::scoring::listinput
