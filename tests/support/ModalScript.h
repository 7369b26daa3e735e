#pragma once

// Acts on the modal windows a test opens: each step runs on the next modal window that
// appears, from inside that window's own event loop, once the window has the keyboard focus
// (has finished opening). A step given a window type fails on a window of another type. A
// window a step leaves open is a failure and is closed; a modal window that appears when no
// step is left is closed and counted; a step never run is a failure. So a test never hangs.
#include "support/GuiDriver.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

namespace varenta::testing {

class ModalScript {
public:
    using Step = std::function<void(QWidget*)>;

    ModalScript() : state_(std::make_shared<State>()) { Poll(state_); }
    ~ModalScript() {
        state_->stopped = true;
        EXPECT_EQ(remaining(), 0) << "steps of the modal script never ran";
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // A step for whatever modal window comes next.
    ModalScript& Then(Step step) {
        state_->steps.push_back(std::move(step));
        return *this;
    }
    // A step for the next modal window, which must be a T.
    template <typename T> ModalScript& Then(std::function<void(T*)> step) {
        return Then([step = std::move(step)](QWidget* w) {
            T* t = qobject_cast<T*>(w);
            if (!t) {
                ADD_FAILURE() << "expected " << T::staticMetaObject.className() << ", got "
                              << w->metaObject()->className() << " "
                              << w->objectName().toStdString();
                return;
            }
            step(t);
        });
    }
    int remaining() const { return int(state_->steps.size()); }
    int unexpected() const { return state_->unexpected; }

private:
    static constexpr int ReadyTimeoutMs = 10000;

    struct State {
        std::deque<Step> steps;
        bool stopped = false;
        int unexpected = 0;
        QPointer<QWidget> opening; // shown, not yet ready for keys
        QElapsedTimer openingFor;
    };

    // Active with the focus inside; without it only when nothing in it can take the focus.
    static bool Ready(QWidget* w) {
        if (QWidget* focus = QApplication::focusWidget())
            return focus->window() == w;
        if (QApplication::activeWindow() != w)
            return false;
        for (QWidget* c : w->findChildren<QWidget*>())
            if (c->isVisible() && c->isEnabled() && c->focusPolicy() != Qt::NoFocus)
                return false;
        return true;
    }

    static void Close(QWidget* w) {
        if (auto* d = qobject_cast<QDialog*>(w))
            d->reject();
        else
            w->close();
    }

    static void Poll(const std::shared_ptr<State>& s) {
        if (s->stopped)
            return;
        // A fresh timer each time, so that a step that opens another modal window (and so
        // runs a nested event loop) is followed by the next step.
        QTimer::singleShot(2, [s] { Poll(s); });
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible() || (w->property("scripted").toBool() && w != s->opening))
            return;
        if (w != s->opening) {
            w->setProperty("scripted", true);
            // A window kept and shown again (hidden in between) is a new modal window.
            w->installEventFilter(HideWatcher());
            if (s->steps.empty()) {
                ++s->unexpected;
                Close(w);
                return;
            }
            s->opening = w;
            s->openingFor.start();
        }
        if (!Ready(w)) {
            if (s->openingFor.elapsed() < ReadyTimeoutMs) {
                w->activateWindow();
                return;
            }
            ADD_FAILURE() << w->metaObject()->className() << " never took the focus";
        }
        s->opening = nullptr;
        Step step = std::move(s->steps.front());
        s->steps.pop_front();
        Settle();
        QPointer<QWidget> guard(w);
        step(w);
        Settle();
        // Still the same showing (not hidden and shown again): the step left it open.
        if (guard && guard->isVisible() && guard->property("scripted").toBool()) {
            ADD_FAILURE() << guard->metaObject()->className() << " left open by its step";
            Close(guard);
        }
    }

    class Watcher : public QObject {
    protected:
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Hide) {
                o->setProperty("scripted", false);
                o->removeEventFilter(this);
            }
            return false;
        }
    };
    static QObject* HideWatcher() {
        static Watcher watcher;
        return &watcher;
    }

    std::shared_ptr<State> state_;
};

} // namespace varenta::testing
