#include "reports/ScoreExport.h"

#include "administration/TestSpec.h"
#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "scoring/ScoreAndPrint.h"
#include "scoring/ScoringInternal.h"
#include "store/ClientStore.h"
#include "store/DiskContents.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace varenta::reports {

namespace {

const char* const kCourtColumns[] = {
    "age_first_arrest", "probations",     "probation_revocations", "arrests",
    "detentions",       "court_hearings", "alcohol_arrests",       "drug_arrests",
};
const char* const kCourtNames[] = {
    "age at first arrest", "times on probation",      "probation revocations", "arrests",
    "juvenile detentions", "juvenile court hearings", "alcohol arrests",       "drug arrests",
};

bool IsWholeNumber(const QString& text) {
    if (text.isEmpty() || text.size() > 4)
        return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

bool NotAvailable(const QString& text) {
    return text.isEmpty() || text.compare(QLatin1String("N"), Qt::CaseInsensitive) == 0 ||
           text == QLatin1String("N/A") || text == QLatin1String("-1");
}

// A stored date as ISO 8601, read the way the report reads it; empty when not available.
QString IsoDate(const QString& stored, bool* unreadable) {
    const QString shown = scoring::internal::FormatReportDate(stored);
    if (shown == QLatin1String("N/A") || shown.isEmpty())
        return QString();
    const QDate d = QDate::fromString(shown, QStringLiteral("MM/dd/yyyy"));
    if (!d.isValid()) {
        *unreadable = true;
        return QString();
    }
    return d.toString(Qt::ISODate);
}

// A spreadsheet would take a typed text starting with these as a formula.
QString Defused(const QString& text) {
    static const QString risky = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && risky.contains(text[0]))
        return QLatin1Char('\'') + text;
    return text;
}

QByteArray CsvField(const QString& value) {
    const QByteArray bytes = value.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\r') &&
        !bytes.contains('\n'))
        return bytes;
    QByteArray quoted = bytes;
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

// A JSON string; characters beyond the basic plane stay as their UTF-8 bytes.
QByteArray JsonString(const QString& value) {
    QString out;
    out.reserve(value.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : value) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\')) {
            out += QLatin1Char('\\');
            out += c;
        } else if (c.unicode() < 0x20) {
            out += QString::asprintf("\\u%04x", unsigned(c.unicode()));
        } else {
            out += c;
        }
    }
    out += QLatin1Char('"');
    return out.toUtf8();
}

QByteArray JsonValue(const QString& value, bool numeric) {
    if (value.isEmpty())
        return "null";
    return numeric ? value.toUtf8() : JsonString(value);
}

// The row of one client, built column by column.
class Row {
public:
    void Text(const QString& value) { Add(value, false); }
    void Number(const QString& value) { Add(value, true); }
    void Number(int value) { Add(QString::number(value), true); }
    void Empty() { Add(QString(), true); }
    const QStringList& values() const { return values_; }
    const QList<bool>& numeric() const { return numeric_; }

private:
    void Add(const QString& value, bool numeric) {
        values_ << value;
        numeric_ << numeric;
    }
    QStringList values_;
    QList<bool> numeric_;
};

struct Scored {
    scoring::ScoreSheet sheet;
    QString failure; // scoring of this client failed: why
};

Scored ScoreOne(const ClientRecord& record, int number) {
    Scored s;
    try {
        scoring::LoadClientForScoring(record, number);
        scoring::ComputeRawScores();
        scoring::ComputePercentiles();
        s.sheet = scoring::Scores();
    } catch (const VError& e) {
        s.failure = QStringLiteral("not scored: %1").arg(e.description());
    }
    return s;
}

int UnreadableAnswers(const QString& responses) {
    int unreadable = 0;
    for (int item = 1; item <= administration::ItemCount; ++item) {
        if (item > responses.size()) {
            ++unreadable;
            continue;
        }
        const QChar c = responses[item - 1];
        const int section = administration::SectionOfItem(item);
        if (c < QLatin1Char('0') || c.unicode() > u'0' + administration::HighestAnswerCode(section))
            ++unreadable;
    }
    return unreadable;
}

