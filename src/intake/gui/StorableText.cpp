#include "intake/gui/StorableText.h"

#include "app/Messages.h"
#include "intake/ClientInfo.h"

namespace varenta::intake {

QValidator::State StorableText::validate(QString& input, int&) const {
    for (QChar c : input) {
        if (!CanTypeInField(c)) {
            Beep();
            return Invalid;
        }
    }
    return Acceptable;
}

} // namespace varenta::intake
