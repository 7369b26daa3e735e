#include "support/ModalScript.h"
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
    static QFrame* Strip(QWidget* w, int i) {
        return w->findChild<QFrame*>(QStringLiteral("Picture2(%1)").arg(i));
    }
};

TEST_F(AboutTest, RevealTakesTenTicksOfFiftyTwips) {
    frmAbout::SetTimeScale(0.0, 0.0);
    frmAbout about(false);
    EXPECT_EQ(about.windowTitle(), "About QV");
    EXPECT_EQ(about.Timer1Interval(), 10);

    std::vector<int> heights;
    QObject::connect(about.findChild<QTimer*>(QStringLiteral("Timer1")), &QTimer::timeout,
                     [&] { heights.push_back(about.StripHeight(0)); });
    about.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return about.FadeDone(); }, 2000));
    ASSERT_EQ(heights.size(), 10u);
    EXPECT_EQ(heights.front(), 510);
    EXPECT_EQ(heights.back(), 60); // the first height below 61
    for (int i = 0; i < frmAbout::StripCount; ++i)
        EXPECT_FALSE(Strip(&about, i)->isVisible());
    EXPECT_TRUE(about.findChild<QLabel*>(QStringLiteral("imgNRVLogo"))->isVisible());
}

TEST_F(AboutTest, SplashHoldsFiveTicksOfOneSecondOnClose) {
    frmAbout::SetTimeScale(0.0, 0.01); // the hold's five seconds become 50 ms
    frmAbout splash(true);
    EXPECT_EQ(splash.windowTitle(), "Initializing...");
    EXPECT_FALSE(splash.findChild<QPushButton*>(QStringLiteral("cmdOK"))->isVisibleTo(&splash));
    splash.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return splash.FadeDone(); }, 2000));
    QElapsedTimer clock;
    clock.start();
    splash.close();
    EXPECT_GE(clock.elapsed(), 45);
    EXPECT_EQ(splash.HoldTicks(), 5);
    EXPECT_EQ(splash.Timer1Interval(), 1000);
    EXPECT_FALSE(splash.isVisible());
}

TEST_F(AboutTest, AboutBoxClosesAtOnceOnOkEvenDuringTheReveal) {
    frmAbout about(false); // real pace: the reveal alone would take 100 ms
    ModalScript script;
    script.Then([](QWidget* w) {
        QTest::keyClick(w->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::Key_Return);
    });
    QElapsedTimer clock;
    clock.start();
    about.exec();
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(about.HoldTicks(), 0);
}

} // namespace
