// From the key that selects an answer to the next item on screen: the handling of Enter, the
// next item filled in, its statement focused and the window painted. Goal: one frame (16 ms).
#include "BenchMain.h"
#include "administration/PresentationFakes.h"
#include "administration/PresentationItems.h"
#include "administration/gui/AudioDevice.h"
#include "administration/gui/frmPresentQA.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

namespace {

using namespace varenta;
using namespace varenta::administration;

// A key pressed and released on the focused control, as the keyboard delivers it.
void Press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* w = QApplication::focusWidget();
    if (!w)
        return;
    QKeyEvent down(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, mods);
    QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : w, &up);
}

class FixedItems : public ItemSource {
public:
    std::vector<PresentedItem> Items(const QString&) override { return items; }
    std::vector<PresentedItem> items = testing::MakeItems();
};

struct Session {
    // With `realSound`, the shipped items and waves played on the sound device; otherwise
    // made-up items and a device that only records.
    explicit Session(bool realSound) {
        const QString disk = tmp.file(QStringLiteral("disk"));
        testing::WriteDataDisk(disk, {testing::SampleClient(1)});
        testing::UseDataDisk(disk);
        if (realSound) {
            qtDevice = std::make_unique<QtWaveDevice>();
            dbItems = std::make_unique<QuestionDbItems>(testing::BuiltProgramDir() +
                                                        QStringLiteral("/qv32.mdb"));
            Globals().SndPath = testing::BuiltProgramDir();
        } else {
            testing::MakeSoundFolder(tmp.path(), QStringLiteral("English"), source.items);
            Globals().SndPath = tmp.path();
        }
    }
    // A fresh window on the first item, its statement focused.
    void Start() {
        form.reset();
        Globals().CurrentClient = 2;
        Globals().Clients[2] = testing::SampleClient(2);
        form = std::make_unique<frmPresentQA>();
        form->SetItemSource(dbItems ? static_cast<ItemSource*>(dbItems.get()) : &source);
        form->SetWaveDevice(qtDevice ? static_cast<WaveDevice*>(qtDevice.get()) : &device);
        form->Prepare();
        form->show();
        form->activateWindow();
        QElapsedTimer t;
        t.start();
        while (!form->isActiveWindow() && t.elapsed() < 5000)
            QApplication::processEvents();
        while (form->presentation()->InstructionsVisible())
            Press(Qt::Key_Return);
    }
    testing::TempDir tmp;
    ScriptedMessages messages; // the section notes answer themselves
    testing::FakeWaveDevice device;
    FixedItems source;
    std::unique_ptr<QtWaveDevice> qtDevice;
    std::unique_ptr<QuestionDbItems> dbItems;
    std::unique_ptr<frmPresentQA> form;
};

void AnswerToNextItem(benchmark::State& state, bool realSound) {
    Session s(realSound);
    s.Start();
    if (realSound && !s.form->SoundOn()) {
        state.SkipWithError("no sound output device");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        Presentation* p = s.form->presentation();
        // Past the section instructions, and short of the last item (which stores the test).
        while (p->InstructionsVisible())
            Press(Qt::Key_Return);
        if (p->CurrentItemId() >= 115) {
            s.Start();
            p = s.form->presentation();
        }
        Press(Qt::Key_Down);
        s.device.played.clear();
        state.ResumeTiming();

        Press(Qt::Key_Return);
        s.form->repaint();
        benchmark::DoNotOptimize(p->CurrentItemId());
    }
}
void BM_AnswerToNextItem(benchmark::State& state) {
    AnswerToNextItem(state, false);
}
BENCHMARK(BM_AnswerToNextItem)->Unit(benchmark::kMillisecond)->Iterations(500);

// The same with the statement's wave started on the real device (skipped without one).
void BM_AnswerToNextItemWithSound(benchmark::State& state) {
    AnswerToNextItem(state, true);
}
BENCHMARK(BM_AnswerToNextItemWithSound)->Unit(benchmark::kMillisecond)->Iterations(300);

} // namespace

int main(int argc, char** argv) {
    return varenta::bench::Run(argc, argv);
}
