// The report texts QVRPT.TXT, as a site installs them: loaded, read for the edit check's
// scale names, and printed into every kind of report.
#include "FuzzSupport.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "scoring/CheckCommand.h"
#include "scoring/ScoreAndPrint.h"
#include "store/ClientStore.h"

using namespace varenta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::SetUp(fuzz::VariedClients());
    fuzz::Put(fuzz::ProgramDir() + QStringLiteral("/QVRPT.TXT"), fuzz::Bytes(data, size));
    try {
        (void)scoring::CheckReport(scoring::ScaleNamesForCheck());
    } catch (const VError&) {
    }
    fuzz::LoadAndScoreEveryClient();
    return 0;
}
