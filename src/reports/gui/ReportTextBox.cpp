#include "reports/gui/ReportTextBox.h"

#include <QPainter>
#include <QTextBlock>

namespace varenta::reports {

ReportTextBox::ReportTextBox(QWidget* parent) : QPlainTextEdit(parent) {
    // The report is only ever read back from its file: edits here would never be printed.
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
}

QString ReportTextBox::DisplayText(const QString& report) {
    QString text = report;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

void ReportTextBox::paintEvent(QPaintEvent* e) {
    QPlainTextEdit::paintEvent(e);
    QPainter painter(viewport());
    painter.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    const QPointF offset = contentOffset();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF r = blockBoundingGeometry(block).translated(offset);
        if (r.top() > e->rect().bottom())
            break;
        if (block.text() == QStringLiteral("\f")) {
            const qreal y = r.center().y();
            painter.drawLine(QPointF(0, y), QPointF(viewport()->width(), y));
        }
    }
}

} // namespace varenta::reports
