// The exchange-rate table "<company>.DVZ": the rates of one date per record, in the order in which the
// dates were first saved. Nothing sorts it; nothing but the rate window reads it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "files/files.h"
#include "product/date_entry.h"
#include "records/product_record.h"

namespace kv {

class RatesTable {
 public:
  // Opens the table, creating it empty when missing. Throws FileError.
  void open(std::string_view company);
  void close() { file_.close(); }
  bool isOpen() const { return file_.isOpen(); }

  std::int16_t count() const { return static_cast<std::int16_t>(file_.count()); }
  ExchangeRateRecord read(std::int16_t n) const { return file_.get<ExchangeRateRecord>(n); }
  // The first record of that date; 0 for none.
  std::int16_t find(const RateDay& day) const;
  // Writes record n (1..count + 1), as one command on the company's files. Throws FileError.
  void write(std::int16_t n, const ExchangeRateRecord& rec);

  // Rewrites the table without record n (the records after it move one place down); the old table
  // becomes the backup "952KLVR.DVZ". When that fails the table keeps its old content and the FileError
  // names the file. The table is open again either way.
  void remove(std::int16_t n);

 private:
  std::string name() const { return company_ + ".DVZ"; }

  FileHandle file_;
  std::string company_;
};

// A rate as the user typed it, in the window's currency text or as a plain number ("3.000" is three
// thousand, as the window shows it), rounded to two decimals; nothing when the text holds no number (or
// one too large to keep).
std::optional<float> readRate(std::string_view text);

}  // namespace kv
