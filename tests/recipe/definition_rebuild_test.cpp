// The rebuild of ".REC" and ".LTD": the chains it keeps and where it cuts them, the products' new recipe
// heads, the backups, the head lookup against a scan from record 1, and files that fail or are missing.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "base/text.h"
#include "files/files.h"
#include "recipe/definition_rebuild.h"
#include "recipe/recipe_titles.h"
#include "support/company.h"
#include "support/file_faults.h"
#include "support/recipes.h"

namespace kv::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Files = std::map<std::string, Bytes>;

// A store with every kind of damage the rebuild meets: an erased third line (P), the chain of a deleted
// product (D), two products passing for one head by code (T and "t", both pointing at it), a head that
// points to itself (S), a last line that leads back into its chain (L), a head no RecipeNumber names (Z),
// a RecipeNumber naming another chain's second line (W), erased lines and an orphan chain.
class Rebuild : public ::testing::Test {
 protected:
  Rebuild() {
    products.open(company.name());
    for (const char* code : {"P", "D", "T", "t", "S", "L", "Z", "W"}) {
      ProductRecord r = makeProduct(code);
      r.RandomNumber = 7000 + company.count();
      company.append(r);
    }
    recipes.padTo(3);
    define(1, {"p1", "p2", "p3", "p4"});
    define(2, {"d1", "d2"});
    setRecipeNumber(4, define(3, {"t1", "t2"}));
    const std::int32_t s = define(5, {"s1", "s2"});
    edit(s, [&](RecipeRecord& l) { l.NextLine = s; });
    const std::int32_t l1 = define(6, {"l1", "l2", "l3"});
    edit(l1 + 2, [&](RecipeRecord& l) { l.NextLine = l1 + 1; });
    define(7, {"z1"});
    setRecipeNumber(7, 0);
    define(8, {"w1"});
    setRecipeNumber(8, 5);
    edit(6, [](RecipeRecord& l) { l.Deleted = "E"; });
    RecipeRecord orphan = recipes.makeLine(1, {"o1"});
    orphan.OwnerCode = "GONE";
    orphan.OwnerRecord = 99;
    orphan.Sequence = 1;
    recipes.append(orphan);
    ProductRecord gone = company.record(2);
    gone.Kind = -1;
    company.write(2, gone);
    recipes.close();
  }

  std::int32_t define(std::int16_t owner, const std::vector<std::string>& codes) {
    std::vector<RecipeFile::Line> lines;
    for (const auto& code : codes) lines.push_back({code, 2, 0.5f});
    return recipes.define(owner, lines);
  }
  template <class Change>
  void edit(std::int32_t n, Change change) {
    RecipeRecord r = recipes.line(n);
    change(r);
    recipes.write(n, r);
  }
  void setRecipeNumber(std::int16_t product, std::int32_t head) {
    ProductRecord r = company.record(product);
    r.RecipeNumber = head;
    company.write(product, r);
  }

  Files files() const {
    Files out;
    for (const auto& e : std::filesystem::directory_iterator(folder.path()))
      if (e.path().extension() != ".~LCK")  // lives while the company's files are open
        out[e.path().filename().string()] = folder.bytes(e.path().filename().string());
    return out;
  }

  // The chains of a new store as "OWNER: line line ...", checked on the way: each line linked to the next
  // record, Sequence 1, 2, ..., the owner fields those of the product, the line's own fields kept.
  std::vector<std::string> chains(const std::string& store) {
    const Bytes bytes = folder.bytes(store);
    std::vector<std::string> out;
    std::int16_t position = 0;
    for (std::size_t at = 0; at < bytes.size(); at += RecipeRecord::Length) {
      const RecipeRecord l = RecipeRecord::decode(bytes.data() + at);
      const ProductRecord owner = company.record(l.OwnerRecord);
      if (position++ == 0) out.push_back(toUtf8(trim(owner.Code.view())) + ":");
      out.back().append(" ").append(toUtf8(trim(l.Code.view())));
      EXPECT_EQ(l.Sequence, position);
      EXPECT_TRUE(l.OwnerCode == owner.Code && l.OwnerRandomNumber == owner.RandomNumber);
      EXPECT_TRUE(l.Total == 1 && l.Deleted == "H");
      if (l.NextLine == 0) position = 0;
      else EXPECT_EQ(l.NextLine, static_cast<std::int32_t>(at / RecipeRecord::Length) + 2);
    }
    EXPECT_EQ(position, 0) << "the last chain is not closed";
    return out;
  }

