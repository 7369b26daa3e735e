#pragma once

#include "app/Messages.h"

// Shows the program's messages as real modal message boxes.
namespace varenta::ui {

class QtMessageSink : public MessageSink {
public:
    MsgAnswer Show(const Message& message) override;
    void Beep() override;
};

} // namespace varenta::ui
