#include "ui/frmAbout.h"

#include "app/Globals.h"
#include "ui/Palette.h"
#include "ui/WindowHelpers.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace varenta::ui {

namespace {

double g_revealScale = 1.0;
double g_holdScale = 1.0;
const StateReset resetScale([] { g_revealScale = g_holdScale = 1.0; });

constexpr int RevealInterval = 10; // ms
constexpr int HoldInterval = 1000; // ms, one tick of the hold
constexpr int HoldTickCount = 5;   // seconds the splash stays when closed
constexpr int StripWidth = 2200;   // twips
constexpr int StripStartHeight = 560;
constexpr int StripLeft = 120;
constexpr int StripStep = 50;
constexpr int StripEndBelow = 61;
constexpr std::array<int, frmAbout::StripCount> StripTops{120, 660, 1200, 1680, 2160, 2640};

constexpr int FormWidth = 7440; // twips
constexpr int FormHeight = 3960;

QLabel* Panel(QWidget* parent, const char* name, const QString& text, int left, int top, int width,
              int height, int pointSize, bool bold) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setAlignment(Qt::AlignCenter);
    l->setTextFormat(Qt::PlainText);
    QFont f = l->font();
    f.setPointSize(pointSize);
    f.setBold(bold);
    l->setFont(f);
    l->setGeometry(Twips(left), Twips(top), Twips(width), Twips(height));
    return l;
}

} // namespace

void frmAbout::SetTimeScale(double reveal, double hold) {
    g_revealScale = reveal < 0 ? 0 : reveal;
    g_holdScale = hold < 0 ? 0 : hold;
}

QPixmap DrawLogo(const QSize& size) {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();

    // A shield: flat top, sides curving to a point.
    QPainterPath shield;
    const qreal m = w * 0.06;
    shield.moveTo(m, m);
    shield.lineTo(w - m, m);
    shield.lineTo(w - m, h * 0.50);
    shield.cubicTo(w - m, h * 0.78, w * 0.62, h * 0.88, w / 2, h - m);
    shield.cubicTo(w * 0.38, h * 0.88, m, h * 0.78, m, h * 0.50);
    shield.closeSubpath();
    QLinearGradient fill(0, 0, 0, h);
    fill.setColorAt(0, logo::ShieldTop);
    fill.setColorAt(1, logo::ShieldFoot);
    p.setPen(QPen(logo::Rim, w * 0.035));
    p.setBrush(fill);
    p.drawPath(shield);

    // A band across the top with the name.
    const QRectF band(m * 1.8, h * 0.09, w - m * 3.6, h * 0.16);
    p.setPen(Qt::NoPen);
    p.setBrush(logo::Band);
    p.drawRect(band);
    QFont f(QStringLiteral("Sans Serif"));
    f.setBold(true);
    f.setPixelSize(qMax(8, int(h * 0.085)));
    f.setLetterSpacing(QFont::AbsoluteSpacing, w * 0.012);
    p.setFont(f);
    p.setPen(logo::ShieldFoot);
    p.drawText(band, Qt::AlignCenter, QStringLiteral("VARENTA"));

    // A large V with two stars.
    QPainterPath v;
    v.moveTo(w * 0.22, h * 0.33);
    v.lineTo(w * 0.36, h * 0.33);
    v.lineTo(w * 0.50, h * 0.66);
    v.lineTo(w * 0.64, h * 0.33);
    v.lineTo(w * 0.78, h * 0.33);
    v.lineTo(w * 0.56, h * 0.80);
    v.lineTo(w * 0.44, h * 0.80);
    v.closeSubpath();
    p.setBrush(logo::Letter);
    p.setPen(QPen(logo::LetterEdge, w * 0.01));
    p.drawPath(v);
    auto star = [&](QPointF c, qreal r) {
        QPainterPath s;
        for (int k = 0; k < 10; ++k) {
            const qreal a = -M_PI / 2 + k * M_PI / 5;
            const qreal rr = (k % 2) ? r * 0.42 : r;
            const QPointF pt(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
            if (k == 0)
                s.moveTo(pt);
            else
                s.lineTo(pt);
        }
        s.closeSubpath();
        p.drawPath(s);
    };
    p.setPen(Qt::NoPen);
    p.setBrush(logo::Star);
    star(QPointF(w * 0.25, h * 0.62), w * 0.07);
    star(QPointF(w * 0.75, h * 0.62), w * 0.07);
    return pm;
}

frmAbout::frmAbout(bool splash, QWidget* parent) : QDialog(parent), splash_(splash) {
    setObjectName(QStringLiteral("frmAbout"));
    setFixedSize(Twips(FormWidth), Twips(FormHeight));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    imgNRVLogo_ = new QLabel(this);
    imgNRVLogo_->setObjectName(QStringLiteral("imgNRVLogo"));
    const QRect logoRect(Twips(StripLeft), Twips(StripTops[0]), Twips(StripWidth),
                         Twips(StripTops[StripCount - 1] + StripStartHeight - StripTops[0]));
    imgNRVLogo_->setGeometry(logoRect);
    imgNRVLogo_->setPixmap(DrawLogo(logoRect.size()));
    imgNRVLogo_->hide();

    for (int i = 0; i < StripCount; ++i) {
        auto* strip = new QFrame(this);
        strip->setObjectName(QStringLiteral("Picture2(%1)").arg(i));
        strip->setFrameStyle(QFrame::NoFrame);
        SetBackground(strip, palette().color(QPalette::Window).darker(108));
        strips_[size_t(i)] = strip;
        stripHeight_[size_t(i)] = StripStartHeight;
        PlaceStrip(i);
        strip->raise();
    }

    const int left = 2520;
    const int width = FormWidth - left - 120;
    Panel(this, "pnl1", QStringLiteral("Varenta v4.01"), left, 120, width, 660, 18, true);
    Panel(this, "SSPanel4", QStringLiteral("03.15.2012"), left, 840, width, 360, 10, false);
    Panel(this, "pnlMaker", QStringLiteral("Valdoria Assessment Services"), left, 1320, width, 360,
          10, true);
    Panel(this, "pnlRights",
          QStringLiteral("Copyright 2012 Valdoria Assessment Services.\nAll rights reserved. "
                         "Licensed for use by court staff only."),
          left, 1740, width, 600, 8, false);
    Panel(this, "pnlPhone", QStringLiteral("Telephone (555) 014-4401"), left, 2400, width, 360, 9,
          false);
    Panel(this, "pnlWeb", QStringLiteral("https://valdoria.example.org"), left, 2820, width, 360, 9,
          false);

    sspMenuChoice_ = new QFrame(this);
    sspMenuChoice_->setObjectName(QStringLiteral("sspMenuChoice"));
    sspMenuChoice_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    const int okWidth = 1800;
    sspMenuChoice_->setGeometry(Twips(left + (width - okWidth) / 2), Twips(3300), Twips(okWidth),
                                Twips(540));
    cmdOK_ = new QPushButton(QStringLiteral("OK"), sspMenuChoice_);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    const int border = Twips(75);
    cmdOK_->setGeometry(border, border, sspMenuChoice_->width() - 2 * border,
                        sspMenuChoice_->height() - 2 * border);
    cmdOK_->setDefault(true);
    QFont bold = cmdOK_->font();
    bold.setBold(true);
    cmdOK_->setFont(bold);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);

    if (splash_) {
        cmdOK_->hide();
        sspMenuChoice_->hide();
        setWindowTitle(QStringLiteral("Initializing..."));
    } else {
        setWindowTitle(QStringLiteral("About QV"));
        holding_ = false;
    }
    SetBackground(sspMenuChoice_, Cyan);
    CenterForm(this);

    Timer1_ = new QTimer(this);
    Timer1_->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1_, &QTimer::timeout, this, &frmAbout::Tick);
    StartTimer(RevealInterval);
}

