#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The scores of every client of one or more data disks, one row per client, for a spreadsheet
// or a database: CSV (RFC 4180, UTF-8, CR LF) with one header row, or the same rows as JSON
// lines. Each client is scored by the report's own scoring with the tables beside the program;
// no report file is written. Names are left out unless asked for.
namespace varenta::reports {

enum class ExportFormat { Csv, JsonLines };

struct ExportOptions {
    ExportFormat format = ExportFormat::Csv;
    bool withNames = false;
};

// The columns in order; "name" only with names.
QStringList ExportColumns(bool withNames);

class ScoreExport {
public:
    // Reads the scoring tables from the program folder once for the whole export. Throws
    // VError naming the file when they cannot be read.
    explicit ScoreExport(const ExportOptions& options = {});
    ~ScoreExport();
    ScoreExport(const ScoreExport&) = delete;
    ScoreExport& operator=(const ScoreExport&) = delete;

    // Scores every client of the data disk in `folder` and adds their rows. A folder that is
    // missing, not a data disk or holding more than 51 records throws VError naming it, and
    // adds nothing. Returns the number of rows added.
    int AddDisk(const QString& folder);

    // The header (CSV) and the rows so far.
    const QByteArray& Bytes() const { return out_; }
    int Rows() const { return rows_; }
    // Rows of clients with no scores at all (every scale left empty).
    int Unscored() const { return unscored_; }

private:
    void AddRow(const QStringList& values, const QList<bool>& numeric);

    ExportOptions options_;
    QStringList columns_;
    QByteArray out_;
    int rows_ = 0;
    int unscored_ = 0;
};

// Writes an export to a file: replaced whole and at once, readable by its owner only.
void SaveExport(const QString& path, const QByteArray& bytes);

// The file name offered for an export of the disk in `folder` on `date` ("yyyy-MM-dd").
QString SuggestedExportName(const QString& folder, const QString& date);

} // namespace varenta::reports
