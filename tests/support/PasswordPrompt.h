#pragma once

// The supervisor's password prompt in a modal-window script.
#include "app/BuildConfig.h"
#include "support/ModalScript.h"
#include "ui/Password.h"

#include <QLineEdit>
#include <QTest>

namespace varenta::testing {

// The supervisor password as staff type it.
inline const QString SupervisorPassword = QString(QLatin1Char(build::SupervisorLetter)).toLower();

// A step for the password prompt: types `entry` and ends with `key`.
inline ModalScript::Step TypePassword(const QString& entry, Qt::Key key = Qt::Key_Return) {
    return [entry, key](QWidget* w) {
        auto* box = qobject_cast<ui::frmMyInputBox*>(w);
        ASSERT_TRUE(box) << "expected the password prompt, got " << w->objectName().toStdString();
        QTest::keyClicks(box->txtInput(), entry);
        QTest::keyClick(box->txtInput(), key);
    };
}

} // namespace varenta::testing