void frmAbout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!splash_)
        cmdOK_->setFocus(Qt::OtherFocusReason);
}

void frmAbout::StartTimer(int intervalMs) {
    interval_ = intervalMs;
    const double scale = intervalMs >= HoldInterval ? g_holdScale : g_revealScale;
    Timer1_->start(qRound(intervalMs * scale));
}

void frmAbout::PlaceStrip(int i) {
    const int h = std::max(0, stripHeight_[size_t(i)]);
    strips_[size_t(i)]->setGeometry(Twips(StripLeft), Twips(StripTops[size_t(i)]),
                                    Twips(StripWidth), Twips(h));
}

void frmAbout::Tick() {
    if (holding_) {
        ++holdTicks_;
        fadeDone_ = true;
        return;
    }
    imgNRVLogo_->show();
    for (int i = 0; i < StripCount; ++i) {
        stripHeight_[size_t(i)] -= StripStep;
        PlaceStrip(i);
    }
    if (stripHeight_[0] < StripEndBelow) {
        for (QFrame* s : strips_)
            s->hide();
        Timer1_->stop();
        fadeDone_ = true;
    }
}

void frmAbout::done(int r) {
    // Escape on the splash goes through the close request, so the hold still runs.
    if (splash_ && !held_) {
        if (!holding_)
            close();
        return;
    }
    QDialog::done(r);
}

void frmAbout::closeEvent(QCloseEvent* event) {
    if (!splash_ || held_) {
        Timer1_->stop();
        QDialog::closeEvent(event);
        return;
    }
    if (holding_) { // a second request while the hold runs: the hold closes the window
        event->ignore();
        return;
    }
    holding_ = true;
    StartTimer(HoldInterval);
    for (int k = 0; k < HoldTickCount; ++k) {
        Timer1_->start();
        fadeDone_ = false;
        while (!fadeDone_)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    Timer1_->stop();
    held_ = true;
    QDialog::closeEvent(event);
}

} // namespace varenta::ui
