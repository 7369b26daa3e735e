#include "support/TestSupport.h"

#include "app/FileIO.h"
#include "app/Globals.h"
#include "store/ClientStore.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace varenta::testing {

QString BuiltProgramDir() {
    return QStringLiteral(VARENTA_BIN_DIR);
}
QString SourceDir() {
    return QStringLiteral(VARENTA_SOURCE_DIR);
}

TempDir::TempDir() {
    EXPECT_TRUE(dir_.isValid());
}

ClientRecord SampleClient(int n) {
    ClientRecord r;
    r.ClientName = Fit(QStringLiteral("Client %1").arg(n), width::ClientName);
    r.ClientID = Fit(QStringLiteral("ID%1").arg(n), width::ClientID);
    r.DateOfBirth = Fit(QStringLiteral("04/05/2010"), width::DateOfBirth);
    r.Age = Fit(QStringLiteral("16"), width::Age);
    r.GenderCode = QStringLiteral("1");
    r.RaceCode = QStringLiteral("1");
    r.EducationCode = QStringLiteral("5");
    r.TestDate = QStringLiteral("11/02/2026");
    for (int q = 1; q <= 8; ++q)
        *r.CourtField(q) = Fit(QString::number(q % 3), width::Court);
    QString responses;
    for (int i = 1; i <= ResponseCount; ++i)
        responses += QChar(u'0' + (i <= 63 ? 1 + (i + n) % 2 : 1 + (i + n) % 4));
    r.Responses = responses;
    r.EditCount = QStringLiteral("0");
    r.NameDeleted = QStringLiteral("0");
    r.Reserved = QStringLiteral("0");
    return r;
}

std::vector<ClientRecord> SampleClients(int count) {
    std::vector<ClientRecord> clients;
    for (int n = 1; n <= count; ++n)
        clients.push_back(SampleClient(n));
    return clients;
}

void WriteDataDisk(const QString& folder, const std::vector<ClientRecord>& clients) {
    QDir().mkpath(folder);
    WriteFile(folder + QStringLiteral("/TID"), QByteArrayLiteral("QV\r\n"));
    QByteArray all;
    for (const ClientRecord& r : clients)
        all += r.ToBytes();
    WriteFile(folder + QStringLiteral("/DATA401.QV"), all);
}

void UseDataDisk(const QString& folder) {
    GlobalState& g = Globals();
    g.DataPath = folder;
    g.DataFilePath = folder + QStringLiteral("/DATA401.QV");
    LoadClients();
    InitCodeTables();
}

void UseProgramDir(const QString& into) {
    if (into.isEmpty()) {
        Globals().ProgramDir = BuiltProgramDir();
        return;
    }
    QDir().mkpath(into);
    QDirIterator it(BuiltProgramDir(), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    const QDir from(BuiltProgramDir());
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        const QString rel = from.relativeFilePath(path);
        if (info.isDir()) {
            QDir().mkpath(into + QLatin1Char('/') + rel);
        } else if (!info.isExecutable() ||
                   info.suffix().compare(QStringLiteral("wav"), Qt::CaseInsensitive) == 0) {
            QFile::copy(path, into + QLatin1Char('/') + rel);
        }
    }
    Globals().ProgramDir = into;
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

int ModeOf(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
    f.write(bytes);
}

ScopedEnv::ScopedEnv(const char* name, const QString& value)
    : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, QFile::encodeName(value));
}

ScopedEnv::~ScopedEnv() {
    if (had_)
        qputenv(name_, old_);
    else
        qunsetenv(name_);
}

} // namespace varenta::testing
