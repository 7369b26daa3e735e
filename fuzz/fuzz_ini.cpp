// The configuration file qvtest.ini, as a site edits it by hand: every setting read, then
// settings written back, which must read back as written whatever else the file holds.
#include "FuzzSupport.h"

#include "app/Config.h"
#include "app/Errors.h"
#include "app/Globals.h"

using namespace varenta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::SetUp({});
    fuzz::Put(IniFilePath(), fuzz::Bytes(data, size));
    (void)ReadNumLockSetting();
    (void)ReadPrintDosSetting();
    (void)GetINISndPath();
    (void)ReadFilePath();
    (void)IniFileProblem();
    const QString longPath = QStringLiteral("/media/court-staff/USB STICK/screening/") +
                             QStringLiteral("juvenile-services-2026/data-disk");
    try {
        WriteFilePath(longPath);
        WriteNumLockSetting(size % 2 == 0);
    } catch (const VError&) {
        return 0;
    }
    if (ReadFilePath() != longPath)
        fuzz::Broken("the data disk path does not read back", ReadFilePath());
    if (ReadNumLockSetting() != (size % 2 == 0))
        fuzz::Broken("NumLock does not read back");
    try {
        WriteFilePath(QStringLiteral("a:"));
    } catch (const VError&) {
        return 0;
    }
    if (ReadFilePath() != QStringLiteral("a:"))
        fuzz::Broken("a short data disk path does not read back", ReadFilePath());
    return 0;
}
