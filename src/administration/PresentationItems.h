#pragma once

#include "administration/Presentation.h"

class QString;

namespace varenta::administration {

class QuestionTable;

// The items of a question table, checked to hold the whole test.
std::vector<PresentedItem> PresentedItemsFrom(const QuestionTable& table);

// Items read from the question database beside the program.
class QuestionDbItems : public ItemSource {
public:
    // An empty path means the program's own question database.
    explicit QuestionDbItems(const QString& dbPath = QString());
    std::vector<PresentedItem> Items(const QString& language) override;

private:
    QString path_;
};

} // namespace varenta::administration
