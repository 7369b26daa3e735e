// The three check reports. Their layout is fixed-pitch text like the client report: lines
// end with CR LF, a page break is a line holding only a form feed.
#include "checkout/Checkout.h"

#include "app/Globals.h"
#include "scoring/ScoreAndPrint.h"
#include "store/Cp1252.h"

#include <algorithm>
#include <vector>

namespace varenta::checkout {

namespace {

// A report being written, with the column the next character goes to.
class Text {
public:
    Text() { out_.reserve(1 << 16); }

    void Put(const QByteArray& s) {
        out_ += s;
        column_ += int(s.size());
    }
    void Put(const char* s) { Put(QByteArray::fromRawData(s, int(qstrlen(s)))); }
    void Margin(int n) {
        out_.append(n, ' ');
        column_ += n;
    }
    // Blanks up to column `col` (counted from 1); past it, the text goes on a new line.
    void AtColumn(int col) {
        if (column_ > col - 1)
            EndLine();
        Margin(col - 1 - column_);
    }
    // Left-aligned in `width` characters; longer text is written whole rather than cut, so
    // that no digit of a score is ever lost.
    void Left(const QByteArray& s, int width) {
        Put(s);
        if (s.size() < width)
            Margin(width - int(s.size()));
    }
    void Left(int value, int width) { Left(QByteArray::number(value), width); }
    // A number as a report writes it: a sign position before the digits, a blank after them.
    void AsNumber(int value) {
        if (value >= 0)
            Margin(1);
        Put(QByteArray::number(value));
        Margin(1);
    }
    void EndLine() {
        out_ += "\r\n";
        column_ = 0;
    }
    void PageBreak() {
        out_ += "\f\r\n";
        column_ = 0;
    }
    QByteArray take() { return std::move(out_); }

private:
    QByteArray out_;
    int column_ = 0;
};

QByteArray Name(int scale) {
    return cp1252::Encode(scoring::Texts().ScaleName[scale]);
}

std::vector<int> Genders(GenderChoice g) {
    if (g == GenderChoice::Both)
        return {1, 2};
    return {int(g)};
}

const char* GenderTitle(int g) {
    return g == 2 ? "FEMALE" : "MALE";
}

const char* RaceTitle(int r) {
    switch (r) {
    case 2:
        return "BLACK";
    case 3:
        return "HISPANIC";
    default:
        return "WHITE";
    }
}

void TableTitle(Text& t, int gender, int race) {
    t.Put(cp1252::Encode(QString::fromLatin1(ProductName)));
    t.Put(" - ");
    t.Put(GenderTitle(gender));
    t.Put(" - ");
    t.Put(RaceTitle(race));
    t.EndLine();
}

// QU, SC, RP, R% and D% side by side, `groups` times.
void ColumnHeadings(Text& t, int groups, int firstMargin, int otherMargin) {
    for (const bool dashes : {false, true}) {
        for (int i = 0; i < groups; ++i) {
            t.Margin(i == 0 ? firstMargin : otherMargin);
            t.Put(dashes ? " --" : " QU");
            t.Margin(3);
            t.Put(dashes ? "--" : "SC");
            t.Margin(3);
            t.Put(dashes ? "--" : "RP");
            t.Margin(4);
            t.Put(dashes ? "--" : "R%");
            t.Margin(4);
            t.Put(dashes ? "--" : "D%");
        }
        t.EndLine();
    }
}

// What one variant scored on the scale a table checks.
struct Cell {
    int raw = 0;
    int percentile = 0;
    int distribution = 0;
    bool hasDistribution = true;
};

Cell Read(int scale) {
    const scoring::ScoreSheet& s = scoring::Scores();
    // Stress coping has no distribution percentile of its own.
    return {s.RawScore[scale], s.Percentile[scale], s.DistributionPercentile[scale], scale != 5};
}

void ScoreFields(Text& t, const Cell& c) {
    t.Margin(3);
    t.Left(c.raw, 3);
    t.Margin(3);
    t.Left(c.percentile, 3);
    t.Margin(3);
    if (c.hasDistribution)
        t.Left(c.distribution, 3);
    else
        t.Put("N/A");
}

// The items the stress-coping ratio counts (its two sets of section 2), in item order.
const std::vector<int>& StressItems() {
    static const std::vector<int> items = [] {
        std::vector<int> v(scoring::StressSetA.begin(), scoring::StressSetA.end());
        v.insert(v.end(), scoring::StressSetB.begin(), scoring::StressSetB.end());
        std::sort(v.begin(), v.end());
        return v;
    }();
    return items;
}

bool IsStressScale(int scale) {
    return scoring::Texts().ScaleName[scale].trimmed().toUpper().startsWith(
        QLatin1String("STRESS"));
}

} // namespace

QByteArray CheckoutSession::TruthCorrection(GenderChoice gender) {
    Q_UNUSED(gender); // Reset() already gave the scratch client the chosen gender
    Text t;
    const auto pass = [&](bool zeroDeviant, QString working) {
        t.EndLine();
        t.Margin(30);
        t.Put(zeroDeviant ? "Truth Correction, Zero Deviant" : "Truth Correction, One Deviant");
        t.EndLine();
        t.Margin(30);
        t.Put(QByteArray(30, '-'));
        t.EndLine();
        t.EndLine();
        t.Margin(15);
        t.Put("KEY:  [Raw Point] - [Percentile] - [Percentile From Distribution]");
        t.EndLine();
        t.EndLine();
        t.EndLine();
        // The lead-in stands over the row numbers, which take five characters.
        t.Put(" ROW ");
        for (int s = 1; s <= 4; ++s) {
            QByteArray name = Name(s);
            // A long name is cut short of the next column; the last one is written whole.
            if (s < 4 && name.size() > 12)
                name.truncate(12);
            t.Left(name, 13);
        }
        t.EndLine();
        const std::vector<qint16> truthItems = scoring::Tables().ScaleItems[1];
        const QByteArray rule(52, '-');
        int k = 0;
        for (const int item : truthItems) {
            ++k;
            DeviateItem(working, item);
            ScoreVariant(working);
            t.Put(rule);
            t.EndLine();
            t.AsNumber(k);
            if (k < 10)
                t.Margin(1);
            if (k < 100)
                t.Margin(1);
            const scoring::ScoreSheet& sheet = scoring::Scores();
            for (int s = 1; s <= 4; ++s) {
                t.Put("[");
                t.Left(sheet.RawScore[s], 3);
                t.Put(" ");
                t.Left(sheet.Percentile[s], 3);
                t.Put(" ");
                t.Left(sheet.DistributionPercentile[s], 3);
                t.Put("]");
            }
            t.EndLine();
        }
    };

    pass(true, BaselineResponses());
    t.PageBreak();

    // The second pass starts one deviant answer into each of scales 2, 3 and 4, from tables
    // read again as the first pass left them.
    scoring::LoadScoringTables();
    QString start = BaselineResponses();
    for (int s = 2; s <= 4; ++s) {
        const std::vector<qint16>& items = scoring::Tables().ScaleItems[s];
        if (!items.empty())
            DeviateItem(start, items.front());
    }
    client_.Responses = start;
    pass(false, client_.Responses);
    return t.take();
}

QByteArray CheckoutSession::ScaleDistributions(GenderChoice gender) {
    Text t;
    const QString baseline = BaselineResponses();
    static constexpr char Answers[3] = {'1', '2', '0'}; // true or yes, false or no, none
    std::vector<Cell> cells;
    for (const int g : Genders(gender)) {
        for (int r = 1; r <= scoring::shape::Races; ++r) {
            client_.GenderCode = QString::number(g);
            client_.RaceCode = QString::number(r);
            for (int s = 2; s <= 4; ++s) {
                // A scale named for stress coping is not scored from an item list: its table
                // tries the items of the stress-coping ratio and shows scale 5's results.
                const bool stress = IsStressScale(s);
                const int shown = stress ? 5 : s;
                std::vector<int> items;
                if (stress) {
                    items = StressItems();
                } else {
                    for (const int item : scoring::Tables().ScaleItems[s])
                        items.push_back(item);
                }

                TableTitle(t, g, r);
                t.Put(Name(s));
                t.Put(" SCALE SCORING ");
                t.EndLine();
                t.Margin(6);
                t.Put("TRUE OR YES ANSWERS");
                t.Margin(12);
                t.Put("FALSE OR NO ANSWERS");
                t.Margin(12);
                t.Put("ZERO ANSWERS");
                t.EndLine();
                ColumnHeadings(t, 3, 2, 6);

                for (const int item : items) {
                    for (int a = 0; a < 3; ++a) {
                        QString answers = baseline;
                        if (item >= 1 && item <= answers.size())
                            answers[item - 1] = QLatin1Char(Answers[a]);
                        ScoreVariant(answers);
                        const Cell c = Read(shown);
                        t.Margin(a == 0 ? 3 : 6);
                        t.Left(item, 3);
                        t.Margin(3);
                        t.Left(shown, 1);
                        ScoreFields(t, c);
                    }
                    t.EndLine();
                }
                t.PageBreak();
            }
        }
    }
    return t.take();
}

QByteArray CheckoutSession::MinimumScaleScores(GenderChoice gender) {
    Text t;
    for (const int g : Genders(gender)) {
        for (int r = 1; r <= scoring::shape::Races; ++r) {
            client_.GenderCode = QString::number(g);
            client_.RaceCode = QString::number(r);
            for (int s = 2; s <= 4; ++s) {
                TableTitle(t, g, r);
                t.Put("Minimum ");
                t.Put(Name(s));
                t.Put(" SCALE SCORING ");
                t.EndLine();
                t.EndLine();
                t.Margin(6);
                t.Put("2 POINT ANSWERS");
                t.Margin(15);
                t.Put("3 POINT ANSWERS");
                t.EndLine();
                ColumnHeadings(t, 2, 2, 6);

                // The answers accumulate down the table, as in the truth-correction report:
                // row k has the first k listed items earning 2 (or 3) points, so the rows
                // climb the minimum-rule ladder one listed answer at a time.
                QString answers[2] = {BaselineResponses(), BaselineResponses()};
                const scoring::shape::Entries entries = scoring::shape::MinimumRuleEntries(s);
                for (int pos = entries.first; pos <= entries.last; ++pos) {
                    // Rule entries of 0 hold no item: the list is padded with them.
                    const int item = scoring::Tables().MinimumRuleItems[pos];
                    if (item < 1 || item > ResponseCount)
                        continue;
                    for (int half = 0; half < 2; ++half) {
                        const int points = half == 0 ? 2 : 3;
                        if (half == 1)
                            t.AtColumn(35);
                        else
                            t.Margin(3);
                        t.Left(item, 3);
                        t.Margin(3);
                        t.Left(s, 1);
                        const int code = AnswerEarning(item, points, s);
                        if (code == 0) {
                            t.Margin(3);
                            t.Put(points == 2 ? "no 2-point answer" : "no 3-point answer");
                            continue;
                        }
                        answers[half][item - 1] = QLatin1Char(char('0' + code));
                        ScoreVariant(answers[half]);
                        ScoreFields(t, Read(s));
                    }
                    t.EndLine();
                }
                t.PageBreak();
            }
        }
    }
    return t.take();
}

} // namespace varenta::checkout
