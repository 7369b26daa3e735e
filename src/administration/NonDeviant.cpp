#include "administration/NonDeviant.h"

#include "administration/TestSpec.h"
#include "app/Globals.h"
#include "store/AuditTrail.h"
#include "store/SaveWithRetry.h"

namespace varenta::administration {

void RunNonDeviant() {
    ClientRecord& r = CurrentRecord();
    const QString before = r.Responses;
    r.Responses = NonDeviantResponses();
    if (!SaveClientWithRetry(Globals().CurrentClient))
        r.Responses = before;
    else
        audit::Record(audit::Event::Edited, Globals().CurrentClient);
}

} // namespace varenta::administration
