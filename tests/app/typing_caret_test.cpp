// The caret after a key whose handler sets the text of the box being typed into: it stays where the user
// types when the handler only takes blanks out, and goes to the start when the box gets other content.
#include <functional>

#include "app_fixture.h"
#include "ui/keys.h"

namespace kv::testing {
namespace {

namespace Key = ui::Key;

class TypingCaretTest : public AppTest, public ::testing::WithParamInterface<int> {
 public:
  using AppTest::box;
  using AppTest::openMainOn;
  using AppTest::ui;
};

struct Row {
  const char* how;
  std::function<void(TypingCaretTest&)> open;
  const char* box;
  std::function<void(TypingCaretTest&)> keys;  // with the box focused
  const char* typed;
  const char* want;
};

const Row kRows[] = {
    {"service window, code box: leading blanks go at each key",
     [](TypingCaretTest& t) {
       t.openMainOn({{"A"}, {"B"}, {"C"}}, 1, 1);
       t.ui.start("frmServis");
     },
     "bilKod",
     [](TypingCaretTest& t) {
       t.box("bilKod").Text = "";
       t.ui.type(" 0-6");
       t.ui.key(Key::Left);
     },
     "xy", "0-xy6"},
    {"main window, the next record", [](TypingCaretTest& t) { t.openMainOn({{"A"}, {"B"}, {"C"}}, 2, 1); }, "bilKod",
     [](TypingCaretTest& t) {
       t.box("bilKod").SelStart = 1;
       t.ui.key(Key::PageDown);
     },
     "X", "XC"},
    {"list dialog, record order",
     [](TypingCaretTest& t) {
       t.openMainOn({{"A"}, {"B"}, {"C"}}, 1, 8);
       t.ui.key(Key::F7);
     },
     "txtSonuncu",
     [](TypingCaretTest& t) {
       t.box("txtSonuncu").SelStart = static_cast<int>(t.box("txtSonuncu").Text().size());
       t.ui.key(Key::F4);
     },
     "2", "23"},
};

TEST_P(TypingCaretTest, TheCaretStaysOnlyWhereTheKeyTidiesTheBox) {
  const Row& row = kRows[GetParam()];
  SCOPED_TRACE(row.how);
  row.open(*this);
  ui.focus(row.box);
  row.keys(*this);
  ui.type(row.typed);
  EXPECT_EQ(text(row.box), row.want);
}

INSTANTIATE_TEST_SUITE_P(Windows, TypingCaretTest, ::testing::Range(0, static_cast<int>(std::size(kRows))));

}  // namespace
}  // namespace kv::testing
