// The main window worked as a user works it: a company built in a few lines, keys and typing through the
// headless back end, and the product file, the index and the chain read back as they lie on disk.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "files/files.h"
#include "ui/keys.h"
#include "window_fixture.h"

namespace kv::testing {

namespace Key = ui::Key;
using Strings = std::vector<std::string>;

class MainWindowTest : public WindowTest {
 protected:
  // Products linked in the order given (records 1, 2, ...).
  void makeCompany(const std::vector<Company::Spec>& specs) {
    Company c;
    c.addAll(specs);
  }
  // Changes record n on disk, as another path or a damaged file would have left it.
  void patch(int n, const std::function<void(ProductRecord&)>& change) {
    Company c;
    ProductRecord r = c.record(static_cast<std::int16_t>(n));
    change(r);
    c.write(static_cast<std::int16_t>(n), r);
  }
  // The company made of `specs`; then the window opens on `record` and `tab`, and what the opening showed
  // is forgotten.
  void openOn(const std::vector<Company::Spec>& specs, std::int16_t record, int tabIndex) {
    makeCompany(specs);
    KALVOR3.CurrentRecordNumber = record;
    mainKept().CurrentTab = static_cast<std::int16_t>(tabIndex);
    openMain();
    ui.clearShown();
  }

  // Record n of the product file as it lies on disk.
  ProductRecord stored(int n) {
    std::vector<std::uint8_t> b = folder.bytes("KLVR952.DAT");
    if (n < 1 || b.size() < static_cast<std::size_t>(n) * 512) {
      ADD_FAILURE() << "no record " << n;
      return {};
    }
    return ProductRecord::decode(b.data() + (n - 1) * 512);
  }
  std::string storedCode(int n) { return toUtf8(trim(stored(n).Code.view())); }
  // Record n on disk is `want`, byte for byte.
  void expectRecord(int n, const ProductRecord& want) {
    std::vector<std::uint8_t> disk = folder.bytes("KLVR952.DAT");
    ASSERT_GE(disk.size(), static_cast<std::size_t>(n) * 512) << "no record " << n;
    std::uint8_t bytes[512];
    want.encode(bytes);
    for (int at = 0; at < 512; ++at)
      if (disk[(n - 1) * 512 + at] != bytes[at]) {
        ADD_FAILURE() << "record " << n << " differs at offset " << at;
        return;
      }
  }
  // The update date a save writes: the fixture's today.
  static void updatedToday(ProductRecord& r) {
    r.UpdatedDate = "05.03.2008";
    r.UpdatedDay = 5;
    r.UpdatedMonth = 3;
    r.UpdatedYear = 2008;
  }
  int recordsOnDisk() { return static_cast<int>(folder.bytes("KLVR952.DAT").size() / 512); }
  // The codes along the chain; every fault the chain checker finds fails the test.
  Strings chain() {
    Company c;
    ChainReport rep = checkChain(c.files());
    for (const std::string& p : rep.problems) ADD_FAILURE() << "chain: " << p;
    Strings codes;
    for (std::int16_t r : rep.order) codes.push_back(toUtf8(trim(c.record(r).Code.view())));
    return codes;
  }

  // Replaces the text of a box as the user does: into the box, select all, type.
  void fill(std::string_view name, std::string_view utf8) {
    ui.focus(name);
    box(name).SelStart = 0;
    box(name).SelLength = static_cast<int>(box(name).Text().size());
    ui.type(utf8);
  }
  // F1, the code, Enter, the name.
  void newEntry(std::string_view code, std::string_view name = "") {
    ui.key(ui::Key::F1);
    ui.type(code);
    ui.key(ui::Key::Enter);
    ui.type(name);
  }
  void chooseTab(int index) { ui.chooseTab("TabStrip1", index); }
  std::string focused() { return ui.focused(); }
  MsgIcon lastIcon() { return ui.messages().empty() ? MsgIcon::None : ui.messages().back().icon; }
};

}  // namespace kv::testing
