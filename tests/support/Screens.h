#pragma once

// Pictures of the windows for the user guide, taken by the tests named
// DISABLED_ScreensForTheGuide: not part of the suite, run by the build target `screens`, which
// names the folder in VARENTA_SCREENS.
#include <QApplication>
#include <QDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace varenta::testing {

inline void SaveScreen(QWidget* w, const QString& name) {
    const QString folder = qEnvironmentVariable("VARENTA_SCREENS");
    ASSERT_FALSE(folder.isEmpty()) << "VARENTA_SCREENS names no folder for the pictures";
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w->window()));
    QApplication::processEvents();
    QDir().mkpath(folder);
    EXPECT_TRUE(w->grab().save(QDir(folder).filePath(name))) << name.toStdString();
}

} // namespace varenta::testing
