#pragma once

#include "app/Errors.h"
#include "store/ClientRecord.h"

#include <QString>
#include <QTemporaryDir>

#include <vector>

namespace varenta::testing {

// The program folder of the build (executables and the files shipped beside them).
QString BuiltProgramDir();
QString SourceDir();

// A temporary folder removed at the end of the test.
class TempDir {
public:
    TempDir();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// A complete client with answers, for tests that need stored clients.
ClientRecord SampleClient(int n);
// Sample clients 1 to `count`.
std::vector<ClientRecord> SampleClients(int count);

// Writes a data disk (marker and client data file) holding these clients.
void WriteDataDisk(const QString& folder, const std::vector<ClientRecord>& clients);

// Points the globals at a data disk folder and loads its clients.
void UseDataDisk(const QString& folder);

// Points the globals at a program folder: a copy of the built one in `into` (so a test may
// change or break its files), or the built one itself when `into` is empty.
void UseProgramDir(const QString& into = QString());

// Sets (or, given a null value, unsets) an environment variable until the end of the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

QByteArray ReadFile(const QString& path);
void WriteFile(const QString& path, const QByteArray& bytes);
// The permission bits of `path` itself (not of what a link points to); -1 when it is not there.
int ModeOf(const QString& path);

// The error `action` throws, or error number 0 when it succeeds.
template <typename Action> VError CaughtError(Action&& action) {
    try {
        action();
    } catch (const VError& e) {
        return e;
    }
    return VError(0, QString());
}

} // namespace varenta::testing
