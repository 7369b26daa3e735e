// Test main for plain code: every test starts from a fresh program state (ResetGlobals puts
// back every module's own state as well).
#include "app/Globals.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {
class FreshState : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { varenta::ResetGlobals(); }
};
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshState);
    return RUN_ALL_TESTS();
}
