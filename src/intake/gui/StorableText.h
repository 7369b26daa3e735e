#pragma once

#include <QValidator>

namespace varenta::intake {

// Refuses, with a beep, any character the client data file cannot store (the file keeps the
// Windows code page), typed or pasted, so that what is shown is what is kept.
class StorableText : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

} // namespace varenta::intake
