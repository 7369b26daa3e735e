#pragma once

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>

namespace varenta::testing {

// Acts on the modal windows a test opens: each step runs on the next modal window that
// appears, while that window's own event loop runs. A modal window that appears when no step
// is left is closed and counted, so a test never hangs on it.
class ModalScript {
public:
    using Step = std::function<void(QWidget*)>;

    ModalScript() : state_(std::make_shared<State>()) { Poll(state_); }
    ~ModalScript() { state_->stopped = true; }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    ModalScript& Then(Step step) {
        state_->steps.push_back(std::move(step));
        return *this;
    }
    int remaining() const { return int(state_->steps.size()); }
    int unexpected() const { return state_->unexpected; }

private:
    struct State {
        std::deque<Step> steps;
        bool stopped = false;
        int unexpected = 0;
    };

    static void Poll(const std::shared_ptr<State>& s) {
        if (s->stopped)
            return;
        // A fresh timer each time, so that a step that opens another modal window (and so
        // runs a nested event loop) is followed by the next step.
        QTimer::singleShot(2, [s] { Poll(s); });
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible() || w->property("scripted").toBool())
            return;
        w->setProperty("scripted", true);
        // A window kept and shown again (hidden in between) is a new modal window.
        w->installEventFilter(HideWatcher());
        if (s->steps.empty()) {
            ++s->unexpected;
            w->close();
            return;
        }
        Step step = std::move(s->steps.front());
        s->steps.pop_front();
        step(w);
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
