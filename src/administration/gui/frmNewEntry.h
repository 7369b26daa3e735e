#pragma once

#include "administration/AnswerGrid.h"
#include "administration/QuestionDb.h"

#include <QColor>
#include <QDialog>
#include <QVector>

class QFrame;
class QLabel;
class QTableWidget;

namespace varenta::ui {
class MenuButtons;
class MsgPanel;
} // namespace varenta::ui

namespace varenta::administration {

// "Edit Client Responses": the answers of a paper answer sheet keyed into one grid per answer
// family, a digit per item, streaming down the rows and on into the next grid. Save writes the
// response string into the current client's record (adding a new client to the data disk);
// Cancel discards a new client.
class frmNewEntry : public QDialog {
    Q_OBJECT
public:
    explicit frmNewEntry(QWidget* parent = nullptr);
    ~frmNewEntry() override;

    // Reads the question table and builds the grids. False (after saying why) when the
    // question database cannot be read; the window then closes when shown.
    bool Load();
    bool loaded() const { return loaded_; }

    // The codes being edited, item n at index n - 1.
    QString Cells() const { return sheet_.Responses(); }
    const AnswerGrid& sheet() const { return sheet_; }

    QTableWidget* grid(int g) const { return grdResponses_.value(g); }
    int GridCount() const { return int(grdResponses_.size()); }

    // Makes (RowNum, ColNum) the current cell of grd and colours it; row 0 is the header row.
    void SetGridCellColor(QTableWidget* grd, int RowNum, int ColNum, const QColor& BkClr,
                          const QColor& FrClr);

public slots:
    void reject() override; // the close box: as Cancel

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildGrids();
    void PaintRow(int g, int row, bool editing);
    void ShowPosition(bool focusGrid);
    void GridFocusIn(int g);
    void GridFocusOut(int g);
    bool GridKey(int g, QKeyEvent* key);
    void Save();
    void Cancel();

    bool loaded_ = false;
    bool failed_ = false;
    bool done_ = false;
    bool moving_ = false;
    QuestionTable dQuestions_;
    AnswerGrid sheet_;
    QVector<AnswerGrid::Pos> remembered_;
    AnswerGrid::Pos painted_{-1, 0};

    QLabel* lblClientName_;
    QFrame* frEntry_;
    QVector<QTableWidget*> grdResponses_;
    QVector<QLabel*> lblSection_;
    ui::MsgPanel* msgPanel_;
    ui::MenuButtons* buttons_;
};

} // namespace varenta::administration
