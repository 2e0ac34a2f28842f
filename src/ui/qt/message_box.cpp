#include "ui/qt/message_box.h"

#include <QMessageBox>
#include <QPushButton>
#include <QWidget>
#include <utility>
#include <vector>

#include "base/text.h"
#include "ui/qt/key_map.h"

namespace kv::ui::desktop {

namespace {

QString lines(const std::string& text) {
  QString s = toQString(text);
  return s.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
}

QMessageBox::Icon qtIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Exclamation:
      return QMessageBox::Warning;
    case MsgIcon::Question:
      return QMessageBox::Question;
    case MsgIcon::Stop:
      return QMessageBox::Critical;
    default:
      return QMessageBox::NoIcon;
  }
}

// The buttons in their order, with the answer each gives; the last one is the Esc answer.
std::vector<std::pair<const char*, MsgAnswer>> buttonsOf(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::YesNo:
      return {{"Evet", MsgAnswer::Yes}, {"Hayır", MsgAnswer::No}};
    case MsgButtons::YesNoCancel:
      return {{"Evet", MsgAnswer::Yes}, {"Hayır", MsgAnswer::No}, {"İptal", MsgAnswer::Cancel}};
    case MsgButtons::RetryCancel:
      return {{"Yeniden Dene", MsgAnswer::Retry}, {"İptal", MsgAnswer::Cancel}};
    default:
      return {{"Tamam", MsgAnswer::Ok}};
  }
}

}  // namespace

MsgAnswer showMessageBox(QWidget* parent, const std::string& text, MsgButtons buttons, MsgIcon icon,
                         const std::string& title) {
  // The box has no parent widget: a handler running meanwhile (a timer) may unload the window, and its
  // widget must not take the box with it. It stands over the window instead, and keeps the program modal.
  QMessageBox box(qtIcon(icon), toQString(title), lines(text), QMessageBox::NoButton, nullptr);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  const auto choices = buttonsOf(buttons);
  std::vector<QPushButton*> made;
  for (const auto& [caption, answer] : choices)
    made.push_back(box.addButton(toQString(w(caption)), QMessageBox::ActionRole));
  box.setDefaultButton(made.front());
  box.setEscapeButton(made.back());
  if (parent) {
    box.adjustSize();
    box.move(parent->geometry().center() - QPoint(box.width() / 2, box.height() / 2));
  }
  box.exec();
  for (std::size_t i = 0; i < made.size(); ++i)
    if (box.clickedButton() == made[i]) return choices[i].second;
  return choices.back().second;
}

}  // namespace kv::ui::desktop
