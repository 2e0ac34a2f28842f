// The caret after a key whose handler sets the text of the box being typed into: it stays where the user
// types when the handler only takes blanks out, and goes to the start when the box gets other content.
#include "app_fixture.h"
#include "ui/keys.h"

namespace kv::testing {
namespace {

namespace Key = ui::Key;

class TypingCaretTest : public AppTest, public ::testing::WithParamInterface<int> {};

TEST_P(TypingCaretTest, TheCaretStaysOnlyWhereTheKeyTidiesTheBox) {
  const struct {
    const char* box;
    int tab;
    const char* typed;
    const char* want;
  } rows[] = {
      {"bilKod", 1, "xy", "0-xy6"},  // the service window's code box loses its leading blank at each key
      {"bilKod", 1, "X", "XC"},      // the main window's next record
      {"txtSonuncu", 8, "2", "23"},  // the list dialog's record order
  };
  const auto& row = rows[GetParam()];
  openMainOn({{"A"}, {"B"}, {"C"}}, GetParam() == 1 ? 2 : 1, row.tab);
  if (GetParam() == 0) ui.start("frmServis");
  if (GetParam() == 2) ui.key(Key::F7);
  ui.focus(row.box);
  switch (GetParam()) {
    case 0:
      box(row.box).Text = "";
      ui.type(" 0-6");
      ui.key(Key::Left);
      break;
    case 1:
      box(row.box).SelStart = 1;
      ui.key(Key::PageDown);
      break;
    case 2:
      box(row.box).SelStart = static_cast<int>(box(row.box).Text().size());
      ui.key(Key::F4);
      break;
  }
  ui.type(row.typed);
  EXPECT_EQ(text(row.box), row.want);
}

INSTANTIATE_TEST_SUITE_P(Windows, TypingCaretTest, ::testing::Range(0, 3));

}  // namespace
}  // namespace kv::testing
