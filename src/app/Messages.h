#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

// Every message box and beep of the program goes through here. The windows install a sink
// that shows real message boxes; tests install ScriptedMessages, which answers in advance
// and records what was shown.
namespace varenta {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgAnswer { Ok, Cancel, Yes, No };
// Which button Enter presses: the first (OK, Yes) unless a box asks for the second, where
// Enter must not start something that cannot be undone.
enum class MsgDefault { First, Second };

struct Message {
    QString title; // never empty: the application title when the caller names none
    QString text;  // lines separated by "\n"
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    MsgDefault defaultButton = MsgDefault::First;
};

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual MsgAnswer Show(const Message& message) = 0;
    virtual void Beep() = 0;
};

// Shows a modal message box. An empty title shows the application title "QVtest".
MsgAnswer MsgBox(const QString& text, MsgButtons buttons = MsgButtons::Ok,
                 MsgIcon icon = MsgIcon::None, const QString& title = QString(),
                 MsgDefault defaultButton = MsgDefault::First);
// Joins message lines with the line separator message boxes use.
QString MsgLines(const QStringList& lines);
void Beep();

// Installs the sink; returns the previous one. With none installed messages are written to
// standard error and answered with the default button.
MessageSink* InstallMessageSink(MessageSink* sink);

// A sink for tests: answers from a queue (the last button, No or Cancel, when the queue is
// empty, so that no retry loop runs for ever) and keeps
// every message shown and the number of beeps.
class ScriptedMessages : public MessageSink {
public:
    ScriptedMessages();
    ~ScriptedMessages() override;

    void Answer(MsgAnswer answer) { answers_.push_back(answer); }
    void Answer(std::initializer_list<MsgAnswer> answers);
    // Runs when a message is shown, before it is answered (for example to check state).
    void OnShow(std::function<void(const Message&)> hook) { hook_ = std::move(hook); }

    MsgAnswer Show(const Message& message) override;
    void Beep() override { ++beeps_; }

    const std::vector<Message>& shown() const { return shown_; }
    QStringList texts() const;
    QStringList titles() const;
    const Message& last() const { return shown_.back(); }
    int beeps() const { return beeps_; }
    void clear();

private:
    MessageSink* previous_;
    std::deque<MsgAnswer> answers_;
    std::vector<Message> shown_;
    std::function<void(const Message&)> hook_;
    int beeps_ = 0;
};

} // namespace varenta
