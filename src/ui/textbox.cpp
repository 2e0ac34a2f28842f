#include "ui/textbox.h"

namespace kv::ui {

void TextBox::setText(const std::string& v) { setTextByCode(v); }

void TextBox::setSelText(const std::string& v) {
  apply(edit_.setSelText(v) ? EditText::Result::Changed : EditText::Result::Moved);
}

void TextBox::setAlignment(const int& v) {
  alignment_ = v;
  changed();
}

}  // namespace kv::ui
