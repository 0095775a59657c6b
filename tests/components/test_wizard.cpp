#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

#include "components/QRX_Wizard.h"
#include "components/QRX_WizardHeader.h"

namespace {

// A shown window with a notebook of `pages` pages and a wizard bar along its
// bottom; every event of the bar is logged ("?" marks a wrong sender).
struct WizardHost {
  explicit WizardHost(int pages) {
    window.resize(400, 300);
    noteBook = new QStackedWidget(&window);
    for (int i = 0; i < pages; ++i) noteBook->addWidget(new QWidget);
    bar = new TQRX_Wizard(&window);
    const auto notify = [this](QString what) {
      return [this, what](QObject* sender) { Log(sender, what); };
    };
    bar->OnBackClick = notify("back");
    bar->OnNextClick = notify("next");
    bar->OnEndClick = notify("end");
    bar->OnHelpClick = notify("help");
    bar->OnAfterPageChange = [this](QObject* sender, int page) {
      Log(sender, QString("after %1").arg(page));
    };
    bar->OnBeforePageChange = [this](QObject* sender, int page, bool forward, bool& allow) {
      Log(sender, QString("before %1%2").arg(page).arg(forward ? '>' : '<'));
      allow = allowChange;
    };
    window.show();
  }
  void Log(QObject* sender, const QString& what) { log << (sender == bar ? what : "?" + what); }
  QString Buttons() const {
    return QString("%1 %2 %3")
        .arg(bar->BackButton()->isEnabled() ? "back" : "-")
        .arg(bar->NextButton()->isEnabled() ? "next" : "-")
        .arg(bar->EndButton()->text());
  }
  QString TakeLog() {
    const QString joined = log.join(", ");
    log.clear();
    return joined;
  }

