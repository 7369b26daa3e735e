#include "administration/PresentationItems.h"

#include "administration/QuestionDb.h"
#include "app/Errors.h"

namespace varenta::administration {

std::vector<PresentedItem> PresentedItemsFrom(const QuestionTable& table) {
    std::vector<PresentedItem> items;
    items.reserve(table.RecordCount());
    for (int row = 0; row < table.RecordCount(); ++row) {
        const auto text = [&](const QString& field) {
            const QVariant v = table.FieldAt(row, field);
            return v.isNull() ? QString() : v.toString();
        };
        PresentedItem item;
        bool ok = false;
        item.id = text(QStringLiteral("ID")).trimmed().toInt(&ok);
        if (!ok)
            item.id = -1; // reported by the check below as a missing item
        item.statement = text(QStringLiteral("TestQuestion"));
        item.questionAudio = text(QStringLiteral("QuestionAudio"));
        for (int k = 0; k < 5; ++k) {
            item.answers[k] = text(QStringLiteral("ANSWER%1").arg(k + 1));
            item.choiceAudio[k] = text(QStringLiteral("ChoiceAudio%1").arg(k + 1));
        }
        items.push_back(std::move(item));
    }
    CheckPresentedItems(items, table.name());
    return items;
}

QuestionDbItems::QuestionDbItems(const QString& dbPath) : path_(dbPath) {}

std::vector<PresentedItem> QuestionDbItems::Items(const QString& language) {
    QuestionDb db(path_.isEmpty() ? QuestionDbLocation() : path_);
    const QuestionTable table = db.OpenTable(language);
    db.Close();
    return PresentedItemsFrom(table);
}

} // namespace varenta::administration
