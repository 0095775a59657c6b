#include <gtest/gtest.h>

#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QToolTip>

#include "components/AnsiMemo.h"
#include "dialog_test_util.h"
#include "dialogs/DialogControls.h"
#include "dialogs/abstract_form.h"
#include "dialogs/frmCustomizeDB.h"
#include "dialogs/frmEditCategories.h"
#include "dialogs/frmRecordProp.h"
#include "dialogs/frmSelectCategory.h"
#include "dialogs/frmStringEdit.h"
#include "platform/AnsiText.h"
#include "platform/ScriptedPrompts.h"

namespace {

TEST(LimitedEdit, LongValueStaysWholeAndNoEditGrowsIt) {
  TLimitedEdit edit(5);
  edit.SetValue("abcdefgh");
  EXPECT_EQ(edit.text(), "abcdefgh");
  edit.setCursorPosition(8);
  QTest::keyClicks(&edit, "x");
  EXPECT_EQ(edit.text(), "abcdefgh");
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.text(), "abcdefg");

  edit.SetValue("ab");
  edit.setCursorPosition(1);
  edit.insert("12345");  // a paste is cut to the room left
  EXPECT_EQ(edit.text(), "a123b");
  edit.SetBytes("\x80\xFF");
  EXPECT_EQ(edit.Bytes(), "\x80\xFF");
}

// Pasted text keeps every character Windows-1252 holds; each other one
// becomes '?' with one beep. A typed one is still refused.
TEST(AnsiInputs, PasteReplacesWhatWindows1252CannotHoldWithOneBeep) {
  TScriptedPrompts prompts;
  const QString pasted = QString::fromUtf8("\u03a9mega \u4e2d\u6587 ok \U0001F600\u20ac");
  const QString kept = QString::fromUtf8("?mega ?? ok ?\u20ac");

  TLimitedEdit edit(112);
  QApplication::clipboard()->setText(pasted);
  QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit.text(), kept);
  EXPECT_EQ(prompts.Beeps(), 1);
  QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString::fromUtf8("\u03a9"),
                      Qt::NoModifier);
  EXPECT_EQ(edit.text(), kept);
  QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit.text(), kept + kept);

  TAnsiMemo memo;
  memo.SetMaxLength(kMaxNotes);
  QApplication::clipboard()->setText(pasted + "\n" + pasted);
  memo.paste();
  EXPECT_EQ(memo.Text(), QStringToAnsi(kept) + "\r\n" + QStringToAnsi(kept));
  EXPECT_EQ(prompts.Beeps(), 3);
  QApplication::clipboard()->setText("plain");
  memo.paste();
  EXPECT_EQ(prompts.Beeps(), 3);
}

TEST(AbstractForm, LoadedGivesTheTooltipFontAndButtonTextColourButKeepsDisabledGrey) {
  QWidget form;
  QLabel* label = new QLabel("x", &form);
  QPalette start = form.palette();
  start.setColor(QPalette::ButtonText, QColor(10, 20, 30));
  start.setColor(QPalette::WindowText, QColor(200, 0, 0));
  form.setPalette(start);
  TAbstractForm::Loaded(&form);
  EXPECT_EQ(form.font(), QToolTip::font());
  EXPECT_EQ(label->font(), QToolTip::font());
  EXPECT_EQ(form.palette().color(QPalette::Active, QPalette::WindowText), QColor(10, 20, 30));
  EXPECT_EQ(form.palette().color(QPalette::Active, QPalette::Text), QColor(10, 20, 30));
  EXPECT_EQ(label->palette().color(QPalette::Active, QPalette::WindowText), QColor(10, 20, 30));
  EXPECT_EQ(form.palette().color(QPalette::Disabled, QPalette::WindowText),
            start.color(QPalette::Disabled, QPalette::WindowText));
  TAbstractForm::Loaded(nullptr);  // harmless
}

// Every control lies inside the dialog, overlaps no other and shows its whole
// caption or line of text.
void ExpectNothingClipped(QDialog& dialog, const QString& pictureSuffix) {
  SCOPED_TRACE(dialog.metaObject()->className());
  const QRect client = dialog.rect();
  const QList<QWidget*> children = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (QWidget* child : children) {
    const QString name = child->metaObject()->className();
    SCOPED_TRACE(name.toStdString());
    EXPECT_TRUE(client.contains(child->geometry()));
    for (QWidget* other : children) {
      if (other != child && other->isVisibleTo(&dialog) && child->isVisibleTo(&dialog)) {
        EXPECT_FALSE(child->geometry().intersects(other->geometry()))
            << other->metaObject()->className();
      }
    }
    const QFontMetrics fm(child->font());
    if (auto* label = qobject_cast<QLabel*>(child)) {
      EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
      EXPECT_GE(label->height(), fm.height()) << label->text().toStdString();
    } else if (auto* button = qobject_cast<QPushButton*>(child)) {
      QString text = button->text();
      text.remove('&');
      EXPECT_LT(fm.horizontalAdvance(text) + 8, button->width()) << text.toStdString();
      EXPECT_GE(button->height(), fm.height() + 8);
    } else if (qobject_cast<QLineEdit*>(child)) {
      EXPECT_GE(child->height(), fm.height() + 7);
    }
  }
  if (const QByteArray dir = qgetenv("VORNIK_GRAB_DIR"); !dir.isEmpty()) {
    dialog.show();
    QApplication::processEvents();
    dialog.grab().save(QString::fromLocal8Bit(dir) + "/" + dialog.metaObject()->className() +
                       pictureSuffix + ".png");
    dialog.hide();
  }
}

void ExpectDialogsWhole(const QString& pictureSuffix) {
  TListDBData doc;
  AddCategories(doc, {"Business", "Personal", "QuickList"});
  TRecPropDialog rec(nullptr);
  rec.SetupDialog("Mmmmmmmmmmmmmmmm", "WWWWWWWWWWWWWWWW", doc);
  rec.setWindowTitle("Edit record");
  rec.Field1ValueEdit->setText("Bread");
  rec.Field2ValueEdit->setText("2 loaves");
  rec.NoteMemo->SetText("Wholemeal\r\nfrom the baker on the corner, not the supermarket one");
  rec.FormShow();
  ExpectNothingClipped(rec, pictureSuffix);

  TCustomizeDBDialog props(nullptr);
  props.SetListName("New List 1");
  props.SetField1("Field1");
  props.SetField2("Field2");
  ExpectNothingClipped(props, pictureSuffix);

  TStringDialog entry(nullptr);
  entry.setWindowTitle("New category");
  entry.Edit1->setText("Groceries");
  ExpectNothingClipped(entry, pictureSuffix);

  TCategoriesListDialog cats(nullptr);
  cats.LoadCategories(doc);
  cats.ListBox->setCurrentRow(1);
  cats.FormShow();
  ExpectNothingClipped(cats, pictureSuffix);

  TSelCategoryDialog sel(nullptr);
  sel.LoadCategories(&doc);
  ExpectNothingClipped(sel, pictureSuffix);
}

TEST(DialogLayout, EveryDialogShowsItsControlsWhole) { ExpectDialogsWhole(""); }

TEST(DialogLayout, ALargerTooltipFontGrowsControlsAndDialogs) {
  const QFont normal = QToolTip::font();
  QFont large = normal;
  large.setPointSize(16);
  QToolTip::setFont(large);
  ExpectDialogsWhole("-large");
  QToolTip::setFont(normal);
}

}  // namespace
