#pragma once

// Pictures of the windows for the user guide. With VARENTA_SCREENS naming a folder, the tests
// that take them save what the user sees there; without it they are skipped.
#include <QApplication>
#include <QDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#define VARENTA_SKIP_UNLESS_SCREENS()                                                              \
    if (!qEnvironmentVariableIsEmpty("VARENTA_SCREENS")) {                                         \
    } else                                                                                         \
        GTEST_SKIP() << "VARENTA_SCREENS not set"

namespace varenta::testing {

inline void SaveScreen(QWidget* w, const QString& name) {
    QApplication::processEvents();
    QTest::qWait(200);
    const QDir dir(qEnvironmentVariable("VARENTA_SCREENS"));
    QDir().mkpath(dir.path());
    EXPECT_TRUE(w->grab().save(dir.filePath(name))) << name.toStdString();
}

} // namespace varenta::testing
