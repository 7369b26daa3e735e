#include "ModalScript.h"
#include "ui/WindowHelpers.h"
#include "ui/frmAbout.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace varenta::testing;
using namespace varenta::ui;

namespace {

class AboutTest : public ::testing::Test {
protected:
    void TearDown() override { frmAbout::SetTimeScale(1.0, 1.0); }
};

QString Text(QWidget* w, const char* name) {
    return w->findChild<QLabel*>(QString::fromLatin1(name))->text();
}

TEST_F(AboutTest, StripsAndPanelsAsLoaded) {
    frmAbout about(false);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About QV"));
    EXPECT_EQ(Text(&about, "pnl1"), QStringLiteral("Varenta v4.01"));
    EXPECT_EQ(Text(&about, "SSPanel4"), QStringLiteral("03.15.2012"));
    const int tops[] = {120, 660, 1200, 1680, 2160, 2640};
    for (int i = 0; i < frmAbout::StripCount; ++i) {
        auto* strip = about.findChild<QFrame*>(QStringLiteral("Picture2(%1)").arg(i));
        ASSERT_NE(strip, nullptr);
        EXPECT_EQ(strip->geometry(), QRect(Twips(120), Twips(tops[i]), Twips(2200), Twips(560)));
    }
    EXPECT_FALSE(about.findChild<QLabel*>(QStringLiteral("imgNRVLogo"))->isVisibleTo(&about));
    auto* panel = about.findChild<QFrame*>(QStringLiteral("sspMenuChoice"));
    EXPECT_EQ(panel->palette().color(QPalette::Window), Cyan);
    EXPECT_EQ(about.Timer1Interval(), 10);
}

TEST_F(AboutTest, RevealTakesTenTicksOfFiftyTwips) {
    frmAbout::SetTimeScale(0.0, 0.0);
    frmAbout about(false);
    std::vector<int> heights;
    QObject::connect(about.findChild<QTimer*>(QStringLiteral("Timer1")), &QTimer::timeout,
                     [&] { heights.push_back(about.StripHeight(0)); });
    about.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return about.FadeDone(); }, 2000));
    ASSERT_EQ(heights.size(), 10u);
    EXPECT_EQ(heights.front(), 510);
    EXPECT_EQ(heights.back(), 60); // the first height below 61
    for (int i = 0; i < frmAbout::StripCount; ++i) {
        EXPECT_EQ(about.StripHeight(i), 60);
        EXPECT_FALSE(about.findChild<QFrame*>(QStringLiteral("Picture2(%1)").arg(i))->isVisible());
    }
    EXPECT_TRUE(about.findChild<QLabel*>(QStringLiteral("imgNRVLogo"))->isVisible());
}

TEST_F(AboutTest, SplashHoldsFiveTicksOfOneSecondOnClose) {
    // A hundredth of the real pace: the hold's five seconds become 50 ms.
    frmAbout::SetTimeScale(0.0, 0.01);
    frmAbout splash(true);
    EXPECT_EQ(splash.windowTitle(), QStringLiteral("Initializing..."));
    EXPECT_FALSE(splash.findChild<QPushButton*>(QStringLiteral("cmdOK"))->isVisibleTo(&splash));
    splash.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return splash.FadeDone(); }, 2000));
    QElapsedTimer clock;
    clock.start();
    splash.close();
    EXPECT_GE(clock.elapsed(), 5 * 10 - 5);
    EXPECT_EQ(splash.HoldTicks(), 5);
    EXPECT_EQ(splash.Timer1Interval(), 1000);
    EXPECT_FALSE(splash.isVisible());
}

TEST_F(AboutTest, AboutBoxClosesAtOnceOnOkEvenDuringTheReveal) {
    frmAbout::SetTimeScale(1.0, 1.0); // real pace: the reveal would take 100 ms
    frmAbout about(false);
    ModalScript script;
    script.Then([](QWidget* w) {
        QTest::keyClick(w->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::Key_Return);
    });
    QElapsedTimer clock;
    clock.start();
    about.exec();
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(about.HoldTicks(), 0);
    EXPECT_EQ(script.remaining(), 0);
}

TEST_F(AboutTest, LogoIsDrawn) {
    const QImage logo = DrawLogo(QSize(120, 168)).toImage();
    ASSERT_EQ(logo.size(), QSize(120, 168));
    EXPECT_EQ(qAlpha(logo.pixel(1, 167)), 0);    // corner outside the shield
    EXPECT_GT(qAlpha(logo.pixel(60, 120)), 200); // inside
}

} // namespace
