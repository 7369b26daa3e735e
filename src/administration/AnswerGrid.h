#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The answer sheet as keyed into grids, without the window: one grid per answer family, one
// row per item, a cursor that streams digits down the rows and across the grids.
namespace varenta::administration {

class QuestionTable;

class AnswerGrid {
public:
    struct Grid {
        int family = 0;
        std::vector<int> items; // item of row r (from 1) at items[r - 1]
    };
    // The row being edited: grid index and row from 1.
    struct Pos {
        int grid = 0;
        int row = 1;
        bool operator==(const Pos&) const = default;
    };

    // Reads the table from its first row to the end: items of one family collect in one grid in
    // table order, grids numbered in the order their families first occur. Throws VError naming
    // the table when an item number is outside 1..116 or given twice.
    static AnswerGrid FromTable(QuestionTable& table);
    // For tests and tools: grids from (item, ANSWER2) pairs in table order.
    static AnswerGrid FromItems(const std::vector<std::pair<int, QString>>& items,
                                const QString& source = QString());

    const std::vector<Grid>& grids() const { return grids_; }
    int GridCount() const { return int(grids_.size()); }
    int RowCount(int g) const { return int(grids_[size_t(g)].items.size()); }
    int ItemAt(int g, int row) const { return grids_[size_t(g)].items[size_t(row - 1)]; }
    int Family(int g) const { return grids_[size_t(g)].family; }
    // Answer columns of a grid (2, 4 or 5); the grid has one more, the item column.
    int AnswerCount(int g) const;
    QStringList Headers(int g) const;

    // Cells: one code per item, item n at index n - 1.
    void SetResponses(const QString& responses);
    QString Responses() const { return cells_; }
    QChar Cell(int item) const { return cells_.at(item - 1); }
    // The column of the row's "X" (1..answers), 0 for none.
    int XColumn(int g, int row) const;

    bool Accepts(int g, QChar c) const;

    // A typed character on the current row: false (a beep) when the grid does not take it.
    // An accepted digit is stored and the cursor moves down; `atEnd` tells that the move down
    // could not be made (the last row of the last grid).
    bool Enter(QChar c, bool* atEnd = nullptr);
    // Down and Up across grid borders; false (a beep) at the first row of the first grid or
    // the last row of the last grid.
    bool MoveDown();
    bool MoveUp();

    Pos pos;

private:
    std::vector<Grid> grids_;
    QString cells_;
};

} // namespace varenta::administration
