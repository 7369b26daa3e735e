#include "scoring/ReportWriter.h"

#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "scoring/ScoringInternal.h"
#include "store/ClientStore.h"
#include "store/Comments.h"
#include "store/Cp1252.h"

#include <QFile>

#include <unistd.h>

namespace varenta::scoring {

namespace {

constexpr const char* kParagraphFiles[] = {"",           "QVTR.TXT", "qvalmo.txt",
                                           "qvdgmo.txt", "QVAG.TXT", "QVSC.TXT"};

constexpr const char* kChartFrame = "+---------------+-----------+-------+---+";
constexpr const char* kEmptyRuler = "-               -           -       -   -";
constexpr const char* kDottedRuler = "-...............-...........-.......-...-";
constexpr const char* kCommentHeading = "COMMENTS/RECOMMENDATIONS:";

// The footer's lines at the foot of a page: the supplier's line (full footer only) above the
// product notice.
constexpr int kSupplierLine = PageLength - 2;
constexpr int kNoticeLine = PageLength - 1;
// Comments that end below this line leave the significant items to the next page.
constexpr int kLastLineBeforeItems = 45;

QByteArray Repeat(char c, int n) {
    return QByteArray(n, c);
}

// The lines of a text file, without their line ends; a DOS end-of-file mark ends the text.
std::vector<QByteArrayView> SplitLines(const QByteArray& data) {
    std::vector<QByteArrayView> lines;
    const char* p = data.constData();
    const char* end = p + data.size();
    if (const void* eof = memchr(p, '\x1a', size_t(data.size())))
        end = static_cast<const char*>(eof);
    lines.reserve(64);
    while (p < end) {
        const char* start = p;
        const void* nl = memchr(p, '\n', size_t(end - p));
        const char* stop = nl ? static_cast<const char*>(nl) : end;
        // A lone CR also ends a line.
        if (const void* cr = memchr(p, '\r', size_t(stop - p)))
            stop = static_cast<const char*>(cr);
        lines.emplace_back(start, stop - start);
        p = stop;
        if (p < end && *p == '\r')
            ++p;
        if (p < end && *p == '\n')
            ++p;
    }
    return lines;
}

// Widens a line to the comment width by adding blanks to the gaps between words, one blank
// per gap per sweep from the left. A line without a gap is padded at its end.
QString Justify(const QString& line) {
    if (line.size() >= CommentLineWidth)
        return line;
    QStringList words;
    std::vector<int> gaps;
    int i = 0;
    while (i < line.size()) {
        int j = i;
        while (j < line.size() && line[j] != QLatin1Char(' '))
            ++j;
        words << line.mid(i, j - i);
        int k = j;
        while (k < line.size() && line[k] == QLatin1Char(' '))
            ++k;
        if (k < line.size())
            gaps.push_back(k - j);
        i = k;
    }
    if (gaps.empty())
        return line.leftJustified(CommentLineWidth, QLatin1Char(' '));
    int length = int(line.size());
    while (length < CommentLineWidth) {
        for (size_t g = 0; g < gaps.size() && length < CommentLineWidth; ++g) {
            ++gaps[g];
            ++length;
        }
    }
    QString out;
    out.reserve(CommentLineWidth);
    for (int w = 0; w < words.size(); ++w) {
        out += words[w];
        if (size_t(w) < gaps.size())
            out += QString(gaps[size_t(w)], QLatin1Char(' '));
    }
    return out;
}

} // namespace

namespace {

// One line of a wrapped comment before it is widened, and where in the text its search for a
// break began (the end of the line before).
struct BrokenLine {
    QString text;
    int from = 0;
};

std::vector<BrokenLine> BreakComment(const QString& text) {
    std::vector<BrokenLine> lines;
    const int length = int(text.size());
    int p = 0;
    for (;;) {
        if (length - p <= CommentLineWidth) {
            lines.push_back({text.mid(p).trimmed(), p});
            break;
        }
        int blank = -1;
        for (int i = p + CommentLineWidth; i >= p; --i) {
            if (text[i] == QLatin1Char(' ')) {
                blank = i;
                break;
            }
        }
        QString line = blank >= 0 ? text.mid(p, blank - p).trimmed() : QString();
        if (!line.isEmpty()) {
            lines.push_back({line, p});
            p = blank;
            continue;
        }
        // No blank to break at: the run is broken after 71 characters.
        int start = p;
        while (start < length && text[start] == QLatin1Char(' '))
            ++start;
        if (length - start <= CommentLineWidth) {
            lines.push_back({text.mid(start).trimmed(), p});
            break;
        }
        lines.push_back({text.mid(start, CommentLineWidth).trimmed(), p});
        p = start + CommentLineWidth;
    }
    return lines;
}

} // namespace

QStringList WrapComment(const QString& text) {
    QStringList lines;
    for (const BrokenLine& line : BreakComment(text))
        lines << line.text;
    for (int i = 0; i + 1 < lines.size(); ++i)
        lines[i] = Justify(lines[i]);
    lines.last() = lines.last().leftJustified(CommentLineWidth, QLatin1Char(' '));
    return lines;
}

CommentFit FitComment(const QString& typed) {
    QString stored = typed;
    stored.replace(QLatin1Char('\n'), QStringLiteral("  "));
    stored.truncate(CommentLength);
    CommentFit fit;
    fit.length = int(stored.size());
    fit.printed = fit.length;
    // The report prints the comment trimmed, after its heading.
    int lead = 0;
    while (lead < stored.size() && stored[lead].isSpace())
        ++lead;
    const QString heading = QStringLiteral("COMMENTS/RECOMMENDATIONS: ");
    const QString text = heading + stored.trimmed();
    const std::vector<BrokenLine> lines = BreakComment(text);
    if (int(lines.size()) <= CommentLines)
        return fit;
    // What lies before the line that has no place.
    int end = lines[size_t(CommentLines)].from;
    while (end > 0 && text[end - 1] == QLatin1Char(' '))
        --end;
    fit.whole = false;
    fit.printed = std::max(0, end - int(heading.size())) + lead;
    return fit;
}

ReportWriter::ReportWriter(const ReportRequest& request) : request_(request) {}

const QByteArray& ReportWriter::WriteReport() {
    const ScoreSheet& sh = Scores();
    const ReportTexts& x = Texts();
    Restart(24 * 1024);
    PageNumber = 1;

    WriteIdentification(ReportKind::Full);
    if (sh.Percentile[scale::Truthfulness] >= InvalidTruthPercentile) {
        WriteInvalidNotice();
        BlankLine();
        WriteResponses();
        WritePageFooter(Footer::Full);
        return Bytes();
    }

    MarginLine(7, "VARENTA  RESULTS  ARE CONFIDENTIAL  AND SHOULD  BE  CONSIDERED");
    MarginLine(7, "WORKING  HYPOTHESES.  NO DECISION  SHOULD BE  BASED SOLELY  UPON  THESE");
    MarginLine(7, "RESULTS.  THE  VARENTA  IS  TO  BE USED  IN  CONJUNCTION  WITH");
    MarginLine(7, "EXPERIENCED STAFF JUDGMENT.");
    BlankLine();
    BlankLine();

    WriteProfileChart(1, ScaleCount);
    BlankLine();
    WriteCourtHistory();
    WriteResponses();
    if (Line() < kNoticeLine)
        WritePageFooter(Footer::Full);
    StartNewPage();

    MarginLine(7, " * * SUMMARY PARAGRAPHS EXPLAINING CLIENT'S ATTAINED SCALE SCORES * *");
    MarginLine(7, QByteArray("     ") + Repeat('-', 60));
    BlankLine();
    for (int s = 1; s <= ScaleCount; ++s) {
        if (sh.OmittedCount[s] > MostOmittedItems) {
            MarginLine(7, x.ScaleName[s]);
            WriteInaccurateNote();
        } else {
            WriteScaleParagraph(s);
            if (Line() + 3 > PageLength)
                StartNewPage();
            if (Line() > 2 && Line() < PageLength)
                BlankLine();
        }
        if (Line() + 3 > PageLength)
            StartNewPage();
    }

    BlankLine();
    AtColumn(38);
    Put("* * * * *");
    LineEnd();
    BlankLine();
    BlankLine();
    if (Line() + 10 > PageLength)
        StartNewPage();
    WriteCommentsAndSignature();
    if (Line() > kLastLineBeforeItems) {
        if (Line() < kNoticeLine)
            WritePageFooter(Footer::Short);
        StartNewPage();
    }
    WriteSignificantItems();
    if (Line() + 12 > PageLength)
        StartNewPage();
    WriteMultipleChoice();
    if (Line() + 8 < PageLength)
        BlankLine();
    WritePageFooter(Footer::Full);

    if (request_.summaryPage) {
        PageBreakLine();
        WriteIdentification(ReportKind::OnePageSummary);
        WriteProfileChart(1, ScaleCount);
        WriteCourtHistory();
        WriteCommentsAndSignature();
        WritePageFooter(Footer::Short);
    }
    return Bytes();
}

void ReportWriter::WriteIdentification(ReportKind kind) {
    const ScoringClient& c = LoadedClient();
    const QString birth = internal::FormatReportDate(c.DateOfBirth);
    if (kind == ReportKind::Full)
        BlankLine();
    MarginLine(30, "VALDORIA VARENTA");
    MarginLine(30, Repeat('*', 25));
    if (kind == ReportKind::Full) {
        AtColumn(34);
        Put("CONFIDENTIAL REPORT");
        LineEnd();
        MarginLine(33, Repeat('*', 19));
    } else {
        AtColumn(32);
        Put("   ONE PAGE SUMMARY");
        LineEnd();
        MarginLine(31, QByteArray("   ") + Repeat('*', 16));
    }
    BlankLine();

    MarginLine(7, QStringLiteral("NAME             : ") + c.Demographic[ScoringClient::Name]);
    MarginLine(7, QStringLiteral("ID #             : ") + c.Demographic[ScoringClient::ID]);
    Margin(7);
    Put("AGE: ");
    Put(c.Demographic[ScoringClient::Age]);
    AtColumn(21);
    Put("SEX : ");
    Put(GenderName(c.Demographic[ScoringClient::GenderCode]));
    LineEnd();
    MarginLine(7, QStringLiteral("DATE OF BIRTH    : ") + birth);
    MarginLine(7, QStringLiteral("ETHNICITY/RACE   : ") +
                      RaceName(c.Demographic[ScoringClient::RaceCode]));
    MarginLine(7, QStringLiteral("EDUCATION/GRADE  : ") +
                      EducationName(c.Demographic[ScoringClient::EducationCode]));
    MarginLine(7, QStringLiteral("DATE QV SCORED   : ") + c.Demographic[ScoringClient::DateScored]);
    BlankLine();
    if (kind == ReportKind::Full && Scores().Percentile[scale::Truthfulness] < 95)
        BlankLine();
}

void ReportWriter::WriteProfileChart(int first, int last) {
    const ScoreSheet& sh = Scores();
    const ReportTexts& x = Texts();
    Margin(7);
    Put("MEASURES");
    Margin(12);
    Put("%ile");
    Margin(6);
    Put("                QV PROFILE");
    LineEnd();
    Margin(7);
    Put("--------");
    Margin(12);
    Put("----");
    Margin(6);
    Put(kChartFrame);
    LineEnd();
    MarginLine(37, "-   LOW RISK    -  MEDIUM   -PROBLEM-MAX-");
    MarginLine(37, kEmptyRuler);

    const QByteArray dotted(kDottedRuler);
    const bool inaccurate = sh.Percentile[scale::Truthfulness] >= InaccurateTruthPercentile;
    bool notScored = false;
    for (int s = first; s <= last; ++s) {
        const int p = sh.Percentile[s];
        // The bar area holds 41 columns: percentiles beyond 0..100 are drawn at its ends.
        const int n = std::clamp(p * 10 / 25, 0, 40);
        Margin(7);
        Put(x.ScaleName[s]);
        AtColumn(p < 10 ? 29 : 28);
        if (sh.OmittedCount[s] > MostOmittedItems) {
            Put(" **");
            AtColumn(38);
            Put("Scale not scored, insufficient answers");
            notScored = true;
        } else {
            Number(p);
            if (inaccurate || (sh.ArrestMinimum[s] && (s == 2 || s == 3)))
                Put("*");
            AtColumn(38);
            Put(Repeat('*', n + 1));
            Put(dotted.right(40 - n));
        }
        LineEnd();
        MarginLine(37, s < last ? kEmptyRuler : kChartFrame);
    }

    Margin(7);
    if (notScored)
        Put("** Too many omitted items");
    else if (inaccurate)
        Put("* These test results");
    AtColumn(38);
    Put("0");
    Margin(15);
    Put("40");
    Margin(10);
    Put("70");
    Margin(6);
    Put("90 100");
    LineEnd();
    Margin(7);
    if (notScored)
        Put("   to score this scale");
    else if (inaccurate)
        Put("  are inaccurate");
    else if (sh.ArrestMinimum[scale::Alcohol] || sh.ArrestMinimum[scale::Drugs])
        Put("* Minimum Scale Score");
    AtColumn(38);
    Put("----------- PERCENTILE SCORES -----------");
    LineEnd();
    BlankLine();
}

void ReportWriter::WriteCourtHistory() {
    const ScoringClient& c = LoadedClient();
    OneBased<QString, CourtFieldCount> court;
    for (int q = 1; q <= CourtFieldCount; ++q) {
        QString v = c.Court[q];
        if (v == QLatin1String("N"))
            v = QStringLiteral("N/A");
        if (v.size() < 2)
            v.prepend(QLatin1Char(' '));
        court[q] = v;
    }
    MarginLine(21, "ADDITIONAL INFORMATION PROVIDED BY CLIENT");
    MarginLine(21, Repeat('-', 41));
    BlankLine();

    static constexpr const char* kLeft[] = {
        "Age at First Arrest......... ", "Times on Probation.......... ",
        "Probation Revocations....... ", "Total Number of Arrests..... "};
    static constexpr const char* kRight[] = {
        "Times in Juvenile Detention..... ", "Juvenile Court Hearings......... ",
        "Alcohol-Related Arrests......... ", "Drug-Related Arrests............ "};
    for (int row = 0; row < 4; ++row) {
        AtColumn(8);
        Put(kLeft[row]);
        Put(court[row + 1]);
        AtColumn(43);
        Put(kRight[row]);
        Put(court[row + 5]);
        LineEnd();
    }
    if (Line() < PageLength)
        BlankLine();
}

void ReportWriter::WriteResponses() {
    const ScoreSheet& sh = Scores();
    const int lastTrueFalse = Globals().SectionEnd[1];
    AtColumn(36);
    Put("QV RESPONSES");
    AtColumn(65);
    Put("(TEST #");
    Number(LoadedClient().TestNumber);
    Put(")");
    LineEnd();
    AtColumn(36);
    Put("------------");
    LineEnd();

    static constexpr const char* kLabels[] = {"  1- 50   ", " 51-100   ", "101-116   "};
    for (int row = 0; row < 3; ++row) {
        const int first = row * 50 + 1;
        const int last = std::min(first + 49, int(ResponseCount));
        Margin(7);
        Put(kLabels[row]);
        for (int item = first; item <= last; ++item) {
            const int code = sh.ResponseCodes[item];
            char ch;
            if (item <= lastTrueFalse)
                ch = code == 1 ? 'T' : code == 2 ? 'F' : '0';
            else
                ch = char('0' + std::abs(code) % 10);
            Put(ch);
            if ((item - first + 1) % 10 == 0)
                Margin(2);
        }
        LineEnd();
    }
    if (Line() < PageLength)
        BlankLine();
}

void ReportWriter::WriteScaleParagraph(int s) {
    const ReportTexts& x = Texts();
    const int p = Scores().Percentile[s];
    const RiskRangeResult range = RiskRange(p);
    // Two places for the percentile; one the layout never expects is printed whole.
    const QByteArray percentText =
        (p >= 0 && p <= 99) ? QByteArray::number(p).rightJustified(2, ' ') : QByteArray::number(p);
    Margin(7);
    Put(x.ScaleName[s]);
    Put(" SCALE: ");
    Put(x.RangeName[range.range]);
    Put(" RISK RANGE");
    AtColumn(61);
    Put("RISK PERCENTILE:");
    Put(percentText);
    LineEnd();

    const char* name = kParagraphFiles[s];
    const QByteArray file =
        internal::ReadProgramFile(name, "paragraph", internal::MaxParagraphFileSize);
    const std::vector<QByteArrayView> lines = SplitLines(file);
    const QByteArray key = internal::Encode(range.keyLabel);
    size_t i = 0;
    while (i < lines.size() && lines[i] != key)
        ++i;
    if (i == lines.size())
        throw VError(err::InputPastEnd,
                     QStringLiteral("%1 has no paragraph for \"%2\" (%3, percentile %4): the file "
                                    "needs a line holding exactly that key, the paragraph, and a "
                                    "line END.")
                         .arg(QString::fromLatin1(name), internal::Short(range.keyLabel),
                              internal::Short(x.ScaleName[s]))
                         .arg(p));
    for (++i; i < lines.size(); ++i) {
        if (lines[i] == "END")
            return;
        Margin(8);
        Put(lines[i]);
        LineEnd();
        if (Line() == PageLength)
            StartNewPage();
    }
    throw VError(err::InputPastEnd,
                 QStringLiteral("%1: the paragraph for \"%2\" has no END line after it.")
                     .arg(QString::fromLatin1(name), internal::Short(range.keyLabel)));
}

void ReportWriter::WriteInaccurateNote() {
    BlankLine();
    MarginLine(7, "This scale is inaccurate  and  not  scorable  because  the  respondent");
    MarginLine(7, "omitted or skipped an excessive number of items.");
    BlankLine();
}

void ReportWriter::WriteInvalidNotice() {
    const QByteArray file = internal::ReadProgramFile(InvalidTestFileName, "invalid-test text",
                                                      internal::MaxParagraphFileSize);
    for (const QByteArrayView line : SplitLines(file)) {
        if (line == "END")
            return;
        Margin(7);
        Put(line);
        LineEnd();
    }
    throw VError(err::InputPastEnd, QStringLiteral("%1 has no END line after its text.")
                                        .arg(QString::fromLatin1(InvalidTestFileName)));
}

void ReportWriter::WriteSignificantItems() {
    const ScoreSheet& sh = Scores();
    const ScoringTables& t = Tables();
    const ReportTexts& x = Texts();
    static constexpr const char* kTitles[] = {"", "ALCOHOL", "DRUGS", "AGGRESSIVENESS", "", ""};
    // Every entry keeps its own slot, so none is lost when all 24 items and both arrest notes
    // are listed.
    OneBased<QStringList, 5> groups;
    for (int slot = 1; slot <= 3; ++slot) {
        const shape::Entries entries = shape::SignificantItemEntries(slot + 1);
        for (int e = entries.first; e <= entries.last; ++e) {
            const int item = t.SignificantItems[e];
            if (item != 0 && sh.ItemPoints[item] > 1)
                groups[slot] << x.SignificantItemText[e];
        }
    }
    if (sh.ArrestMinimum[scale::Alcohol])
        groups[1] << QStringLiteral("** Score due to alcohol arrests");
    if (sh.ArrestMinimum[scale::Drugs])
        groups[2] << QStringLiteral("** Score due to drug arrests");
    for (int slot = 1; slot <= 3; ++slot) {
        if (groups[slot].isEmpty())
            groups[slot] << QStringLiteral("No significant items were reported")
                         << QStringLiteral("for this scale.");
    }

    if (Line() + std::max(groups[1].size(), groups[2].size()) + 5 > PageLength)
        StartNewPage();
    MarginLine(7, "SIGNIFICANT ITEMS: The following self-report responses represent topics");
    MarginLine(7, "that may help in understanding the youth's situation.");
    BlankLine();

    auto continued = [this](qsizetype rows) {
        if (Line() + 2 + rows > PageLength) {
            StartNewPage();
            MarginLine(7, "SIGNIFICANT ITEMS (continued):");
            BlankLine();
        }
    };
    auto closing = [this] {
        if (Line() >= 3 && Line() < PageLength)
            BlankLine();
    };
    for (int left = 1; left <= 3; left += 2) {
        const QStringList& l = groups[left];
        const QStringList& r = groups[left + 1];
        const qsizetype rows = std::max(l.size(), r.size());
        continued(rows);
        const QByteArray lt(kTitles[left]);
        const QByteArray rt(kTitles[left + 1]);
        Margin(7);
        Put(lt);
        AtColumn(44);
        Put(rt);
        LineEnd();
        Margin(7);
        Put(Repeat('-', int(lt.size())));
        AtColumn(44);
        Put(Repeat('-', int(rt.size())));
        LineEnd();
        for (qsizetype k = 0; k < rows; ++k) {
            if (k < l.size()) {
                Margin(7);
                Put(l[k]);
            }
            if (k < r.size()) {
                AtColumn(44);
                Put(r[k]);
            }
            LineEnd();
        }
        closing();
    }
    // The fifth slot has no title and no entries; its two lines hold only the margin.
    continued(groups[5].size());
    MarginLine(7, kTitles[5]);
    MarginLine(7, kTitles[5]);
    for (const QString& entry : groups[5]) {
        MarginLine(7, entry);
    }
    closing();
}

void ReportWriter::WriteMultipleChoice() {
    const ScoreSheet& sh = Scores();
    const ReportTexts& x = Texts();
    OneBased<QString, shape::ChoiceItems> text;
    for (int n = 1; n <= shape::ChoiceItems; ++n) {
        const int item = shape::ChoiceFirstItem + n - 1;
        const int code = sh.ResponseCodes[item];
        if (code >= 1 && code <= 4)
            text[n] = x.ChoiceText[(n - 1) * shape::ChoiceAnswers + code];
        else
            text[n] = QStringLiteral("%1. No response given").arg(item, 3);
    }
    MarginLine(7, "MULTIPLE CHOICE (JUVENILE'S SELF-REPORT)");
    MarginLine(7, Repeat('-', 40));
    for (int k = 1; k <= 10; ++k) {
        Margin(7);
        Put(text[k]);
        AtColumn(44);
        if (k + 10 <= shape::ChoiceItems)
            Put(text[k + 10]);
        LineEnd();
    }
    if (Line() < PageLength)
        BlankLine();
}

void ReportWriter::WriteCommentsAndSignature() {
    const QString comment = ReadComment(LoadedClient().TestNumber);
    const QStringList lines = WrapComment(QStringLiteral("COMMENTS/RECOMMENDATIONS: ") + comment);
    Margin(7);
    if (comment.isEmpty()) {
        Put(kCommentHeading);
        Put(Repeat('_', 46));
    } else {
        Put(lines[0]);
    }
    LineEnd();
    const int written = std::min(int(lines.size()), CommentLines);
    for (int k = 1; k < written; ++k)
        MarginLine(7, lines[k]);
    // Five comment lines in all: each one the comment leaves empty is ruled for writing on. A
    // blank line goes before each ruled line and before the signature; after a comment of two
    // to five lines the first of them is left out but still counted, as the layout always had.
    bool leaveOut = lines.size() >= 2 && lines.size() <= CommentLines;
    auto blankBefore = [&] {
        if (leaveOut)
            CountUnwrittenLine();
        else
            BlankLine();
        leaveOut = false;
    };
    for (int k = written; k < CommentLines; ++k) {
        blankBefore();
        MarginLine(7, Repeat('_', CommentLineWidth));
    }
    blankBefore();
    MarginLine(7, "______________________________    ____________");
    MarginLine(7, "    STAFF MEMBER SIGNATURE            DATE");
    if (Line() < PageLength)
        BlankLine();
}

void ReportWriter::WritePageFooter(Footer footer) {
    while (Line() < (footer == Footer::Full ? kSupplierLine : kNoticeLine))
        BlankLine();
    if (footer == Footer::Full) {
        if (Line() > PageLength)
            return;
        Put(SupplierLine);
        LineEnd();
    }
    AtColumn(14);
    Put(ProductNoticeLine);
    LineEnd();
}

void ReportWriter::StartNewPage() {
    ++PageNumber;
    PageBreakLine();
    Margin(7);
    Put("NAME: ");
    Put(LoadedClient().Demographic[ScoringClient::Name]);
    AtColumn(41);
    Put("-");
    Put(char('0' + PageNumber % 10));
    Put("-");
    AtColumn(70);
    Put("QV REPORT");
    LineEnd();
    BlankLine();
}

void WriteReport(const ReportRequest& request) {
    if (Globals().GenderNames.isEmpty())
        InitCodeTables();
    const QString path = ReportFilePath();
    try {
        ReportWriter writer(request);
        fileio::ReplaceScratch(path, writer.WriteReport());
    } catch (...) {
        // No report of an earlier client may stand in for this one.
        ::unlink(QFile::encodeName(path).constData());
        throw;
    }
    internal::ClearAfterReport();
}

} // namespace varenta::scoring
