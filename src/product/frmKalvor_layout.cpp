// The main window's controls: places, captions, tool tips, and the wiring of their events.
#include "product/frmKalvor.h"

namespace kv {

using namespace ui;

namespace {

constexpr int kRow = 32;

void placeField(Label& label, TextBox& box, int x, int y, int labelWidth, int boxWidth, const std::string& caption,
                const std::string& toolTip) {
  label.Move(x, y + 4, labelWidth, 22);
  label.Caption = caption;
  box.Move(x + labelWidth, y, boxWidth, 26);
  box.ToolTipText = toolTip;
}

}  // namespace

void frmKalvor::layOut() {
  Move(0, 0, 940, 560);

  lblFirma.Move(20, 16, 300, 26);
  lblFirma.FontBold = true;
  lblFirma.FontSize = 12;
  FrameTarih.Move(690, 4, 230, 48);
  FrameTarih.Caption = "Son Kayıt Tarihi"_w;
  LblTarih.Move(10, 20, 210, 22);
  LblTarih.ToolTipText = "Son Kayıt Tarihi"_w;

  TabStrip1.Move(20, 58, 900, 30);
  for (const char* caption : {"Ürün", "Parça", "Yarı Mamul", "Ham Madde", "Gurup", "Kit", "Kaynak", "Tümü"})
    TabStrip1.AddTab(w(caption));

  // Left column: identity of the product, and its cost.
  const int lx = 20, lw = 110, bw = 300;
  placeField(lblMalKodu, bilKod, lx, 100, lw, bw, "Ürün Kodu :"_w, "Ürün Kodu"_w);
  placeField(lblMalAdi, bilAd, lx, 100 + kRow, lw, bw, "Ürün Adı :"_w, "Ürün Adı"_w);
  placeField(lblAciklama, bilAciklama, lx, 100 + 2 * kRow, lw, bw, "Açıklama :"_w, "Ürün Adı Açıklaması (2. Adı)"_w);
  placeField(lblBirim, bilBirim, lx, 100 + 3 * kRow, lw, 100, "Birim :"_w, "Birim"_w);
  placeField(lblUrunGrubu, bilUrunGrubu, lx, 100 + 4 * kRow, lw, bw, "Ürün Gurubu :"_w,
             "Ürünün Ait Olduğu Gurup"_w);

  FrameMaliyet.Move(lx, 270, 420, 150);
  FrameMaliyet.Caption = "Maliyet"_w;
  placeField(lblMaliyet, bilMaliyet, 10, 24, 100, 200, "Maliyet :"_w, "Ürün Maliyeti"_w);
  lblTipi.Move(10, 60, 100, 22);
  lblTipi.Caption = "Tipi :"_w;
  optSatinAlma.Move(110, 58, 100, 24);
  optSatinAlma.Caption = "Satın Alma"_w;
  optSatinAlma.ToolTipText = "Satın alınan ürün"_w;
  optYaptirma.Move(212, 58, 96, 24);
  optYaptirma.Caption = "Yaptırma"_w;
  optYaptirma.ToolTipText = "Yaptırılan ürün"_w;
  optKalvor.Move(310, 58, 90, 24);
  optKalvor.Caption = "Kalvor"_w;
  optKalvor.ToolTipText = "Kalvor "_w;
  placeField(lblMTarih, bilMTarih, 10, 88, 100, 120, "Tarih :"_w, "Maliyetin Giriş (Hesap) Tarihi"_w);
  placeField(lblEvrakNo, bilEvrakNo, 10, 118, 100, 120, "Evrak No :"_w, "Maliyetle İlişkili Evrak Numarası"_w);

  // Right column: the product's other attributes.
  const int rx = 470, rw = 110, rbw = 330;
  placeField(lblOzelKod, bilOzelKod, rx, 100, rw, 80, "Özel Kod :"_w, "Özel Kod (Ürünü kategorize eden kod)"_w);
  placeField(lblKatsayi, bilKatsayi, rx, 100 + kRow, rw, 120, "Katsayı :"_w, "Ürünün Fiyat-Maliyet Katsayısı"_w);
  placeField(lblTedarikci, bilTedarikci, rx, 100 + 2 * kRow, rw, rbw, "Tedarikçi :"_w, "Ürünün Tedarikçisi"_w);
  placeField(lblBoyutlar, bilBoyutlar, rx, 100 + 3 * kRow, rw, rbw, "Boyutlar :"_w,
             "Ürünün Boyutları (U x G x Y mm)"_w);
  placeField(lblAgirlik, bilAgirlik, rx, 100 + 4 * kRow, rw, 160, "Ağırlık :"_w, "Ürünün Ağırlığı (kg, gr, ton)"_w);
  chkResimVar.Move(rx + rw, 100 + 5 * kRow, 160, 24);
  chkResimVar.Caption = "Resimli"_w;
  chkResimVar.ToolTipText = "Ürünün İmalat Resmi Var işareti"_w;
  placeField(lblOzelNot, bilOzelNot, rx, 100 + 6 * kRow, rw, rbw, "Özel Not :"_w, "Ürünle ilgili Özel Açıklama"_w);

  // Browsing: the four steps and the order they follow.
  FrameSira.Move(rx, 330, 450, 90);
  FrameSira.Caption = "Kayıtlar"_w;
  int bx = 10;
  for (auto [button, caption] : {std::pair{&cmdBirinci, "İlk Kayıt"}, std::pair{&cmdOnceki, "Önceki"},
                                 std::pair{&cmdSonraki, "Sonraki"}, std::pair{&cmdSonuncu, "Son Kayıt"}}) {
    button->Move(bx, 22, 100, 28);
    button->Caption = w(caption);
    bx += 108;
  }
  OptAlfabetik.Move(10, 58, 160, 24);
  OptAlfabetik.Caption = "Alfabetik Sıra"_w;
  OptKayitsal.Move(180, 58, 160, 24);
  OptKayitsal.Caption = "Kayıt Sırası"_w;
  OptKayitsal.Value = true;  // the order the window opens in, chosen before its click is wired

  // Commands, in two rows.
  const std::pair<CommandButton*, const char*> commands[] = {
      {&cmdYeni, "Yeni "},       {&cmdKayitla, "Kayıtla"},      {&cmdAraBul, "Arama "},  {&cmdSil, "Sil"},
      {&cmdAnaliz, "Kalvor Analizi"}, {&cmdIslemler, "İşlemler"}, {&cmdListe, "Liste"},   {&cmdServis, "SERVİS"},
      {&cmdExport, "Excel'e"},   {&cmdImport, "Excel'den"},     {&cmdYardim, "Yardım"},  {&cmdCikis, "Çıkış"}};
  for (int i = 0; i < 12; ++i) {
    commands[i].first->Move(20 + (i % 6) * 150, 440 + (i / 6) * 44, 140, 34);
    commands[i].first->Caption = w(commands[i].second);
  }
}

void frmKalvor::wireEvents() {
  TabStrip1.Click = [this] { TabStrip1_Click(); };
  TabStrip1.KeyDown = [this](int& k, int s) { TabStrip1_KeyDown(k, s); };
  TabStrip1.KeyPress = [this](int& k) { TabStrip1_KeyPress(k); };
  bilKod.Change = [this] { bilKod_Change(); };
  cmdYeni.Click = [this] { cmdYeni_Click(); };
  cmdKayitla.Click = [this] { cmdKayitla_Click(); };
  cmdAraBul.Click = [this] { cmdAraBul_Click(); };
  cmdSil.Click = [this] { cmdSil_Click(); };
  cmdBirinci.Click = [this] { cmdBirinci_Click(); };
  cmdOnceki.Click = [this] { cmdOnceki_Click(); };
  cmdSonraki.Click = [this] { cmdSonraki_Click(); };
  cmdSonuncu.Click = [this] { cmdSonuncu_Click(); };
  OptAlfabetik.Click = [this] { OptAlfabetik_Click(); };
  OptKayitsal.Click = [this] { OptKayitsal_Click(); };
  cmdAnaliz.Click = [this] { cmdAnaliz_Click(); };
  cmdIslemler.Click = [this] { cmdIslemler_Click(); };
  cmdListe.Click = [this] { cmdListe_Click(); };
  cmdServis.Click = [this] { cmdServis_Click(); };
  cmdExport.Click = [this] { cmdExport_Click(); };
  cmdImport.Click = [this] { cmdImport_Click(); };
  cmdYardim.Click = [this] { cmdYardim_Click(); };
  cmdCikis.Click = [this] { cmdCikis_Click(); };
}

}  // namespace kv