  // The analysis window's rebuild of `store`, its titles told.
  RebuildResult rebuild(RecipeFileKind store) {
    RebuildTitles titles(said, store, company.name());
    return RebuildDefinitionFile(store, products, said, titles);
  }

  TempFolder folder;
  Company company;
  ProductFile products;
  RecipeFile recipes{company};
  Transcript said;
};

TEST_F(Rebuild, BothStoresKeepTheChainsTheirHeadRulesFind) {
  const Bytes store = folder.bytes("KLVR952.REC");
  folder.write("KLVR952.RCT", Bytes(300, 7));

  EXPECT_EQ(rebuild(RecipeFileKind::Recipes).storeCount, 13);
  EXPECT_EQ(chains("KLVR952.REC"), (std::vector<std::string>{"P: p1 p2", "D: d1 d2", "T: t1 t2", "t: t1 t2", "S: s1",
                                                             "L: l1 l2 l3", "W: w1"}));
  const std::int32_t heads[] = {1, 3, 5, 7, 9, 10, 0, 13};
  for (std::int16_t n = 1; n <= 8; ++n) EXPECT_EQ(company.record(n).RecipeNumber, heads[n - 1]) << n;
  EXPECT_EQ(folder.bytes("952KLVR.REC"), store);
  EXPECT_EQ(folder.bytes("952KLVR.RCT"), Bytes(300, 7));
  EXPECT_EQ(files().size(), 5u);  // .DAT, .ABC, .REC, the two backups: no working copy, no temporary file
  ASSERT_EQ(said.events.size(), 14u);
  EXPECT_EQ(said.events[0], "title: Reçetelerin yenilenmesi işlemi başladı...");
  EXPECT_EQ(said.events[1], "title: KLVR952.DAT  Kayıt Numarası=1");
  EXPECT_EQ(std::vector<std::string>(said.events.begin() + 9, said.events.end()),
            (std::vector<std::string>{"title: Reçetelerin yenilenmesi işlemi devam ediyor...",
                                      "title: Reçetelerin yenilenmesi işlemi tamamlandı...", "beep",
                                      "box: 13 kayıt reçete tanım dosyasına kayıtlandı... |  KALVOR 952 Uyarlama 3.0",
                                      "title:  KALVOR 952 Uyarlama 3.0 BETA"}));
  EXPECT_EQ(said.icons, std::vector<MsgIcon>{MsgIcon::None});

  // The same lines as list definitions: every head is looked for, no product is written, and an empty
  // working copy goes without a backup.
  folder.write("KLVR952.LTD", store);
  folder.write("KLVR952.RCT", {});
  const Bytes productFile = folder.bytes("KLVR952.DAT");
  said.events.clear();
  EXPECT_EQ(rebuild(RecipeFileKind::ListDefinitions).storeCount, 14);
  EXPECT_EQ(chains("KLVR952.LTD"), (std::vector<std::string>{"P: p1 p2", "D: d1 d2", "T: t1 t2", "t: t1 t2", "S: s1",
                                                             "L: l1 l2 l3", "Z: z1", "W: w1"}));
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), productFile);
  EXPECT_EQ(folder.bytes("952KLVR.LTD"), store);
  EXPECT_EQ(folder.bytes("952KLVR.RCT"), Bytes(300, 7));
  EXPECT_FALSE(fileExists("KLVR952.RCT"));
  EXPECT_EQ(said.count("title: Listelerin yenilenmesi işlemi"), 3);
  EXPECT_EQ(said.count("box: 14 kayıt liste tanım dosyasına kayıtlandı..."), 1);
}

