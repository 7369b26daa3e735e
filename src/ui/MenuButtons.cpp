#include "ui/MenuButtons.h"

#include "ui/WindowHelpers.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>

namespace varenta::ui {

MsgPanel::MsgPanel(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("MsgPanel"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setMinimumHeight(Twips(360));
    setIndent(Twips(90));
    setTextFormat(Qt::PlainText);
}

namespace {

// The raised panel sspMenuChoice(i) that frames one control of the array.
QFrame* NewPanel(int i, QWidget* container) {
    auto* panel = new QFrame(container);
    panel->setObjectName(QStringLiteral("sspMenuChoice(%1)").arg(i));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* layout = new QHBoxLayout(panel);
    const int border = Twips(75);
    layout->setContentsMargins(border, border, border, border);
    return panel;
}

} // namespace

MenuButtons::MenuButtons(QWidget* window, MsgPanel* msgPanel)
    : QObject(window), window_(window), msgPanel_(msgPanel) {}

QPushButton* MenuButtons::Add(const QString& caption, const QString& helpLine, QWidget* container) {
    const int i = int(buttons_.size());
    QFrame* panel = NewPanel(i, container);
    auto* button = new QPushButton(caption, panel);
    button->setObjectName(QStringLiteral("cmdMenuChoice(%1)").arg(i));
    button->setAutoDefault(false);
    button->setMinimumHeight(Twips(450));
    button->setFocusPolicy(Qt::StrongFocus);
    panel->layout()->addWidget(button);
    button->installEventFilter(this);
    connect(button, &QPushButton::clicked, this, [this, i] { emit chosen(i); });
    buttons_.push_back(button);
    panels_.push_back(panel);
    helpLines_.push_back(helpLine);
    SetBackground(panel, Blue);
    return button;
}

QFrame* MenuButtons::AddPanel(QWidget* framed, QWidget* container) {
    QFrame* panel = NewPanel(int(panels_.size()), container);
    framed->setParent(panel);
    panel->layout()->addWidget(framed);
    panels_.push_back(panel);
    SetBackground(panel, Blue);
    return panel;
}

void MenuButtons::SetHelpLine(int i, const QString& line) {
    if (i >= 0 && i < helpLines_.size())
        helpLines_[i] = line;
}

void MenuButtons::ResetMenuButtons() {
    for (int i = 0; i < buttons_.size(); ++i) {
        SetBackground(panels_[i], Blue);
        QFont f = buttons_[i]->font();
        f.setBold(false);
        buttons_[i]->setFont(f);
    }
}

void MenuButtons::HighlightMenuButton(int i) {
    ResetMenuButtons();
    if (i < 0 || i >= buttons_.size())
        return;
    SetBackground(panels_[i], Cyan);
    QFont f = buttons_[i]->font();
    f.setBold(true);
    buttons_[i]->setFont(f);
}

namespace {

// Escape belongs to the window (a dialog's cancel) and Alt combinations to the menu bar.
bool PassesThrough(const QKeyEvent* key) {
    return key->key() == Qt::Key_Escape || key->key() == Qt::Key_Alt ||
           (key->modifiers() & Qt::AltModifier);
}

} // namespace

void MenuButtons::MoveFocus(int from, int step) {
    const int n = int(buttons_.size());
    for (int k = 1; k < n; ++k) {
        QPushButton* b = buttons_[((from + step * k) % n + n) % n];
        if (b->isEnabled() && b->isVisibleTo(window_)) {
            b->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            return;
        }
    }
}

bool MenuButtons::eventFilter(QObject* watched, QEvent* event) {
    auto* button = qobject_cast<QPushButton*>(watched);
    const int i = int(buttons_.indexOf(button));
    if (i < 0)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        HighlightMenuButton(i);
        current_ = i;
        if (msgPanel_ && !helpLines_[i].isNull())
            msgPanel_->SetCaption(helpLines_[i]);
        return false;
    case QEvent::FocusOut:
        ResetMenuButtons();
        return false;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (PassesThrough(key))
            return false;
        switch (key->key()) {
        case Qt::Key_Space:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return false;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Held down, Enter must not repeat the action.
            if (!key->isAutoRepeat() && button->isEnabled())
                button->click();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Left:
            MoveFocus(i, -1);
            return true;
        case Qt::Key_Down:
        case Qt::Key_Right:
            MoveFocus(i, +1);
            return true;
        default:
            return true; // every other key does nothing on a button
        }
    }
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        return key->key() != Qt::Key_Space && !PassesThrough(key);
    }
    default:
        return false;
    }
}

} // namespace varenta::ui
