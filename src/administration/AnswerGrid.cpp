#include "administration/AnswerGrid.h"

#include "administration/QuestionDb.h"
#include "administration/TestSpec.h"
#include "app/Errors.h"
#include "app/OneBased.h"

#include <QStringList>

#include <algorithm>

namespace varenta::administration {

AnswerGrid AnswerGrid::FromTable(QuestionTable& table) {
    std::vector<std::pair<int, QString>> items;
    items.reserve(size_t(table.RecordCount()));
    for (table.MoveFirst(); !table.AtEOF(); table.MoveNext()) {
        bool ok = false;
        const int id = table.Field(QStringLiteral("ID")).toInt(&ok);
        items.emplace_back(ok ? id : 0, table.Text(QStringLiteral("Answer2")));
    }
    return FromItems(items,
                     QStringLiteral("The question table %1 of %2").arg(table.name(), table.file()));
}

AnswerGrid AnswerGrid::FromItems(const std::vector<std::pair<int, QString>>& items,
                                 const QString& source) {
    AnswerGrid sheet;
    OneBased<bool, ItemCount> seen;
    for (const auto& [id, answer2] : items) {
        if (id < 1 || id > ItemCount || seen[id])
            throw VError(err::DbCannotOpen,
                         QStringLiteral("%1 has an item numbered %2; items are numbered 1 to %3, "
                                        "each once. Reinstall the program's files.")
                             .arg(source.isEmpty() ? QStringLiteral("The question table") : source)
                             .arg(id)
                             .arg(ItemCount));
        seen[id] = true;
        const int family = AnswerFamilyOf(answer2);
        auto it = std::find_if(sheet.grids_.begin(), sheet.grids_.end(),
                               [family](const Grid& g) { return g.family == family; });
        if (it == sheet.grids_.end()) {
            sheet.grids_.push_back(Grid{family, {}});
            it = sheet.grids_.end() - 1;
        }
        it->items.push_back(id);
    }
    sheet.cells_ = QString(ItemCount, QLatin1Char('0'));
    return sheet;
}

int AnswerGrid::AnswerCount(int g) const {
    return AnswerCountOf(Family(g));
}

QStringList AnswerGrid::Headers(int g) const {
    QStringList h{QStringLiteral("Num")};
    for (int a = 1; a <= AnswerCount(g); ++a)
        h << QString::number(a);
    return h;
}

void AnswerGrid::SetResponses(const QString& responses) {
    cells_ = responses.left(ItemCount);
    if (cells_.size() < ItemCount)
        cells_ += QString(ItemCount - cells_.size(), QLatin1Char('0'));
}

int AnswerGrid::XColumn(int g, int row) const {
    const QChar c = Cell(ItemAt(g, row));
    const int code = c.isDigit() && c.unicode() < 128 ? c.digitValue() : 0;
    return code >= 1 && code <= AnswerCount(g) ? code : 0;
}

bool AnswerGrid::Accepts(int g, QChar c) const {
    if (c < QLatin1Char('0') || c > QLatin1Char('9'))
        return false;
    return c.digitValue() <= AnswerCount(g);
}

bool AnswerGrid::Enter(QChar c, bool* atEnd) {
    if (atEnd)
        *atEnd = false;
    if (grids_.empty() || !Accepts(pos.grid, c))
        return false;
    cells_[ItemAt(pos.grid, pos.row) - 1] = c;
    const bool moved = MoveDown();
    if (atEnd)
        *atEnd = !moved;
    return true;
}

bool AnswerGrid::MoveDown() {
    if (grids_.empty())
        return false;
    if (pos.row < RowCount(pos.grid)) {
        ++pos.row;
        return true;
    }
    if (pos.grid + 1 < GridCount()) {
        pos = {pos.grid + 1, 1};
        return true;
    }
    return false;
}

bool AnswerGrid::MoveUp() {
    if (grids_.empty())
        return false;
    if (pos.row > 1) {
        --pos.row;
        return true;
    }
    if (pos.grid > 0) {
        pos = {pos.grid - 1, RowCount(pos.grid - 1)};
        return true;
    }
    return false;
}

} // namespace varenta::administration
