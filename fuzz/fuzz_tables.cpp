// The scoring tables QVB.TXT, as a site installs them: loaded, and every kind of client
// scored into a report with them.
#include "FuzzSupport.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "scoring/ScoreAndPrint.h"
#include "store/ClientStore.h"

using namespace varenta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::SetUp(fuzz::VariedClients());
    fuzz::Put(fuzz::ProgramDir() + QStringLiteral("/QVB.TXT"), fuzz::Bytes(data, size));
    fuzz::LoadAndScoreEveryClient();
    return 0;
}
