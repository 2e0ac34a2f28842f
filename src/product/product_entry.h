// The main window's entry logic, apart from the window: a product record as the texts of the entry boxes
// and back, what the user changed since a record was shown, and what saving the boxes means. The window
// puts the texts into its boxes and turns every answer into boxes, beeps and messages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/dates.h"
#include "base/messages.h"
#include "records/product_file.h"

namespace kv {

// The entry boxes: their texts, the cost type chosen (1 to 3, 0 for none) and the picture box.
struct EntryBoxes {
  std::string updated;  // the date of the last save, as its label shows it; never read back
  std::string code, name, description, unit, group;
  std::string cost, costDate, documentNo;  // the cost boxes, empty while the costs are not shown
  int costType = 0;
  std::string specialCode, coefficient, supplier, dimensions, weight;
  bool hasPicture = false;
  std::string specialNote;
};

// Why a save writes nothing; the window says why in its own words, except for NoCode (blanks at most in
// the code box). AllTab: a record's kind is the tab it is saved on. ChainLocked: the code check's walk does
// not end. CodeTaken: a new entry's code is a live record's; CodeOfAnother: an edited code is another live
// record's, and the edits are to be discarded. FileFull: a new record would be record 32768.
enum class SaveRefusal {
  None, NoCode, AllTab, ChainLocked, CodeTaken, CodeOfAnother, NoSuchRecord, FileFull,
  CostTooLarge, CoefficientTooLarge,  // a number typed does not fit its field
};

// What saving the boxes means, as the code check decides before anything is written.
struct SaveCheck {
  enum class Kind { New, Edit, CodeChange, Refused };  // CodeChange: an edit the user is asked about first
  Kind kind = Kind::Refused;
  SaveRefusal refusal = SaveRefusal::None;
};

// The record a save writes, as the boxes make it: the record edited, or a new one after the last.
struct EntryRecord {
  SaveRefusal refusal = SaveRefusal::None;
  std::int16_t number = 0;
  ProductRecord content;
};

class ProductEntry {
 public:
  static EntryBoxes boxesOf(const ProductRecord& rec, bool withCosts);
  // The code as it is checked, stored and linked: trimmed, cut to the field, trimmed again.
  static std::string codeOf(std::string_view codeBox);

  // The boxes of a record put on the screen. What they show is remembered: a number box still showing it
  // keeps the stored value, which the seven digits of the shown number may not hold exactly.
  EntryBoxes show(const ProductRecord& rec, bool withCosts);
  void forgetShown();  // nothing is shown: an empty product file

  bool newEntry() const { return newEntry_; }
  void beginNewEntry() { newEntry_ = true; }
  void dropNewEntry() { newEntry_ = false; }
  void codeTyped() { codeChanged_ = true; }
  void endEditing() { newEntry_ = codeChanged_ = false; }

  SaveCheck check(const ProductFile& products, std::string_view codeBox, int tab, std::int16_t current) const;
  // A new record gets today's dates, the working date as its cost date and an identity of its own.
  EntryRecord build(const ProductFile& products, const EntryBoxes& typed, int tab, std::int16_t current,
                    Date workingDate) const;
  // Writes what build made, with the chain kept in step; a saved record ends the editing.
  ProductFile::SaveResult write(ProductFile& products, const EntryRecord& record, MessageSink* sink);

 private:
  bool newEntry_ = false;
  bool codeChanged_ = false;
  std::string shownCode_;
  float shownCost_ = 0;
  std::string shownCostText_;
  std::string shownCoefficientText_;
};

}  // namespace kv
