#include "ui/WindowFrame.h"

#include "ui/MenuButtons.h"
#include "ui/WindowHelpers.h"

#include <QDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace varenta::ui {

namespace {

QFrame* NewFrame(QWidget* parent, const QString& objectName, int style) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(objectName);
    frame->setFrameStyle(style);
    return frame;
}

// `add` puts the row's content between two stretches.
QHBoxLayout* Centred(const std::function<void(QHBoxLayout*)>& add) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    add(row);
    row->addStretch();
    return row;
}

} // namespace

QWidget* AddDarkArea(QDialog* dialog) {
    auto* area = new QWidget(dialog);
    SetBackground(area, AreaColour);
    auto* outer = new QVBoxLayout(dialog);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(area);
    return area;
}

QFrame* AddRaisedFrame(QWidget* area, const QString& objectName) {
    QFrame* frame = NewFrame(area, objectName, QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(2);
    SetBackground(frame, FaceColour, Qt::black);
    return frame;
}

MsgPanel* AddFootPanel(QWidget* area) {
    auto* panel = new MsgPanel(area);
    SetBackground(panel, FaceColour, Qt::black);
    return panel;
}

void FixAtSizeHint(QWidget* frame) {
    frame->adjustSize();
    frame->setFixedSize(frame->sizeHint());
}

void PlaceFramed(QWidget* area, QWidget* frame, MsgPanel* panel, FramePlace place) {
    const int panelHeight = panel->sizeHint().height();
    panel->setGeometry(0, area->height() - panelHeight, area->width(), panelHeight);
    const int left = (area->width() - frame->width()) / 2;
    const int top = place == FramePlace::AboveCentre
                        ? area->height() / 2 - (frame->height() + Twips(1000)) / 2
                        : (area->height() - panelHeight - frame->height()) / 2;
    frame->move(std::max(0, left), std::max(0, top));
}

MsgPanel* AddHelpLine(QWidget* window) {
    auto* panel = new MsgPanel(window);
    panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    return panel;
}

QVBoxLayout* AboveMiddleColumn(QWidget* window, MsgPanel* helpLine) {
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    auto* column = new QVBoxLayout;
    layout->addLayout(column);
    layout->addStretch(1);
    layout->addSpacing(Twips(500));
    layout->addWidget(helpLine);
    return column;
}

QLabel* AddClientNameLabel(QWidget* window) {
    auto* label = new QLabel(window);
    label->setObjectName(QStringLiteral("lblClientName"));
    label->setAlignment(Qt::AlignCenter);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

QFrame* AddSunkenFrame(QWidget* window, const QString& objectName) {
    return NewFrame(window, objectName, QFrame::Box | QFrame::Sunken);
}

QHBoxLayout* CentredRow(QWidget* w) {
    return Centred([w](QHBoxLayout* row) { row->addWidget(w); });
}

QHBoxLayout* CentredRow(QLayout* l) {
    return Centred([l](QHBoxLayout* row) { row->addLayout(l); });
}

QGroupBox* AddChoiceFrame(QWidget* parent, const QString& title) {
    auto* frame = new QGroupBox(title, parent);
    frame->setObjectName(QStringLiteral("fraSelectMethod"));
    auto* column = new QVBoxLayout(frame);
    column->setContentsMargins(Twips(400), Twips(300), Twips(400), Twips(300));
    column->setSpacing(Twips(150));
    return frame;
}

QWidget* AddButtonPair(MenuButtons* buttons, QWidget* parent, const MenuChoice& first,
                       const MenuChoice& second, int minWidth, int gap) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    const int index = buttons->count();
    for (const MenuChoice* choice : {&first, &second}) {
        if (choice == &second)
            layout->addSpacing(gap);
        buttons->Add(choice->caption, choice->help, row)->setMinimumWidth(minWidth);
        layout->addWidget(buttons->panel(buttons->count() - 1));
    }
    layout->addStretch();
    QObject::connect(buttons, &MenuButtons::chosen, parent,
                     [index, a = first.run, b = second.run](int i) {
                         if (i == index)
                             a();
                         else if (i == index + 1)
                             b();
                     });
    return row;
}

QPushButton* AddHiddenCommand(QWidget* window, const QString& caption, const QString& objectName,
                              std::function<void()> run) {
    auto* button = new QPushButton(caption, window);
    button->setObjectName(objectName);
    button->setVisible(false);
    QObject::connect(button, &QPushButton::clicked, window, std::move(run));
    return button;
}

void StyleClientList(QListWidget* list, int columns, int minHeight) {
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSizeF(list->window()->font().pointSizeF());
    list->setFont(mono);
    QPalette p = list->palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, Qt::black);
    list->setPalette(p);
    list->setMinimumSize(QFontMetrics(mono).horizontalAdvance(QLatin1Char('M')) * columns,
                         minHeight);
}

} // namespace varenta::ui
