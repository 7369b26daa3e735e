#include "ui/WindowHelpers.h"

#include <QApplication>
#include <QGroupBox>
#include <QScreen>
#include <QWidget>

namespace varenta::ui {

int Twips(int twips) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return qRound(twips * dpi / 1440.0);
}

void CenterForm(QWidget* window) {
    if (!window || window->isMaximized())
        return;
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = window->frameGeometry().size().expandedTo(window->size());
    window->move(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height()) / 2);
}

void BusyPointer() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::processEvents();
}

void NormalPointer() {
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    QApplication::processEvents();
}

void SetTabChain(const QList<QWidget*>& chain) {
    for (qsizetype i = 0; i + 1 < chain.size(); ++i)
        QWidget::setTabOrder(chain[i], chain[i + 1]);
}

void SetBackground(QWidget* w, const QColor& background, const QColor& text) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, background);
    if (text.isValid()) {
        p.setColor(QPalette::WindowText, text);
        p.setColor(QPalette::Text, text);
    }
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void PaintSelectable(QWidget* frame, bool selected) {
    SetBackground(frame, selected ? Cyan : Blue, selected ? Qt::black : Qt::white);
    QFont f = frame->font();
    f.setBold(selected);
    frame->setFont(f);
    // Children keep their own font: only the caption changes weight.
    for (QWidget* child : frame->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        QFont cf = child->font();
        cf.setBold(false);
        child->setFont(cf);
    }
}

} // namespace varenta::ui