bool NoAnswers(const QString& responses) {
    for (const QChar c : responses)
        if (c > QLatin1Char('0') && c <= QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

QStringList ExportColumns(bool withNames) {
    QStringList c{QStringLiteral("disk"), QStringLiteral("record"), QStringLiteral("client_id")};
    if (withNames)
        c << QStringLiteral("name");
    c << QStringLiteral("name_deleted") << QStringLiteral("age") << QStringLiteral("date_of_birth")
      << QStringLiteral("gender_code") << QStringLiteral("gender")
      << QStringLiteral("ethnicity_code") << QStringLiteral("ethnicity")
      << QStringLiteral("education_code") << QStringLiteral("education")
      << QStringLiteral("test_date") << QStringLiteral("edit_count");
    for (const char* court : kCourtColumns)
        c << QString::fromLatin1(court);
    c << QStringLiteral("validity");
    for (const char* measure :
         {"raw", "percentile", "distribution", "range", "omitted_items", "scored_items"}) {
        const int last =
            QLatin1String(measure) == QLatin1String("distribution") ? 4 : scoring::ScaleCount;
        for (int s = 1; s <= last; ++s)
            c << QString::fromLatin1(measure) + QString::number(s);
    }
    c << QStringLiteral("arrest_minimum2") << QStringLiteral("arrest_minimum3")
      << QStringLiteral("note");
    return c;
}

ScoreExport::ScoreExport(const ExportOptions& options)
    : options_(options), columns_(ExportColumns(options.withNames)) {
    if (Globals().GenderNames.isEmpty())
        InitCodeTables();
    scoring::SetLayoutConstants();
    scoring::LoadScoringTables();
    if (options_.format == ExportFormat::Csv) {
        QByteArray header;
        for (const QString& column : columns_) {
            if (!header.isEmpty())
                header += ',';
            header += column.toUtf8();
        }
        out_ = header + "\r\n";
    }
}

ScoreExport::~ScoreExport() {
    // As after a report: no tables are left to score with by mistake.
    scoring::internal::ClearAfterReport();
}

int ScoreExport::AddDisk(const QString& folder) {
    const std::vector<ClientRecord> records = ReadClientRecords(folder);
    const QString disk = fileio::WithoutTrailingSlash(QFileInfo(folder).absoluteFilePath());
    int number = 0;
    for (const ClientRecord& r : records) {
        ++number;
        QStringList notes;
        Row row;
        row.Text(disk);
        row.Number(number);
        const QString id = r.ClientID.trimmed();
        row.Text(NotAvailable(id) ? QString() : id);
        const bool deleted = r.NameDeleted == QLatin1String("1");
        if (options_.withNames)
            row.Text(deleted ? QString() : r.ClientName.trimmed());
        row.Number(deleted ? 1 : 0);

        const QString age = r.Age.trimmed();
        row.Number(IsWholeNumber(age) ? age : QString());
        if (!IsWholeNumber(age) && !NotAvailable(age))
            notes << QStringLiteral("age unreadable");
        bool unreadable = false;
        row.Text(IsoDate(r.DateOfBirth, &unreadable));
        if (unreadable)
            notes << QStringLiteral("date of birth unreadable");
        const auto code = [&row](const QString& stored, const QString& name) {
            const QString digit = stored.trimmed();
            row.Number(IsWholeNumber(digit) ? digit : QString());
            row.Text(name.trimmed());
        };
        code(r.GenderCode, GenderName(r.GenderCode));
        code(r.RaceCode, RaceName(r.RaceCode));
        code(r.EducationCode, EducationName(r.EducationCode));
        unreadable = false;
        row.Text(IsoDate(r.TestDate, &unreadable));
        if (unreadable)
            notes << QStringLiteral("test date unreadable");
        const QString edits = r.EditCount.trimmed();
        row.Number(IsWholeNumber(edits) ? edits : QString());
        for (int q = 1; q <= CourtFieldCount; ++q) {
            const QString v = r.CourtField(q)->trimmed();
            row.Number(IsWholeNumber(v) ? v : QString());
            if (!IsWholeNumber(v) && !NotAvailable(v))
                notes << QStringLiteral("%1 unreadable").arg(QLatin1String(kCourtNames[q - 1]));
        }

        const Scored scored = ScoreOne(r, number);
        const scoring::ScoreSheet& sh = scored.sheet;
        const bool noAnswers = NoAnswers(r.Responses);
        const bool none = !scored.failure.isEmpty() || noAnswers;
        OneBased<bool, scoring::ScaleCount> shown;
        for (int s = 1; s <= scoring::ScaleCount; ++s)
            shown[s] = !none && sh.OmittedCount[s] <= scoring::MostOmittedItems;
        if (none) {
            row.Empty(); // validity
        } else {
            const int truth = sh.Percentile[1];
            row.Text(truth >= scoring::InvalidTruthPercentile      ? QStringLiteral("invalid")
                     : truth >= scoring::InaccurateTruthPercentile ? QStringLiteral("inaccurate")
                                                                   : QStringLiteral("valid"));
        }
        for (int s = 1; s <= scoring::ScaleCount; ++s)
            shown[s] ? row.Number(sh.RawScore[s]) : row.Empty();
        for (int s = 1; s <= scoring::ScaleCount; ++s)
            shown[s] ? row.Number(sh.Percentile[s]) : row.Empty();
        for (int s = 1; s <= 4; ++s)
            shown[s] ? row.Number(sh.DistributionPercentile[s]) : row.Empty();
        for (int s = 1; s <= scoring::ScaleCount; ++s)
            shown[s] ? row.Number(scoring::RiskRange(sh.Percentile[s]).range) : row.Empty();
        for (int s = 1; s <= scoring::ScaleCount; ++s)
            none ? row.Empty() : row.Number(sh.OmittedCount[s]);
        for (int s = 1; s <= scoring::ScaleCount; ++s)
            none ? row.Empty() : row.Number(sh.ScoredItemCount[s]);
        for (int s = 2; s <= 3; ++s)
            shown[s] ? row.Number(sh.ArrestMinimum[s] ? 1 : 0) : row.Empty();

        if (!scored.failure.isEmpty()) {
            notes << scored.failure;
        } else if (noAnswers) {
            notes << QStringLiteral("no answers stored: not scored");
        } else {
            const int bad = UnreadableAnswers(r.Responses);
            if (bad > 0)
                notes << QStringLiteral("%1 stored answer%2 unreadable, counted as unanswered")
                             .arg(bad)
                             .arg(bad == 1 ? QString() : QStringLiteral("s"));
            for (int s = 1; s <= scoring::ScaleCount; ++s)
                if (!shown[s])
                    notes << QStringLiteral("scale %1 not scored: %2 items unanswered")
                                 .arg(s)
                                 .arg(sh.OmittedCount[s]);
        }
        if (none)
            ++unscored_;
        row.Text(notes.join(QStringLiteral("; ")));
        AddRow(row.values(), row.numeric());
    }
    return number;
}

void ScoreExport::AddRow(const QStringList& values, const QList<bool>& numeric) {
    ++rows_;
    if (options_.format == ExportFormat::Csv) {
        for (qsizetype i = 0; i < values.size(); ++i) {
            if (i > 0)
                out_ += ',';
            const bool typed =
                columns_[i] == QLatin1String("client_id") || columns_[i] == QLatin1String("name");
            out_ += CsvField(typed ? Defused(values[i]) : values[i]);
        }
        out_ += "\r\n";
        return;
    }
    out_ += '{';
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            out_ += ", ";
        out_ += '"' + columns_[i].toUtf8() + "\": " + JsonValue(values[i], numeric[i]);
    }
    out_ += "}\n";
}

void SaveExport(const QString& path, const QByteArray& bytes) {
    // A file written before keeps its permissions when replaced: take away any others first,
    // so the scores are never readable by others, not even for a moment.
    struct stat st {};
    const QByteArray native = QFile::encodeName(path);
    if (::lstat(native.constData(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 077) != 0)
        ::chmod(native.constData(), st.st_mode & 0700);
    fileio::ReplaceAtomically(path, bytes, 0600);
    // A name that was a link takes the mode of the file it pointed to: set it again.
    if (::stat(native.constData(), &st) == 0 && (st.st_mode & 077) != 0)
        ::chmod(native.constData(), st.st_mode & 0700);
}

QString SuggestedExportName(const QString& folder, const QString& date) {
    QString disk = QFileInfo(folder).fileName();
    for (QChar& c : disk)
        if (!c.isLetterOrNumber() && c != QLatin1Char('-') && c != QLatin1Char('_'))
            c = QLatin1Char('_');
    if (disk.isEmpty())
        disk = QStringLiteral("data-disk");
    return QStringLiteral("%1-scores-%2.csv").arg(disk, date);
}

} // namespace varenta::reports
