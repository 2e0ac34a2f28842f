// Test support: company files in a temporary folder, built through the real file layer and the real
// chain insertion, so that a test starts from sound files in a few lines. Texts given here are UTF-8.
#pragma once

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "base/messages.h"
#include "records/alphabetic_chain.h"
#include "records/product_record.h"

namespace kv::testing {

// A fresh folder under the system's temporary folder, made the working folder; removed (with every file
// the layer still holds closed) when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // The bytes of a file of the folder (UTF-8 name); empty when missing.
  std::vector<std::uint8_t> bytes(const std::string& utf8Name) const;
  void write(const std::string& utf8Name, const std::vector<std::uint8_t>& content) const;

 private:
  std::filesystem::path path_;
};

// A product record as a test wants it: code, name (UTF-8) and kind; everything else blank or zero.
ProductRecord makeProduct(std::string_view codeUtf8, std::string_view nameUtf8 = "", int kind = 1);

// A product whose fields that the main window shows each hold a value of their own: code "  KASNAK-12  ",
// "Parça" (kind 2), a cost of 12,5 EUR of type 2, updated on 31.12.2009, a picture mark.
ProductRecord makeFilledProduct();

// A random code (UTF-8) of 1 to 6 pieces: letters of both cases with the Turkish ones, digits, signs and
// inner blanks; stored trimmed, as the save stores codes. Many codes repeat over a few hundred draws.
std::string randomTurkishCode(std::mt19937& rng);

// A code of `prefix` and the number `n`: numbered("C", 12) is "C12".
std::string numbered(std::string_view prefix, long long n);

// The product file and alphabetic index of one company, open on file numbers of their own.
class Company {
 public:
  explicit Company(std::string nameUtf8 = "KLVR952");
  ~Company();
  Company(const Company&) = delete;
  Company& operator=(const Company&) = delete;

  // Appends a product and links it with the real insertion (quietly). Returns its record number.
  std::int16_t add(std::string_view codeUtf8, std::string_view nameUtf8 = "", int kind = 1);
  // Appends a record as given, not linked.
  std::int16_t append(const ProductRecord& rec);
  // Several at once: {code, name, kind}.
  struct Spec {
    Spec(std::string c, std::string n = "", int k = 1) : code(std::move(c)), name(std::move(n)), kind(k) {}
    std::string code;
    std::string name;
    int kind;
  };
  void addAll(const std::vector<Spec>& specs);

  ProductRecord record(std::int16_t n) const;
  void write(std::int16_t n, const ProductRecord& rec);
  IndexEntry entry(int bucket) const;
  std::int16_t count() const;

  int dataFile() const { return dataFile_; }
  int indexFile() const { return indexFile_; }
  ChainFiles files() const { return {dataFile_, indexFile_, ChainKey::Code}; }
  const std::string& name() const { return name_; }  // Windows-1254
  void close();

 private:
  std::string name_;
  int dataFile_ = 0;
  int indexFile_ = 0;
};

// Records every beep and message box; answers message boxes from a script (then with `fallback`).
class RecordingSink : public MessageSink {
 public:
  struct Shown {
    std::string text;  // UTF-8, for readable assertions
    std::string title;
    MsgButtons buttons;
    MsgIcon icon;
  };
  void beep() override { ++beeps; }
  MsgAnswer message(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) override;

  int beeps = 0;
  std::vector<Shown> shown;
  std::vector<MsgAnswer> script;
  MsgAnswer fallback = MsgAnswer::Ok;
};

// The chain checker: one doubly linked list in key order over every linkable record, its ends pointing to
// themselves, every bucket's First and Last right, deleted and unlinkable records out of the chain.
struct ChainReport {
  bool sound = true;
  std::vector<std::string> problems;
  std::vector<std::int16_t> order;  // the records along the chain
};
ChainReport checkChain(const ChainFiles& files);

}  // namespace kv::testing
