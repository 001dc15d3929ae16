#include "common/UiMessages.h"

#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>

#include "app/AppInfo.h"
#include "common/Texts.h"

namespace vesk {

namespace {

IMessageSink* g_customSink = nullptr;

QMessageBox::Icon ToQt(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Error:
      return QMessageBox::Critical;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQt(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::RetryCancel:
      return QMessageBox::Retry | QMessageBox::Cancel;
    case MessageButtons::Ok:
      break;
  }
  return QMessageBox::Ok;
}

}  // namespace

MessageAnswer QtMessageSink::Show(const Message& message) {
  QWidget* parent = QApplication::activeModalWidget();
  if (!parent) parent = QApplication::activeWindow();
  QMessageBox box(ToQt(message.icon), Qs(message.title.empty() ? g_AppTitle : message.title),
                  Qs(message.text), ToQt(message.buttons), parent);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    case QMessageBox::Cancel:
      return MessageAnswer::Cancel;
    case QMessageBox::Retry:
      return MessageAnswer::Retry;
    default:
      break;
  }
  // Closing a question with Escape or the title bar counts as its negative answer.
  if (message.buttons == MessageButtons::YesNo) return MessageAnswer::No;
  if (message.buttons != MessageButtons::Ok) return MessageAnswer::Cancel;
  return MessageAnswer::Ok;
}

MessageAnswer ForwardingMessageSink::Show(const Message& message) {
  return UiSink().Show(message);
}

IMessageSink& UiSink() {
  static QtMessageSink boxes;
  return g_customSink ? *g_customSink : boxes;
}

void SetUiSink(IMessageSink* sink) {
  g_customSink = sink;
}

ForwardingMessageSink& Forwarder() {
  static ForwardingMessageSink forwarder;
  return forwarder;
}

MessageAnswer ShowBox(std::string text, MessageIcon icon, MessageButtons buttons,
                      std::string title) {
  Message m;
  m.text = std::move(text);
  m.title = title.empty() ? g_AppTitle : std::move(title);
  m.icon = icon;
  m.buttons = buttons;
  return UiSink().Show(m);
}

bool AskYesNo(std::string text, std::string title) {
  return ShowBox(std::move(text), MessageIcon::Question, MessageButtons::YesNo, std::move(title)) ==
         MessageAnswer::Yes;
}

}  // namespace vesk
