#include "FuzzSupport.h"

#include "administration/TestSpec.h"
#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "reports/print/ReportText.h"
#include "scoring/ScoreAndPrint.h"
#include "store/ClientStore.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace varenta::fuzz {

namespace {

// In memory where the system offers it: every save flushes to the disk, and a disk would
// make each run take milliseconds.
QString TempTemplate() {
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QString base = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    return base + QStringLiteral("/varenta-fuzz-XXXXXX");
}

struct Folders {
    QTemporaryDir root{TempTemplate()};
    QString program;
    QString disk;
    ScriptedMessages messages;
};
// Made on first use and removed when the process ends.
Folders* g_folders = nullptr;

} // namespace

void Put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        Broken("cannot write a fuzz input file", path);
}

QByteArray Bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

void SetUp(const std::vector<ClientRecord>& clients) {
    if (!g_folders) {
        static Folders folders;
        g_folders = &folders;
        if (!g_folders->root.isValid())
            Broken("no temporary folder");
        g_folders->program = g_folders->root.filePath(QStringLiteral("program"));
        g_folders->disk = g_folders->root.filePath(QStringLiteral("disk"));
        QDir().mkpath(g_folders->program);
        QDir().mkpath(g_folders->disk);
        const QString shipped = QStringLiteral(VARENTA_SOURCE_DIR "/data/program");
        QDirIterator it(shipped, QDir::Files);
        while (it.hasNext()) {
            const QString from = it.next();
            QFile::copy(from, g_folders->program + QLatin1Char('/') + it.fileName());
        }
    }
    // Anything an earlier input left (a comments file, a report) goes.
    for (const QString& name : QDir(g_folders->disk).entryList(QDir::Files | QDir::Hidden))
        QFile::remove(g_folders->disk + QLatin1Char('/') + name);
    g_folders->messages.clear();
    ResetGlobals();
    InstallMessageSink(&g_folders->messages); // the reset took it away
    GlobalState& g = Globals();
    g.ProgramDir = g_folders->program;
    g.DataPath = g_folders->disk;
    g.DataFilePath = g_folders->disk + QStringLiteral("/DATA401.QV");
    Put(g.DataPath + QStringLiteral("/TID"), QByteArrayLiteral("QV\r\n"));
    QByteArray all;
    for (const ClientRecord& r : clients)
        all += r.ToBytes();
    Put(g.DataFilePath, all);
    administration::SetSectionEnds();
    InitCodeTables();
}

QString ProgramDir() {
    return g_folders->program;
}

QString DiskDir() {
    return g_folders->disk;
}

std::vector<ClientRecord> VariedClients() {
    const QString low = administration::NonDeviantResponses();
    auto make = [&](int n, const QString& responses, const char* gender, const char* race) {
        ClientRecord r;
        r.ClientName = Fit(QStringLiteral("Client %1").arg(n), width::ClientName);
        r.ClientID = Fit(QStringLiteral("ID%1").arg(n), width::ClientID);
        r.DateOfBirth = Fit(QStringLiteral("04/05/2010"), width::DateOfBirth);
        r.Age = Fit(QStringLiteral("16"), width::Age);
        r.GenderCode = QString::fromLatin1(gender);
        r.RaceCode = QString::fromLatin1(race);
        r.EducationCode = QStringLiteral("5");
        r.TestDate = QStringLiteral("11/02/2026");
        for (int q = 1; q <= 8; ++q)
            *r.CourtField(q) = Fit(QString::number((q * n) % 5), width::Court);
        r.Responses = responses;
        r.EditCount = QStringLiteral("0");
        r.NameDeleted = QStringLiteral("0");
        r.Reserved = QStringLiteral("0");
        return r;
    };
    QString high, mixed, invalid, omitted = low;
    for (int i = 1; i <= ResponseCount; ++i) {
        const int top = i <= 63 ? 2 : 4;
        const int lowCode = low[i - 1].digitValue();
        high += QChar(u'0' + (lowCode == top ? 1 : top));
        mixed += QChar(u'0' + (i % 3 == 0 ? (lowCode == 1 ? top : 1) : lowCode));
        invalid += QChar(u'0' + (i <= 63 ? 1 : lowCode));
    }
    for (int i = 64; i <= 80; ++i)
        omitted[i - 1] = QLatin1Char('0');
    return {make(1, low, "1", "1"), make(2, high, "2", "2"), make(3, mixed, "1", "3"),
            make(4, invalid, "2", "1"), make(5, omitted, "1", "2")};
}

void ScoreAndView() {
    try {
        scoring::ScoreClient(scoring::ReportRequest{Globals().CurrentClient % 2 == 0});
    } catch (const VError&) {
        return;
    }
    try {
        const QString text = reports::ReadReportFile();
        const QList<QStringList> pages = reports::SplitReportPages(text);
        if (pages.isEmpty())
            Broken("a report without pages");
    } catch (const VError&) {
    }
}

void LoadAndScoreEveryClient() {
    try {
        LoadClients();
        scoring::LoadScoringTables();
    } catch (const VError&) {
        return;
    }
    for (int n = 1; n <= Globals().ClientCount; ++n) {
        Globals().CurrentClient = qint16(n);
        ScoreAndView();
    }
}

void Broken(const char* what, const QString& detail) {
    std::fprintf(stderr, "fuzz invariant broken: %s %s\n", what, qPrintable(detail));
    std::abort();
}

} // namespace varenta::fuzz
