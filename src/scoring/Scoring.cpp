// Scale scoring: the tables beside the program, one client's answers and court history, and
// the five scales' raw points and percentiles.
#include "scoring/ScoreAndPrint.h"

#include "administration/TestSpec.h"
#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Paths.h"
#include "scoring/ListInput.h"
#include "scoring/ScoringInternal.h"
#include "store/Cp1252.h"

#include <QDate>

#include <cstring>

namespace varenta::scoring {

using listinput::Reader;
using listinput::What;

namespace {

ScoreSheet g_sheet;
ScoringTables g_tables;
ReportTexts g_texts;
ScoringClient g_client;
const StateReset resetScoring([] {
    g_sheet = {};
    g_tables = {};
    g_texts = {};
    g_client = {};
});

// Every item from the first to the last of the stress-coping sets counts as omitted when not
// answered, the three in neither set included.
constexpr int kStressFirst = StressSetA.front();
constexpr int kStressLast = StressSetB.back();

constexpr int kAdjustedItem = 104;
constexpr int kTrueAnswersLimit = 59; // more True answers than this invalidate truthfulness
constexpr int kInvalidTruthMarker = 99;

// Points for a court count of 1, 2, 3, 4 and 5 or more.
constexpr int kAlcoholArrestPoints[] = {1, 2, 4, 5, 6};
constexpr int kDrugArrestPoints[] = {1, 3, 4, 5, 6};
constexpr int kProbationPoints[] = {1, 2, 3, 4, 6};

int CountPoints(const int (&table)[5], int count) {
    if (count <= 0)
        return 0;
    return table[count >= 5 ? 4 : count - 1];
}

// 16-bit arithmetic: a result that does not fit is an error, never a wrap-around.
qint16 Checked(int value, int scale) {
    if (value < -32768 || value > 32767) {
        const QString name = g_texts.ScaleName[scale].isEmpty()
                                 ? QStringLiteral("scale %1").arg(scale)
                                 : QStringLiteral("scale %1 (%2)")
                                       .arg(scale)
                                       .arg(internal::Short(g_texts.ScaleName[scale]));
        throw VError(err::Overflow,
                     QStringLiteral("The raw score of %1 comes to %2, more than a 16-bit whole "
                                    "number holds (-32768 to 32767). Check the scoring tables in "
                                    "%3.")
                         .arg(name)
                         .arg(value)
                         .arg(QString::fromLatin1(ScoringTablesFileName)));
    }
    return qint16(value);
}

void AddPoints(int scale, int points) {
    g_sheet.RawScore[scale] = Checked(g_sheet.RawScore[scale] + points, scale);
}

void ReadScoringTables(ScoringTables& t) {
    Reader r(internal::ReadProgramFile(ScoringTablesFileName, "scoring tables",
                                       internal::MaxTableFileSize),
             QString::fromLatin1(ScoringTablesFileName));
    for (int i = 1; i <= shape::SignificantItems; ++i)
        t.SignificantItems[i] =
            r.NumberIn(0, administration::ItemCount, {"significant item %1", i});
    for (int section = 1; section <= administration::SectionCount; ++section) {
        for (int code = 0; code <= administration::HighestAnswerCode(section); ++code) {
            const What what{"the answer key of section %1, answer %2", section, code};
            QByteArray key = r.String(what);
            for (int p = 0; p < key.size(); ++p) {
                if (key[p] < '0' || key[p] > '9')
                    r.Fail(err::TypeMismatch, r.LastItemLine(),
                           QStringLiteral("%1 must hold one digit per item, but position %2 "
                                          "holds \"%3\"")
                               .arg(what.str())
                               .arg(p + 1)
                               .arg(cp1252::DecodeByte(uchar(key[p]))));
            }
            t.AnswerKey[section][code] = key;
        }
    }
    for (int g = 1; g <= shape::Genders; ++g) {
        for (int race = 1; race <= shape::Races; ++race) {
            for (int s = 1; s <= NormedScaleCount; ++s) {
                const int n =
                    r.NumberIn(0, shape::MaxNormRaw,
                               {"the norm count of gender %1, race %2, scale %3", g, race, s});
                t.NormCount[g][race][s] = qint16(n);
                auto& norm = t.Norm[g][race][s];
                for (int raw = 1; raw <= n; ++raw)
                    norm[raw] = r.Number(
                        {"the norm percentile of gender %1, race %2, scale %3, raw score %4", g,
                         race, s, raw});
            }
        }
    }
    for (int g = 1; g <= shape::Genders; ++g) {
        for (int race = 1; race <= shape::Races; ++race) {
            const int m =
                r.NumberIn(0, shape::MaxStressBands,
                           {"the stress-coping percentile count of gender %1, race %2", g, race});
            t.StressPercentileCount[race][g] = qint16(m);
            for (int k = 1; k <= m; ++k)
                t.StressPercentile[race][g][k] = r.Number(
                    {"the stress-coping percentile of gender %1, race %2, band %3", g, race, k});
        }
    }
    for (int g = 1; g <= shape::Genders; ++g) {
        const int b = r.NumberIn(0, shape::MaxStressBounds,
                                 {"the stress-coping boundary count of gender %1", g});
        t.StressBoundCount[g] = qint16(b);
        for (int k = 1; k <= b; ++k)
            t.StressBound[g][k] = r.Number({"stress-coping boundary %2 of gender %1", g, k});
    }
    for (int s = 1; s <= NormedScaleCount; ++s) {
        const int c = r.NumberIn(0, shape::MaxScaleItems, {"the item count of scale %1", s});
        auto& items = t.ScaleItems[s];
        items.reserve(size_t(c));
        for (int k = 1; k <= c; ++k)
            items.push_back(
                r.NumberIn(0, administration::ItemCount, {"item %2 of scale %1", s, k}));
    }
    for (int i = 1; i <= shape::MinimumRuleItems; ++i)
        t.MinimumRuleItems[i] =
            r.NumberIn(0, administration::ItemCount, {"minimum-rule item %1", i});
    for (int s = 2; s <= ScaleCount; ++s) {
        for (int band = 1; band <= shape::TruthBands; ++band)
            t.TruthCorrection[s][band] =
                r.Number({"the truthfulness correction of scale %1, band %2", s, band});
    }
    // Every band the boundaries make needs its percentile, or a score in it would have none.
    for (int g = 1; g <= shape::Genders; ++g) {
        const int bands = std::max(0, t.StressBoundCount[g] - 1);
        for (int race = 1; race <= shape::Races; ++race) {
            if (t.StressPercentileCount[race][g] < bands)
                throw VError(err::SubscriptOutOfRange,
                             QStringLiteral("%1: the stress-coping boundaries of gender %2 make "
                                            "%3 bands, but only %4 percentiles are given for "
                                            "gender %2, race %5")
                                 .arg(QString::fromLatin1(ScoringTablesFileName))
                                 .arg(g)
                                 .arg(bands)
                                 .arg(t.StressPercentileCount[race][g])
                                 .arg(race));
        }
    }
}

void ReadReportTexts(ReportTexts& x) {
    Reader r(
        internal::ReadProgramFile(ReportTextsFileName, "report texts", internal::MaxTableFileSize),
        QString::fromLatin1(ReportTextsFileName));
    for (int s = 1; s <= ScaleCount; ++s)
        x.ScaleName[s] = internal::Decode(r.String({"the name of scale %1", s}));
    for (int k = 1; k <= RangeCount; ++k)
        x.RangeName[k] = internal::Decode(r.String({"the name of risk range %1", k}));
    for (int i = 1; i <= shape::SignificantItems; ++i)
        x.SignificantItemText[i] =
            internal::Decode(r.Line({"the text of significant item %1 (24 lines)", i}));
    for (int i = 1; i <= x.ChoiceText.size(); ++i)
        x.ChoiceText[i] =
            internal::Decode(r.Line({"answer %2 of item %1 (76 answer lines for items 98 to 116)",
                                     shape::ChoiceFirstItem + (i - 1) / shape::ChoiceAnswers,
                                     (i - 1) % shape::ChoiceAnswers + 1}));
}

// The answer code the scoring uses: a code no answer of the item's section has counts as no
// answer, like a character that is not a digit.
int UsableCode(int item, int code) {
    return administration::InRange(
               code, 0, administration::HighestAnswerCode(administration::SectionOfItem(item)))
               ? code
               : 0;
}

int GenderIndex() {
    return internal::LeadingNumber(g_client.Demographic[ScoringClient::GenderCode]) == 2 ? 2 : 1;
}

int RaceIndex() {
    const int r = internal::LeadingNumber(g_client.Demographic[ScoringClient::RaceCode]);
    return administration::InRange(r, 1, shape::Races) ? r : 1;
}

void ApplyTruthCorrection(int percentile) {
    if (percentile < 10)
        return;
    const int band = std::min(percentile / 10, shape::TruthBands);
    for (int s = 2; s <= ScaleCount; ++s)
        AddPoints(s, g_tables.TruthCorrection[s][band]);
    if (percentile >= InvalidTruthPercentile) {
        for (int s = 2; s <= ScaleCount; ++s)
            g_sheet.Percentile[s] = 99;
    }
}

// The minimum percentile a scale earns from the points of its listed deviant answers.
void ApplyMinimumRules(int s) {
    const shape::Entries entries = shape::MinimumRuleEntries(s);
    int two = 0;
    int three = 0;
    for (int pos = entries.first; pos <= entries.last; ++pos) {
        const int item = g_tables.MinimumRuleItems[pos];
        if (item == 0)
            continue; // an empty place in the list
        if (item == kAdjustedItem && s != 4) {
            const int code = g_sheet.ResponseCodes[item];
            if (code == 3 || (s == 2 && code == 1) || (s == 3 && code == 2))
                ++three;
            continue;
        }
        const int points = g_sheet.ItemPoints[item];
        if (points == 2)
            ++two;
        else if (points == 3)
            ++three;
    }
    const int total = two + three;
    // Rows: one 3-point answer alone; one 2 and one 3; two 3s; then totals 3..10.
    static constexpr int kRows[5][11] = {
        {},
        {},
        {0, 17, 37, 45, 57, 66, 72, 78, 84, 90, 90},
        {18, 38, 46, 58, 67, 73, 79, 82, 85, 91, 91},
        {19, 39, 47, 59, 68, 72, 74, 77, 81, 86, 92},
    };
    int value = 0;
    if (three == 1 && total == 1)
        value = kRows[s][0];
    else if (two == 1 && three == 1)
        value = kRows[s][1];
    else if (three == 2 && total == 2)
        value = kRows[s][2];
    else if (total >= 3)
        value = kRows[s][std::min(total, 10)];
    if (value > g_sheet.Percentile[s])
        g_sheet.Percentile[s] = qint16(value);
}

void ApplyArrestMinimum(int s) {
    const int arrests = internal::LeadingNumber(
        g_client.Court[s == scale::Alcohol ? court::AlcoholArrests : court::DrugArrests]);
    int minimum = 0;
    if (arrests == 1)
        minimum = 40;
    else if (arrests == 2)
        minimum = 60;
    else if (arrests == 3)
        minimum = 70;
    else if (arrests >= 4)
        minimum = 89;
    if (minimum > g_sheet.Percentile[s]) {
        g_sheet.Percentile[s] = qint16(minimum);
        g_sheet.ArrestMinimum[s] = true;
    }
}

} // namespace

namespace internal {

QByteArray ReadProgramFile(const char* name, const char* role, qint64 limit) {
    const QString folder = paths::ShippedFolder();
    const QString fileName = QString::fromLatin1(name);
    QString path = fileio::Join(folder, fileName);
    try {
        try {
            return fileio::ReadAll(path, limit);
        } catch (const VError& e) {
            // Only a name in other letter case needs the search through the folder.
            if (e.number() != err::FileNotFound)
                throw;
            const QString found = fileio::FindCaseInsensitive(folder, fileName);
            if (found == path)
                throw;
            path = found;
            return fileio::ReadAll(path, limit);
        }
    } catch (const VError& e) {
        throw VError(e.number(),
                     QStringLiteral("The %1 file %2 cannot be read: %3. Reinstall the program's "
                                    "files.")
                         .arg(QString::fromLatin1(role), path, e.description()));
    }
}

QString Short(const QString& text) {
    return text.size() > 40 ? text.left(37) + QStringLiteral("...") : text;
}

QString Decode(QByteArrayView bytes) {
    // Latin-1 and the code page agree on every byte but 0x80..0x9F.
    QString text = QString::fromLatin1(bytes);
    const char* data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        // Eight plain ASCII bytes at a time need no look.
        if (i + 8 <= size) {
            quint64 word;
            memcpy(&word, data + i, 8);
            if ((word & 0x8080808080808080ull) == 0) {
                i += 8;
                continue;
            }
        }
        const auto b = uchar(data[i]);
        if (b >= 0x80 && b < 0xA0)
            text[i] = cp1252::DecodeByte(b);
        ++i;
    }
    return text;
}

QByteArray Encode(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x80 && (c.unicode() < 0xA0 || c.unicode() > 0xFF))
            return cp1252::Encode(text);
    }
    return text.toLatin1();
}

