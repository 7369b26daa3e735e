// Test main for windows: a QApplication on the offscreen platform, a fresh program state for
// every test (ResetGlobals puts back every module's own state as well), and no window left
// open from one test to the next.
#include "app/Globals.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

namespace {
class FreshState : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { varenta::ResetGlobals(); }
    void OnTestEnd(const ::testing::TestInfo&) override {
        for (QWidget* w : QApplication::topLevelWidgets())
            w->close();
        QApplication::processEvents();
    }
};
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshState);
    return RUN_ALL_TESTS();
}
