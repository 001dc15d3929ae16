#pragma once
// Core code never shows a window. Where the program tells or asks the user something, core
// code hands a Message to a sink: the program turns it into a message box, tests capture it.

#include <string>
#include <vector>

namespace vesk {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
// The answers keep the Windows numbers, since some results are stored or compared as such.
enum class MessageAnswer { Ok = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7 };

struct Message {
  std::string text;
  std::string title;  // empty: the program's title
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;
};

class IMessageSink {
 public:
  virtual ~IMessageSink() = default;
  virtual MessageAnswer Show(const Message& message) = 0;
};

// Keeps every message and answers with a scripted list (then with the default answer).
class RecordingMessageSink : public IMessageSink {
 public:
  MessageAnswer Show(const Message& message) override {
    messages.push_back(message);
    if (next < answers.size()) return answers[next++];
    return defaultAnswer;
  }
  std::vector<Message> messages;
  std::vector<MessageAnswer> answers;
  size_t next = 0;
  MessageAnswer defaultAnswer = MessageAnswer::Ok;
};

// Drops every message and answers Ok (tools without a user to ask).
class NullMessageSink : public IMessageSink {
 public:
  MessageAnswer Show(const Message&) override { return MessageAnswer::Ok; }
};

}  // namespace vesk