int LeadingNumber(const QString& text) {
    int value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = std::min(value * 10 + (c.unicode() - '0'), 32767);
    }
    return value;
}

QString FormatReportDate(const QString& stored) {
    const QString t = stored.trimmed();
    if (t.compare(QStringLiteral("N"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("N/A");
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int k = 0;
    for (QChar c : t) {
        if (c.isDigit() && c.unicode() < 128) {
            if (digits[k] >= 4)
                return t;
            parts[k] = parts[k] * 10 + (c.unicode() - '0');
            ++digits[k];
        } else if ((c == QLatin1Char('/') || c == QLatin1Char('-') || c == QLatin1Char('.')) &&
                   k < 2 && digits[k] > 0) {
            ++k;
        } else {
            return t;
        }
    }
    if (k != 2 || digits[0] > 2 || digits[1] > 2 || (digits[2] != 4 && digits[2] != 2))
        return t;
    int year = parts[2];
    if (digits[2] == 2)
        year += year < 30 ? 2000 : 1900; // two-digit years as the date functions read them
    if (!QDate::isValid(year, parts[0], parts[1]))
        return t;
    return QString::asprintf("%02d/%02d/%04d", parts[0], parts[1], year);
}

void ClearAfterReport() {
    g_tables = ScoringTables();
    g_texts = ReportTexts();
    g_sheet.ItemPoints.fill(0);
    g_sheet.OmittedCount.fill(0);
    g_sheet.ScoredItemCount.fill(0);
    g_sheet.ArrestMinimum.fill(false);
}

} // namespace internal

ScoreSheet& Scores() {
    return g_sheet;
}
const ScoringTables& Tables() {
    return g_tables;
}
const ReportTexts& Texts() {
    return g_texts;
}
const ScoringClient& LoadedClient() {
    return g_client;
}

void SetLayoutConstants() {
    administration::SetSectionEnds();
}

void LoadScoringTables() {
    // A failed load must not leave the previous run's tables to score with.
    g_tables = ScoringTables();
    g_texts = ReportTexts();
    ScoringTables t;
    ReportTexts x;
    ReadScoringTables(t);
    ReadReportTexts(x);
    g_tables = std::move(t);
    g_texts = std::move(x);
}

void LoadClientForScoring() {
    const GlobalState& g = Globals();
    if (g.CurrentClient < 1 || g.CurrentClient > MaxClients)
        throw VError(err::SubscriptOutOfRange,
                     QStringLiteral("No client is selected, so there is nothing to score."));
    LoadClientForScoring(g.Clients[g.CurrentClient], g.CurrentClient);
}

void LoadClientForScoring(const ClientRecord& client, int testNumber) {
    ScoringClient c;
    c.Demographic[ScoringClient::Name] = client.ClientName.trimmed();
    c.Demographic[ScoringClient::ID] = client.ClientID.trimmed();
    c.Demographic[ScoringClient::Age] = client.Age.trimmed();
    c.Demographic[ScoringClient::GenderCode] = client.GenderCode.trimmed();
    c.Demographic[ScoringClient::RaceCode] = client.RaceCode.trimmed();
    c.Demographic[ScoringClient::EducationCode] = client.EducationCode.trimmed();
    c.Demographic[ScoringClient::DateScored] = internal::FormatReportDate(client.TestDate);
    for (int q = 1; q <= CourtFieldCount; ++q) {
        QString v = client.CourtField(q)->trimmed();
        if (v == QLatin1String("N") || v == QLatin1String("-1"))
            v = QStringLiteral("N/A");
        c.Court[q] = v;
    }
    c.DateOfBirth = client.DateOfBirth.trimmed();
    c.TestNumber = testNumber;
    g_client = std::move(c);

    const QString& responses = client.Responses;
    g_sheet.ResponseCodes.fill(0);
    for (int i = 1; i <= administration::ItemCount && i <= responses.size(); ++i) {
        const QChar ch = responses[i - 1];
        const int code =
            (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) ? ch.unicode() - '0' : 0;
        g_sheet.ResponseCodes[i] = qint16(UsableCode(i, code));
    }
}

void ComputeRawScores() {
    ScoreSheet& sh = g_sheet;
    sh.RawScore.fill(0);
    sh.Percentile.fill(0);
    sh.OmittedCount.fill(0);
    sh.ScoredItemCount.fill(0);
    sh.ItemPoints.fill(0);
    const auto& ends = Globals().SectionEnd;

    for (int s = 1; s <= NormedScaleCount; ++s) {
        for (const qint16 item : g_tables.ScaleItems[s]) {
            const int section = administration::SectionOfItem(item);
            if (section == 0)
                continue; // an empty place in the list
            const int position = item - ends[section - 1];
            const int code = UsableCode(item, sh.ResponseCodes[item]);
            if (code == 0)
                ++sh.OmittedCount[s];
            const QByteArray& key = g_tables.AnswerKey[section][code];
            const int points = position <= key.size() ? key[position - 1] - '0' : 0;
            sh.ItemPoints[item] = qint16(points);
            AddPoints(s, points);
            if (points > 0)
                ++sh.ScoredItemCount[s];
        }
    }

    const int adjusted = sh.ResponseCodes[kAdjustedItem];
    if (adjusted == 1)
        AddPoints(scale::Drugs, -3);
    else if (adjusted == 2)
        AddPoints(scale::Alcohol, -3);

    for (int item = kStressFirst; item <= kStressLast; ++item) {
        if (sh.ResponseCodes[item] == 0)
            ++sh.OmittedCount[scale::StressCoping];
    }
    int sumA = 0;
    int sumB = 0;
    for (int item : StressSetA)
        sumA += sh.ResponseCodes[item] == 0 ? 1 : sh.ResponseCodes[item];
    for (int item : StressSetB)
        sumB += sh.ResponseCodes[item] == 0 ? 4 : sh.ResponseCodes[item];
    if (sumB > 0)
        sh.RawScore[scale::StressCoping] =
            Checked(Checked(sumA * 60, scale::StressCoping) / sumB, scale::StressCoping);

    int trueAnswers = 0;
    for (int item = 1; item <= ends[1]; ++item) {
        if (sh.ResponseCodes[item] == 1)
            ++trueAnswers;
    }
    if (trueAnswers > kTrueAnswersLimit)
        sh.RawScore[scale::Truthfulness] = kInvalidTruthMarker;

    AddPoints(scale::Alcohol,
              CountPoints(kAlcoholArrestPoints,
                          internal::LeadingNumber(g_client.Court[court::AlcoholArrests])));
    AddPoints(scale::Drugs,
              CountPoints(kDrugArrestPoints,
                          internal::LeadingNumber(g_client.Court[court::DrugArrests])));
    AddPoints(
        scale::Aggressiveness,
        CountPoints(kProbationPoints, internal::LeadingNumber(g_client.Court[court::Probations])));

    const QString& firstArrest = g_client.Court[court::FirstArrestAge];
    const int age = internal::LeadingNumber(firstArrest);
    int agePoints = 0;
    if (age >= 13 && age <= 16)
        agePoints = 17 - age;
    else if (age <= 12 && !firstArrest.startsWith(QLatin1Char('N'), Qt::CaseInsensitive))
        agePoints = 5;
    AddPoints(scale::Aggressiveness, agePoints);
}

void ComputePercentiles() {
    ScoreSheet& sh = g_sheet;
    const int g = GenderIndex();
    const int r = RaceIndex();
    sh.ArrestMinimum.fill(false);

    for (int s = 1; s <= NormedScaleCount; ++s) {
        const int raw = sh.RawScore[s];
        int p;
        if (sh.OmittedCount[s] >= 4 || raw > g_tables.NormCount[g][r][s]) {
            p = 99;
        } else if (raw <= 0) {
            p = 0;
        } else {
            p = g_tables.Norm[g][r][s][raw];
            if (s >= 2) {
                const int scored = sh.ScoredItemCount[s];
                const int cap = scored == 0 ? 7 : scored == 1 ? 28 : scored == 2 ? 38 : p;
                p = std::min(p, cap);
            }
        }
        sh.Percentile[s] = qint16(p);
        sh.DistributionPercentile[s] = qint16(p);
        if (s == 1) {
            ApplyTruthCorrection(p);
        } else {
            ApplyMinimumRules(s);
            if (s <= 3)
                ApplyArrestMinimum(s);
        }
    }

    const int raw5 = sh.RawScore[scale::StressCoping];
    if (raw5 > 0) {
        const auto& bound = g_tables.StressBound[g];
        const int bounds = g_tables.StressBoundCount[g];
        for (int k = 1; k <= bounds - 1; ++k) {
            if (bound[k] < raw5 && raw5 <= bound[k + 1]) {
                sh.Percentile[scale::StressCoping] = g_tables.StressPercentile[r][g][k];
                break;
            }
        }
    } else {
        sh.Percentile[scale::StressCoping] = 99;
    }
}

RiskRangeResult RiskRange(int percentile) {
    // Percentiles of 100 and above (only the tables can give them) read as the top range:
    // a screening must not print a lower risk than the tables say.
    RiskRangeResult r;
    if (percentile < 40) {
        r.range = 1;
        r.keyLabel = g_texts.RangeName[1];
    } else if (percentile < 70) {
        r.range = 2;
        r.keyLabel = percentile < 56 ? QStringLiteral("MEDIUM-LOW") : QStringLiteral("MEDIUM-HIGH");
    } else if (percentile < 90) {
        r.range = 3;
        r.keyLabel = g_texts.RangeName[3];
    } else {
        r.range = 4;
        r.keyLabel =
            percentile < 95 ? QStringLiteral("MAXIMUM-LOW") : QStringLiteral("MAXIMUM-HIGH");
    }
    return r;
}

void ScoreClient(const ReportRequest& request, ScoreSheet* beforeReport) {
    try {
        SetLayoutConstants();
        LoadScoringTables();
        LoadClientForScoring();
        ComputeRawScores();
        ComputePercentiles();
    } catch (...) {
        // The report of an earlier client must not be shown or printed as this one's.
        try {
            fileio::Remove(ReportFilePath());
        } catch (const VError&) {
        }
        throw;
    }
    if (beforeReport)
        *beforeReport = g_sheet;
    WriteReport(request);
}

QString ReportFilePath() {
    return fileio::FindCaseInsensitive(paths::ReportFolder(), QString::fromLatin1(ReportFileName));
}

} // namespace varenta::scoring