// Positions in a chain are 16-bit: a chain is copied up to its 32767th line. Its lines lie beyond 32767.
TEST_F(Rebuild, AChainIsCutAtTheLastPositionASequenceHolds) {
  RecipeFile more(company);
  more.padTo(40000);
  more.define(1, std::vector<RecipeFile::Line>(32769, {"X"}));
  more.close();
  EXPECT_EQ(rebuild(RecipeFileKind::Recipes).storeCount, 32767 + 11);  // P's chain is the long one now
  const RecipeRecord last = openRecipeSideFile(company.name(), RecipeFileKind::Recipes).get<RecipeRecord>(32767);
  EXPECT_EQ(last.Sequence, 32767);
  EXPECT_EQ(last.NextLine, 0);
}

TEST_F(Rebuild, AMissingStoreIsToldAndNothingChanges) {
  const Files before = files();
  EXPECT_EQ(rebuild(RecipeFileKind::ListDefinitions).outcome, RebuildOutcome::StoreMissing);
  EXPECT_EQ(files(), before);
  EXPECT_EQ(said.events, (std::vector<std::string>{"title: Listelerin yenilenmesi işlemi başladı...", "beep",
                                                   "box: KLVR952.LTD dosyası bulunamadı!... | ! DOSYA HATASI !",
                                                   "title:  KALVOR 952 Uyarlama 3.0 BETA"}));
}

// A file that fails before the new store's intent is ready: the store, the products, the working copy and
// the backups are as they were, the user is told which file failed, and no count is given.
TEST_F(Rebuild, AFailingFileLeavesEverythingAsItWas) {
  struct Case {
    FileOp op;
    const char* file;
    const char* told;
  };
  const Case cases[] = {
      {FileOp::Write, "KLVR952.REC.~new", "\"KLVR952.REC\" dosyasına yazılamadı!..."},
      {FileOp::Copy, "KLVR952.RCT.~old", "\"952KLVR.RCT\" dosyası kopyalanamadı!..."},
      {FileOp::Write, "KLVR952.DAT", "\"KLVR952.DAT\" dosyasına yazılamadı!..."},
      {FileOp::Write, "KLVR952.~INT", "\"KLVR952.~INT\" dosyasına yazılamadı!..."},
  };
  folder.write("KLVR952.RCT", Bytes(128, 3));
  for (const Case& c : cases) {
    folder.write("952KLVR.REC", {5});
    folder.write("952KLVR.RCT", {6});
    const Files before = files();
    said.events.clear();
    {
      FailOn fault(c.op, c.file, EIO, 1, 1);
      EXPECT_EQ(rebuild(RecipeFileKind::Recipes).outcome, RebuildOutcome::Failed) << c.file;
    }
    EXPECT_EQ(files(), before) << c.file;
    EXPECT_EQ(said.count(std::string("box: ") + c.told), 1) << c.file;
    EXPECT_EQ(said.count("box"), 1) << c.file;
  }
}

// The index finds what a scan from record 1 finds, on random stores whose lines share codes (in both
// letter cases, with blanks), record numbers and random numbers.
TEST(RebuildHeadsProperty, FindsTheFirstPassingLineInRecordOrder) {
  std::mt19937 rng(952);
  const char* codes[] = {"A", "a", " A", "B", "İ", "i", "I", "ı", "ÇÖ", "çö", ""};
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  for (int round = 0; round < 200; ++round) {
    std::vector<RecipeRecord> store(static_cast<std::size_t>(pick(60)));
    RebuildHeads heads;
    for (std::size_t i = 0; i < store.size(); ++i) {
      RecipeRecord& l = store[i];
      l.Deleted = pick(5) ? "H" : "E";
      l.Sequence = static_cast<std::int16_t>(pick(3));
      l.OwnerCode = w(codes[pick(11)]);
      l.OwnerRecord = static_cast<std::int16_t>(pick(5));
      l.OwnerRandomNumber = pick(3);
      heads.add(static_cast<std::int32_t>(i + 1), l);
    }
    for (int k = 0; k < 20; ++k) {
      ProductRecord owner;
      owner.Code = w(codes[pick(11)]);
      owner.RandomNumber = pick(3);
      const auto record = static_cast<std::int16_t>(pick(5));
      std::int32_t scanned = 0;
      for (std::size_t i = 0; i < store.size() && !scanned; ++i)
        if (headsChainForRebuild(store[i], record, owner)) scanned = static_cast<std::int32_t>(i + 1);
      ASSERT_EQ(heads.first(record, owner), scanned) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace kv::testing
