#include "scoring/TableFixture.h"

#include "administration/TestSpec.h"
#include "store/Cp1252.h"

#include <QFile>

namespace varenta::testing {

namespace {

const int kSectionStart[] = {0, 1, 64, 98};
const int kSectionSize[] = {0, 63, 34, 19};

// Replaces a file by a new one: overwriting in place makes this file system flush each write,
// which slows the many rewrites of these tests a hundredfold.
void Rewrite(const QString& path, const QByteArray& bytes) {
    QFile::remove(path);
    WriteFile(path, bytes);
}

QByteArray Numbers(const std::vector<int>& values) {
    QByteArray out;
    for (size_t i = 0; i < values.size(); ++i)
        out += (i ? ", " : "") + QByteArray::number(values[i]);
    return out + "\r\n";
}

// The items of the ranges from-to given as pairs of numbers, in turn.
std::vector<int> Ranges(std::initializer_list<int> bounds) {
    std::vector<int> v;
    for (auto it = bounds.begin(); it != bounds.end(); it += 2)
        for (int i = it[0]; i <= it[1]; ++i)
            v.push_back(i);
    return v;
}

void DefaultTexts(TableSet& t) {
    t.scaleNames = {"TRUTHFULNESS", "ALCOHOL", "DRUGS", "AGGRESSIVENESS", "STRESS COPING"};
    t.rangeNames = {"LOW", "MEDIUM", "PROBLEM", "MAXIMUM"};
    for (int e = 1; e <= 24; ++e)
        t.significantTexts << QStringLiteral("Significant %1").arg(e);
    for (int i = 1; i <= 76; ++i)
        t.choiceTexts
            << QStringLiteral("Item %1 answer %2").arg(97 + (i - 1) / 4 + 1).arg((i - 1) % 4 + 1);
    t.invalidLines = {"THIS TEST IS INVALID.", "Retest the client."};
}

} // namespace

TableSet TableSet::Simple() {
    TableSet t;
    const QString low = administration::NonDeviantResponses();
    for (int section = 1; section <= 3; ++section)
        for (int code = 0; code <= administration::HighestAnswerCode(section); ++code)
            for (int p = 0; p < kSectionSize[section]; ++p) {
                const int best = low[kSectionStart[section] - 1 + p].digitValue();
                t.keys[size_t(section)][size_t(code)] +=
                    char('0' + (code == 0 ? 0 : std::abs(code - best)));
            }
    t.scaleItems[1] = {2, 4, 6, 8, 10, 12, 14, 16, 18, 20};
    t.scaleItems[2] = Ranges({21, 30, 64, 70, 98, 100, 104, 104});
    t.scaleItems[3] = Ranges({31, 40, 71, 77, 101, 103, 105, 105});
    t.scaleItems[4] = Ranges({41, 50, 78, 84, 106, 109});
    const std::vector<int> mins = Ranges({64,  70,  98,  100, 104, 104, 21, 22,  71,  77, 101,
                                          103, 104, 104, 31,  36,  78,  84, 106, 109, 41, 44});
    std::copy(mins.begin(), mins.end(), t.minimumItems.begin() + 1);
    for (int e = 1; e <= 24; ++e)
        t.significant[size_t(e)] = e <= 16 ? 63 + e : 60 + e; // 64..79, then 77..84
    for (int g = 1; g <= 2; ++g)
        for (int r = 1; r <= 3; ++r)
            for (int s = 1; s <= 4; ++s)
                for (int raw = 1; raw <= 40; ++raw)
                    t.norms[size_t(g)][size_t(r)][size_t(s)].push_back(std::min(99, 3 * raw));
    for (int g = 1; g <= 2; ++g) {
        for (int k = 0; k <= 20; ++k)
            t.stressBounds[size_t(g)].push_back(10 * k);
        for (int r = 1; r <= 3; ++r)
            for (int k = 1; k <= 20; ++k)
                t.stressPercentiles[size_t(r)][size_t(g)].push_back(5 * k - 1);
    }
    DefaultTexts(t);
    return t;
}

TableSet TableSet::Random(std::mt19937& rng) {
    auto pick = [&rng](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(rng);
    };
    TableSet t;
    for (int section = 1; section <= 3; ++section)
        for (int code = 0; code <= administration::HighestAnswerCode(section); ++code) {
            QByteArray key;
            const int size = pick(0, kSectionSize[section] + 3); // short and long keys too
            for (int p = 0; p < size; ++p)
                key += char('0' + (code == 0 ? 0 : pick(0, 3)));
            t.keys[size_t(section)][size_t(code)] = key;
        }
    for (int s = 1; s <= 4; ++s)
        for (int i = pick(0, 40); i > 0; --i)
            t.scaleItems[size_t(s)].push_back(pick(0, 116));
    for (int& item : t.significant)
        item = pick(0, 116);
    for (int& item : t.minimumItems)
        item = pick(0, 116);
    t.significant[0] = t.minimumItems[0] = 0;
    for (int g = 1; g <= 2; ++g)
        for (int r = 1; r <= 3; ++r)
            for (int s = 1; s <= 4; ++s) {
                int p = 0;
                for (int raw = pick(0, 64); raw > 0; --raw)
                    t.norms[size_t(g)][size_t(r)][size_t(s)].push_back(
                        p = std::min(100, p + pick(0, 6)));
            }
    for (int g = 1; g <= 2; ++g) {
        const int bounds = pick(0, 55);
        int b = pick(-5, 5);
        for (int k = 0; k < bounds; ++k)
            t.stressBounds[size_t(g)].push_back(b += pick(0, 8));
        for (int r = 1; r <= 3; ++r)
            for (int k = pick(std::max(0, bounds - 1), 54); k > 0; --k)
                t.stressPercentiles[size_t(r)][size_t(g)].push_back(pick(0, 100));
    }
    for (int s = 2; s <= 5; ++s)
        for (int band = 1; band <= 9; ++band)
            t.truth[size_t(s)][size_t(band)] = pick(-4, 6);
    DefaultTexts(t);
    // Texts as long as the layout has room for: names to column 27, list entries to 36.
    auto text = [&](int longest) {
        QString out;
        for (int n = pick(1, longest); n > 0; --n)
            out += QChar(u"abcdefghij KLMNOP\u00e9\u00f1"[pick(0, 18)]);
        return out.trimmed().isEmpty() ? QStringLiteral("x") : out.trimmed();
    };
    for (QString& name : t.scaleNames)
        name = text(20);
    for (QStringList* list : {&t.significantTexts, &t.choiceTexts})
        for (QString& line : *list)
            line = text(36);
    for (int s = 1; s <= 5; ++s)
        t.paragraphLines[size_t(s)] = pick(0, 30);
    return t;
}

QByteArray TableSet::ScoringFile() const {
    QByteArray out;
    out += Numbers(std::vector<int>(significant.begin() + 1, significant.end()));
    for (int section = 1; section <= 3; ++section)
        for (int code = 0; code <= administration::HighestAnswerCode(section); ++code)
            out += "\"" + keys[size_t(section)][size_t(code)] + "\"\r\n";
    const auto counted = [&out](const std::vector<int>& v) {
        out += QByteArray::number(v.size()) + (v.empty() ? "\r\n" : ", " + Numbers(v));
    };
    for (size_t n = 0; n < 24; ++n) // gender, race, scale
        counted(norms[1 + n / 12][1 + n / 4 % 3][1 + n % 4]);
    for (size_t n = 0; n < 6; ++n) // gender, race
        counted(stressPercentiles[1 + n % 3][1 + n / 3]);
    for (int g = 1; g <= 2; ++g)
        counted(stressBounds[size_t(g)]);
    for (int s = 1; s <= 4; ++s)
        counted(scaleItems[size_t(s)]);
    out += Numbers(std::vector<int>(minimumItems.begin() + 1, minimumItems.end()));
    for (int s = 2; s <= 5; ++s)
        out += Numbers(std::vector<int>(truth[size_t(s)].begin() + 1, truth[size_t(s)].end()));
    return out;
}

QByteArray TableSet::TextsFile() const {
    QByteArray out = "\"" + cp1252::Encode(scaleNames.join(QStringLiteral("\", \""))) + "\"\r\n";
    out += "\"" + cp1252::Encode(rangeNames.join(QStringLiteral("\", \""))) + "\"\r\n";
    for (const QString& line : significantTexts + choiceTexts)
        out += cp1252::Encode(line) + "\r\n";
    return out;
}

QByteArray TableSet::ParagraphFile(int scale) const {
    QByteArray out;
    const QStringList keys = {rangeNames[0], "MEDIUM-LOW",  "MEDIUM-HIGH",
                              rangeNames[2], "MAXIMUM-LOW", "MAXIMUM-HIGH"};
    for (const QString& key : keys) {
        QStringList lines{key};
        for (int i = 1; i <= paragraphLines[size_t(scale)]; ++i)
            lines << QStringLiteral("%1 paragraph of scale %2, line %3").arg(key).arg(scale).arg(i);
        out += cp1252::Encode(lines.join("\r\n") + "\r\nEND\r\n");
    }
    return out;
}

void TableSet::WriteTo(const QString& folder) const {
    Rewrite(folder + "/QVB.TXT", ScoringFile());
    Rewrite(folder + "/QVRPT.TXT", TextsFile());
    const char* names[] = {"", "QVTR.TXT", "qvalmo.txt", "qvdgmo.txt", "QVAG.TXT", "QVSC.TXT"};
    for (int s = 1; s <= 5; ++s)
        Rewrite(folder + "/" + names[s], ParagraphFile(s));
    Rewrite(folder + "/INVAL.TXT", cp1252::Encode(invalidLines.join("\r\n") + "\r\nEND\r\n"));
}

ClientRecord PlainClient() {
    ClientRecord c = SampleClient(1);
    c.Responses = administration::NonDeviantResponses();
    for (int q = 1; q <= 8; ++q)
        *c.CourtField(q) = Fit(QStringLiteral("N"), width::Court);
    return c;
}

} // namespace varenta::testing
