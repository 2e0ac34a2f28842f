// The report window: the recipe report the report dialog chose, shown twenty rows a page and paged with
// the keyboard. It has no controls: every page is drawn on the window's own surface, in millimetres, from
// the working file read again at every paint. Closing it brings the report dialog back.
#pragma once

#include <string>

#include "reports/screen_report.h"
#include "ui/ui.h"

namespace kv {

class frmRList : public ui::Form {
 public:
  frmRList();

 private:
  ScreenPaging Paging;
  double LineHeight = 0;    // mm: one text line of the window's font and 1 mm, the pitch of the rows
  double HeaderHeight = 0;  // mm: where the second row of a page starts
  std::string DateText;     // the working date at the showing, which heads every page

  void Form_Load() override;
  void Form_Activate() override;
  void Form_Click() override;
  void Form_DblClick() override;
  void Form_KeyDown(int& KeyCode, int Shift) override;
  void Form_KeyPress(int& KeyAscii) override;
  void Form_Unload(int& Cancel) override;
  void ShowListKeyHelp();

  void drawPage(ReportKind kind);
  void drawHeader(const ScreenLayout& layout, const ScreenPage& page);
  void drawHeadings(const ScreenLayout& layout);
  void drawGrid(const ScreenLayout& layout, int rows);
  void drawRow(const ScreenLayout& layout, const std::vector<std::string>& texts);
  void drawGrandTotal(float total);
};

}  // namespace kv
