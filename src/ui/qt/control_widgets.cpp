#include "ui/qt/control_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>

#include "ui/combobox.h"
#include "ui/controls.h"
#include "ui/flexgrid.h"
#include "ui/qt/form_widget.h"
#include "ui/qt/grid_widget.h"
#include "ui/qt/key_map.h"
#include "ui/tabstrip.h"
#include "ui/textbox.h"

namespace kv::ui::desktop {

namespace {

// Captions are plain text: "&" is no mnemonic, a carriage return breaks the line.
QString captionText(const std::string& caption, bool mnemonics) {
  QString s = toQString(caption);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
  if (mnemonics) s.replace('&', QStringLiteral("&&"));
  return s;
}

void prepareLineEdit(QLineEdit* edit) {
  edit->setDragEnabled(false);
  edit->setAcceptDrops(false);
  edit->setContextMenuPolicy(Qt::NoContextMenu);
}

void syncEdit(QLineEdit* edit, const std::string& text, int selStart, int selLength) {
  const QString t = toQString(text);
  if (edit->text() != t) edit->setText(t);
  if (selLength > 0)
    edit->setSelection(selStart, selLength);
  else if (edit->cursorPosition() != selStart || edit->hasSelectedText())
    edit->setCursorPosition(selStart);
}

Qt::Alignment horizontal(int alignment) {
  return alignment == 1 ? Qt::AlignRight : alignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
}

}  // namespace

QWidget* createControlWidget(Control& control, QWidget* parent) {
  QWidget* w = nullptr;
  switch (control.kind()) {
    case ControlKind::Label: {
      auto* l = new QLabel(parent);
      l->setTextFormat(Qt::PlainText);
      l->setWordWrap(true);
      w = l;
      break;
    }
    case ControlKind::TextBox: {
      auto* e = new QLineEdit(parent);
      prepareLineEdit(e);
      w = e;
      break;
    }
    case ControlKind::CommandButton: {
      auto* b = new QPushButton(parent);
      b->setAutoDefault(false);
      b->setDefault(false);
      w = b;
      break;
    }
    case ControlKind::OptionButton: {
      auto* r = new QRadioButton(parent);
      r->setAutoExclusive(false);
      w = r;
      break;
    }
    case ControlKind::CheckBox:
      w = new QCheckBox(parent);
      break;
    case ControlKind::Frame:
      w = new QGroupBox(parent);
      break;
    case ControlKind::ComboBox: {
      auto* c = new QComboBox(parent);
      c->setEditable(true);
      c->setInsertPolicy(QComboBox::NoInsert);
      c->setCompleter(nullptr);
      c->setMaxVisibleItems(12);
      prepareLineEdit(c->lineEdit());
      w = c;
      break;
    }
    case ControlKind::TabStrip: {
      auto* t = new QTabWidget(parent);
      t->tabBar()->setDrawBase(true);
      w = t;
      break;
    }
    case ControlKind::PictureBox: {
      auto* l = new QLabel(parent);
      l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      w = l;
      break;
    }
    case ControlKind::FlexGrid:
      w = new GridWidget(static_cast<FlexGrid&>(control), parent);
      break;
    case ControlKind::Timer:
      return nullptr;
  }
  const ControlKind k = control.kind();
  const bool takesFocus = k != ControlKind::Label && k != ControlKind::Frame && k != ControlKind::PictureBox;
  w->setFocusPolicy(takesFocus ? Qt::StrongFocus : Qt::NoFocus);
  return w;
}

void syncControlWidget(Control& control, QWidget* w) {
  const QSignalBlocker block(w);
  w->setGeometry(control.Left(), control.Top(), control.Width(), control.Height());
  w->setEnabled(control.Enabled());
  w->setToolTip(toQString(control.ToolTipText()));
  w->setFont(qtFont(control.font()));
  switch (control.kind()) {
    case ControlKind::Label: {
      auto& c = static_cast<Label&>(control);
      auto* l = static_cast<QLabel*>(w);
      l->setText(captionText(c.Caption(), false));
      l->setAlignment(horizontal(c.Alignment()) | Qt::AlignTop);
      l->setFrameShape(c.BorderStyle() == 1 ? QFrame::Box : QFrame::NoFrame);
      break;
    }
    case ControlKind::TextBox: {
      auto& c = static_cast<TextBox&>(control);
      auto* e = static_cast<QLineEdit*>(w);
      syncEdit(e, c.Text(), c.SelStart(), c.SelLength());
      e->setAlignment(horizontal(c.Alignment()) | Qt::AlignVCenter);
      break;
    }
    case ControlKind::CommandButton: {
      auto& c = static_cast<CommandButton&>(control);
      auto* b = static_cast<QPushButton*>(w);
      b->setText(captionText(c.Caption(), true));
      // Drawn as the default button; Enter itself comes to the model like every key.
      b->setDefault(c.Default());
      break;
    }
    case ControlKind::OptionButton: {
      auto& c = static_cast<OptionButton&>(control);
      auto* r = static_cast<QRadioButton*>(w);
      r->setText(captionText(c.Caption(), true));
      r->setChecked(c.Value());
      break;
    }
    case ControlKind::CheckBox: {
      auto& c = static_cast<CheckBox&>(control);
      auto* b = static_cast<QCheckBox*>(w);
      b->setText(captionText(c.Caption(), true));
      b->setTristate(c.Value() == 2);
      b->setCheckState(c.Value() == 1 ? Qt::Checked : c.Value() == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
      break;
    }
    case ControlKind::Frame:
      static_cast<QGroupBox*>(w)->setTitle(captionText(static_cast<Frame&>(control).Caption(), true));
      break;
    case ControlKind::ComboBox: {
      auto& c = static_cast<ComboBox&>(control);
      auto* box = static_cast<QComboBox*>(w);
      const QSignalBlocker blockEdit(box->lineEdit());
      bool same = box->count() == c.ListCount();
      for (int i = 0; same && i < c.ListCount(); ++i) same = box->itemText(i) == toQString(c.List(i));
      if (!same) {
        box->clear();
        for (int i = 0; i < c.ListCount(); ++i) box->addItem(toQString(c.List(i)));
      }
      box->setCurrentIndex(c.ListIndex());
      syncEdit(box->lineEdit(), c.Text(), c.SelStart(), c.SelLength());
      break;
    }
    case ControlKind::TabStrip: {
      auto& c = static_cast<TabStrip&>(control);
      auto* t = static_cast<QTabWidget*>(w);
      const QSignalBlocker blockBar(t->tabBar());
      while (t->count() > c.TabCount()) delete t->widget(t->count() - 1);
      while (t->count() < c.TabCount()) t->addTab(new QWidget, QString());
      for (int i = 1; i <= c.TabCount(); ++i) t->setTabText(i - 1, captionText(c.TabCaption(i), true));
      if (c.SelectedIndex() > 0) t->setCurrentIndex(c.SelectedIndex() - 1);
      break;
    }
    case ControlKind::PictureBox: {
      auto& c = static_cast<PictureBox&>(control);
      auto* l = static_cast<QLabel*>(w);
      const QString path = QString::fromStdString(c.Picture());
      if (l->property("kvPicture").toString() != path) {
        l->setProperty("kvPicture", path);
        l->setPixmap(path.isEmpty() ? QPixmap() : QPixmap(path));
      }
      break;
    }
    case ControlKind::FlexGrid:
      static_cast<GridWidget*>(w)->sync();
      break;
    case ControlKind::Timer:
      break;
  }
  w->setVisible(control.Visible());  // inside a hidden frame or window it stays hidden with it
}

}  // namespace kv::ui::desktop