  QWidget window;
  QStackedWidget* noteBook;
  TQRX_Wizard* bar;
  QStringList log;
  bool allowChange = true;
};

TEST(Wizard, WalksSixPagesForwardAndBack) {
  WizardHost host(6);
  host.noteBook->setCurrentIndex(3);
  host.bar->SetNoteBook(host.noteBook);
  EXPECT_EQ(host.noteBook->currentIndex(), 0);
  EXPECT_EQ(host.Buttons(), "- next &Cancel");

  for (int i = 0; i < 5; ++i) QTest::mouseClick(host.bar->NextButton(), Qt::LeftButton);
  EXPECT_EQ(host.noteBook->currentIndex(), 5);
  EXPECT_EQ(host.Buttons(), "back - &Finish");
  EXPECT_EQ(host.TakeLog().right(24), "before 4>, after 5, next");

  QTest::mouseClick(host.bar->BackButton(), Qt::LeftButton);
  EXPECT_EQ(host.noteBook->currentIndex(), 4);
  EXPECT_EQ(host.Buttons(), "back next &Cancel");
  EXPECT_EQ(host.TakeLog(), "before 5<, after 4, back");
  for (int i = 0; i < 4; ++i) host.bar->BackStep();
  EXPECT_EQ(host.Buttons(), "- next &Cancel");

  // A refused change keeps the page and the buttons and fires no click event.
  host.TakeLog();
  host.allowChange = false;
  host.bar->NextStep();
  host.bar->BackStep();
  EXPECT_EQ(host.noteBook->currentIndex(), 0);
  EXPECT_EQ(host.Buttons(), "- next &Cancel");
  EXPECT_EQ(host.TakeLog(), "before 0>, before 0<");

  QTest::mouseClick(host.bar->EndButton(), Qt::LeftButton);
  host.bar->HelpButton()->click();
  EXPECT_EQ(host.TakeLog(), "end, help");
}

TEST(Wizard, DocksToTheBottomAndPlacesItsButtonsFromTheRight) {
  WizardHost host(2);
  host.window.resize(500, 200);
  EXPECT_EQ(host.bar->geometry(), QRect(0, 156, 500, 44));
  const int xs[] = {500 - 327, 500 - 243, 500 - 168, 500 - 83};
  QPushButton* buttons[] = {host.bar->HelpButton(), host.bar->BackButton(), host.bar->NextButton(),
                            host.bar->EndButton()};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(buttons[i]->geometry(), QRect(xs[i], 13, 75, 23)) << i;

  host.bar->SetEnableHelp(false);
  EXPECT_FALSE(host.bar->HelpButton()->isVisible());
  EXPECT_TRUE(host.bar->BackButton()->isVisible());
  EXPECT_EQ(host.bar->BackButton()->x(), 500 - 243);
}

TEST(Wizard, WithoutANotebookOnlyTheClickEventsFire) {
  WizardHost host(0);
  host.bar->grab();
  EXPECT_EQ(host.Buttons(), "- - &Finish");
  // A new ready caption shows at the next paint.
  host.bar->SetReadyCaption("&Done");
  EXPECT_EQ(host.bar->EndButton()->text(), "&Finish");
  host.bar->grab();
  EXPECT_EQ(host.bar->EndButton()->text(), "&Done");

  host.bar->BackButton()->setEnabled(true);
  host.bar->NextButton()->setEnabled(true);
  QTest::mouseClick(host.bar->BackButton(), Qt::LeftButton);
  QTest::mouseClick(host.bar->NextButton(), Qt::LeftButton);
  EXPECT_EQ(host.TakeLog(), "back, next");
}

TEST(Wizard, ADestroyedNotebookLeavesTheBarUnbound) {
  WizardHost host(4);
  host.bar->SetNoteBook(host.noteBook);
  host.bar->NextStep();
  delete host.noteBook;
  EXPECT_EQ(host.bar->NoteBook(), nullptr);
  host.TakeLog();
  host.bar->NextStep();
  EXPECT_EQ(host.TakeLog(), "next");
  host.bar->grab();
  EXPECT_EQ(host.Buttons(), "- - &Finish");

  // Bound again after that paint, the bar starts on the first page with Cancel.
  QStackedWidget other(&host.window);
  other.addWidget(new QWidget);
  other.addWidget(new QWidget);
  host.bar->SetNoteBook(&other);
  EXPECT_EQ(host.Buttons(), "- next &Cancel");
}

TEST(Wizard, EndCaptionsFollowThePage) {
  WizardHost host(2);
  host.bar->SetNoteBook(host.noteBook);
  host.bar->SetReadyCaption("&Done");
  EXPECT_EQ(host.bar->EndButton()->text(), "&Cancel");
  host.bar->NextStep();
  EXPECT_EQ(host.bar->EndButton()->text(), "&Done");
  // On the last page the end button keeps the ready caption.
  host.bar->SetAbortCaption("&Stop");
  EXPECT_EQ(host.bar->EndButton()->text(), "&Done");
  host.bar->BackStep();
  EXPECT_EQ(host.bar->EndButton()->text(), "&Stop");
}

TEST(WizardHeader, DocksToTheTopAndLaysOutItsParts) {
  QWidget window;
  window.resize(300, 200);
  TQRX_WizardHeader header(&window);
  window.show();
  EXPECT_EQ(header.geometry(), QRect(0, 0, 300, 48));
  EXPECT_TRUE(header.HeaderFont().bold());
  EXPECT_EQ(header.palette().color(QPalette::Window), window.palette().color(QPalette::Base));

  QFont big = header.HeaderFont();
  big.setPointSize(big.pointSize() + 6);
  header.SetHeaderFont(big);
  window.resize(260, 200);
  EXPECT_EQ(header.ImageLabel()->geometry(), QRect(260 - 40, 8, 32, 32));
  const QRect title = header.HeaderLabel()->geometry();
  EXPECT_EQ(header.SubHeaderLabel()->pos(), QPoint(16, title.bottom() + 1 + 8));
}

TEST(WizardHeader, ClickingThePictureFiresItsEvent) {
  QWidget window;
  TQRX_WizardHeader header(&window);
  std::vector<QObject*> senders;
  header.OnPictureImageClick = [&](QObject* sender) { senders.push_back(sender); };
  QTest::mouseClick(header.ImageLabel(), Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseClick(header.HeaderLabel(), Qt::LeftButton);
  // Pressed on the picture, released outside it: no click.
  QTest::mousePress(header.ImageLabel(), Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(header.ImageLabel(), Qt::LeftButton, {}, QPoint(50, 5));
  EXPECT_EQ(senders, std::vector<QObject*>({&header}));
}

}  // namespace
