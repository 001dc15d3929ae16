#pragma once
// Every message box of the program goes through one sink. The program shows QMessageBoxes;
// the tests put a RecordingMessageSink in its place and see every text with its answer.

#include <string>

#include "platform/MessageSink.h"

class QWidget;

namespace vesk {

// Shows a Message as a modal QMessageBox over the active window.
class QtMessageSink : public IMessageSink {
 public:
  MessageAnswer Show(const Message& message) override;
};

// Hands every message to the sink currently installed (core objects keep a reference to
// this one, so a test can swap the sink underneath them).
class ForwardingMessageSink : public IMessageSink {
 public:
  MessageAnswer Show(const Message& message) override;
};

IMessageSink& UiSink();
// nullptr puts the message boxes back.
void SetUiSink(IMessageSink* sink);
ForwardingMessageSink& Forwarder();

// A message titled g_AppTitle unless a title is given.
MessageAnswer ShowBox(std::string text, MessageIcon icon = MessageIcon::None,
                      MessageButtons buttons = MessageButtons::Ok, std::string title = {});
// Yes/No question titled g_AppTitle; true for Yes.
bool AskYesNo(std::string text, std::string title = {});

}  // namespace vesk
