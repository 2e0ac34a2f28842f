// The data-file service window: one record of the product file at a time, by its record number, with the
// records its chain pointers name, so that a broken alphabetic chain can be seen and mended. It moves in
// record order and along the chain (each alphabetic step checks the chain and reports a numbered error),
// finds a record by code, saves a record's kind, code, name and pointers as typed, erases a deleted
// record's content, and rebuilds the product file with its index.
#pragma once

#include <cstdint>

#include "records/chain_check.h"
#include "records/product_file.h"
#include "records/product_record.h"
#include "ui/ui.h"

namespace kv {

class frmServis : public ui::Form {
 public:
  frmServis();

 private:
  ui::Frame FrameDat{*this, "FrameDat"};
  ui::Label lblKatsayi{FrameDat, "lblKatsayi"};
  ui::TextBox bilKatsayi{FrameDat, "bilKatsayi"};
  ui::Label lblKod{FrameDat, "lblKod"};
  ui::TextBox bilKod{FrameDat, "bilKod"};
  ui::Label lblPointer{FrameDat, "lblPointer"};
  ui::TextBox bilPointer{FrameDat, "bilPointer"};

  ui::Frame FrameArama{*this, "FrameArama"};
  ui::Label lblArananKod{FrameArama, "lblArananKod"};
  ui::TextBox bilArananKod{FrameArama, "bilArananKod"};
  ui::CommandButton cmdTamam{FrameArama, "cmdTamam"};

  ui::Frame FrameSay{*this, "FrameSay"};
  ui::Label lblCurrent{FrameSay, "lblCurrent"};
  ui::TextBox bilCurrent{FrameSay, "bilCurrent"};
  ui::Label lblPrevious{FrameSay, "lblPrevious"};
  ui::TextBox bilPrevious{FrameSay, "bilPrevious"};
  ui::Label lblNext{FrameSay, "lblNext"};
  ui::TextBox bilNext{FrameSay, "bilNext"};

  ui::Label lblOnceki{*this, "lblOnceki"};
  ui::TextBox bilOncekiKod{*this, "bilOncekiKod"};
  ui::TextBox bilOncekiAd{*this, "bilOncekiAd"};
  ui::Label lblSimdiki{*this, "lblSimdiki"};
  ui::TextBox bilSimdikiKod{*this, "bilSimdikiKod"};
  ui::TextBox bilSimdikiAd{*this, "bilSimdikiAd"};
  ui::Label lblSonraki{*this, "lblSonraki"};
  ui::TextBox bilSonrakiKod{*this, "bilSonrakiKod"};
  ui::TextBox bilSonrakiAd{*this, "bilSonrakiAd"};

  ui::Frame FrameSequental{*this, "FrameSequental"};
  ui::CommandButton cmdBirinci{FrameSequental, "cmdBirinci"};
  ui::CommandButton cmdOnceki{FrameSequental, "cmdOnceki"};
  ui::CommandButton cmdSonraki{FrameSequental, "cmdSonraki"};
  ui::CommandButton cmdSonuncu{FrameSequental, "cmdSonuncu"};

  ui::Frame FrameSy32{*this, "FrameSy32"};
  ui::CommandButton cmdSyBir{FrameSy32, "cmdSyBir"};
  ui::CommandButton cmdSyOnceki{FrameSy32, "cmdSyOnceki"};
  ui::CommandButton cmdSySonraki{FrameSy32, "cmdSySonraki"};
  ui::CommandButton cmdSySon{FrameSy32, "cmdSySon"};

  ui::CommandButton cmdKayitla{*this, "cmdKayitla"};
  ui::CommandButton cmdRebuild{*this, "cmdRebuild"};
  ui::CommandButton cmdArama{*this, "cmdArama"};
  ui::CommandButton cmdTrueSil{*this, "cmdTrueSil"};
  ui::CommandButton cmdYardim{*this, "cmdYardim"};
  ui::CommandButton cmdExit{*this, "cmdExit"};

  ProductFile Products;  // the product file and the window's own handle on the index, taken as they are
  // The records the file holds whole, counted at opening (1 for an empty file, so that record 1 can be
  // shown) and set by the rebuild to the records it wrote.
  std::int16_t RecordCount = 0;
  std::int16_t ServiceRecordNumber = 0;
  ProductRecord ServiceRecord;

  void layOut();
  void wireKeys();
  void openFiles();
  void countRecords();
  void Form_Load() override;
  void Form_Activate() override;
  void ShowServiceRecord();
  void GoToPointerRecord();
  void DispatchServiceKey(int KeyCode);

  void cmdBirinci_Click();
  void cmdOnceki_Click();
  void cmdSonraki_Click();
  void cmdSonuncu_Click();
  void cmdSyBir_Click();
  void cmdSyOnceki_Click();
  void cmdSySonraki_Click();
  void cmdSySon_Click();
  void StepCodeChain(ChainCommand ChainMode);
  void showChainButtons(ChainCommand command, const CheckedStep& step);
  void cmdYardim_Click();
  void cmdExit_Click();

  void cmdArama_Click();
  void SearchRecordByCode();
  void cmdKayitla_Click();
  void cmdTrueSil_Click();
  void cmdRebuild_Click();
  bool RebuildDataAndIndex();  // false when a file failed (the window has said so)
  void ShowRebuildResult();
  void showRecordBoxes();
  void showNeighbours();
  // The record-order "Önceki" and "Sonraki" can move only in a file of two records or more.
  bool canMove() const { return RecordCount >= 2; }
};

}  // namespace kv
