#pragma once

#include <QFrame>
#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QVector>

#include <type_traits>

// The menu-button convention shared by every window: command buttons cmdMenuChoice(i), each
// framed by a panel sspMenuChoice(i) whose colour shows which one has the focus (cyan and a
// bold caption) and a help line in the window's MsgPanel. Enter and the space bar press the
// focused button; letters, digits and function keys do nothing on it; Tab and Shift+Tab move
// between controls, the arrow keys between the buttons of the row. Escape and Alt combinations
// go on to the window (a dialog's cancel, the menu bar).
namespace varenta::ui {

// The one-line help panel at the foot of a window.
class MsgPanel : public QLabel {
    Q_OBJECT
public:
    explicit MsgPanel(QWidget* parent = nullptr);
    void SetCaption(const QString& text) { setText(text); }
};

class MenuButtons : public QObject {
    Q_OBJECT
public:
    // `window` owns the buttons; help lines go to `msgPanel` (may be null).
    MenuButtons(QWidget* window, MsgPanel* msgPanel);

    // Creates button `index` (indexes are given in order from 0) inside a new panel, parented
    // to `container`. A null help line leaves the panel unchanged on focus.
    QPushButton* Add(const QString& caption, const QString& helpLine, QWidget* container);
    // A panel of the same array that frames something other than a button.
    QFrame* AddPanel(QWidget* framed, QWidget* container);

    QPushButton* button(int i) const { return buttons_.value(i); }
    QFrame* panel(int i) const { return panels_.value(i); }
    // Windows name the places of their buttons with an enum of their own.
    template <typename Place>
    requires std::is_enum_v<Place> QPushButton* button(Place p) const { return button(int(p)); }
    template <typename Place>
    requires std::is_enum_v<Place> QFrame* panel(Place p) const { return panel(int(p)); }
    int count() const { return int(buttons_.size()); }
    int currentChoice() const { return current_; }
    void SetHelpLine(int i, const QString& line);

    // All button panels unselected (blue) and captions regular.
    void ResetMenuButtons();
    // Only panel `i` selected (cyan) and its caption bold.
    void HighlightMenuButton(int i);

signals:
    // A button was pressed (Enter, space bar or a click).
    void chosen(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The arrow keys move between the buttons of the row, as in any dialog.
    void MoveFocus(int from, int step);

    QWidget* window_;
    MsgPanel* msgPanel_;
    QVector<QPushButton*> buttons_;
    QVector<QFrame*> panels_;
    QVector<QString> helpLines_;
    int current_ = -1;
};

} // namespace varenta::ui
