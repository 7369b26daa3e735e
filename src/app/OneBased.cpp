#include "app/OneBased.h"

#include "app/Errors.h"

namespace varenta {

void ThrowIndexOutOfRange(int index, int last) {
    throw VError(err::SubscriptOutOfRange,
                 QStringLiteral("Index %1 is outside 1 to %2.").arg(index).arg(last));
}

} // namespace varenta
