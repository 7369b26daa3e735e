#include "app/Messages.h"

#include "app/Globals.h"

#include <cstdio>

namespace varenta {

namespace {

MessageSink* g_sink = nullptr;
const StateReset resetSink([] { g_sink = nullptr; });

MsgAnswer DefaultAnswer(MsgButtons buttons, MsgDefault which) {
    const bool second = which == MsgDefault::Second;
    switch (buttons) {
    case MsgButtons::YesNo:
        return second ? MsgAnswer::No : MsgAnswer::Yes;
    case MsgButtons::OkCancel:
        return second ? MsgAnswer::Cancel : MsgAnswer::Ok;
    case MsgButtons::Ok:
        break;
    }
    return MsgAnswer::Ok;
}
} // namespace

MsgAnswer MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title,
                 MsgDefault defaultButton) {
    Message m{title.isEmpty() ? QString::fromLatin1(AppTitle) : title, text, icon, buttons,
              defaultButton};
    if (g_sink)
        return g_sink->Show(m);
    std::fprintf(stderr, "%s: %s\n", qPrintable(m.title), qPrintable(m.text));
    return DefaultAnswer(buttons, defaultButton);
}

QString MsgLines(const QStringList& lines) {
    return lines.join(QLatin1Char('\n'));
}

void Beep() {
    if (g_sink)
        g_sink->Beep();
}

MessageSink* InstallMessageSink(MessageSink* sink) {
    MessageSink* old = g_sink;
    g_sink = sink;
    return old;
}

ScriptedMessages::ScriptedMessages() : previous_(InstallMessageSink(this)) {}

ScriptedMessages::~ScriptedMessages() {
    InstallMessageSink(previous_);
}

void ScriptedMessages::Answer(std::initializer_list<MsgAnswer> answers) {
    for (MsgAnswer a : answers)
        answers_.push_back(a);
}

MsgAnswer ScriptedMessages::Show(const Message& message) {
    shown_.push_back(message);
    if (hook_)
        hook_(message);
    if (answers_.empty()) // unscripted: the last button, which ends every retry loop
        return message.buttons == MsgButtons::YesNo      ? MsgAnswer::No
               : message.buttons == MsgButtons::OkCancel ? MsgAnswer::Cancel
                                                         : MsgAnswer::Ok;
    const MsgAnswer a = answers_.front();
    answers_.pop_front();
    return a;
}

QStringList ScriptedMessages::texts() const {
    QStringList out;
    for (const Message& m : shown_)
        out << m.text;
    return out;
}

QStringList ScriptedMessages::titles() const {
    QStringList out;
    for (const Message& m : shown_)
        out << m.title;
    return out;
}

void ScriptedMessages::clear() {
    shown_.clear();
    answers_.clear();
    beeps_ = 0;
}

} // namespace varenta
