#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <memory>
#include <vector>

#include "components/QRX_Wizard.h"
#include "components/QRX_WizardHeader.h"

namespace {

// A window with a notebook of `pages` pages and a wizard bar along its bottom;
// every event of the bar is recorded.
struct WizardHost {
  explicit WizardHost(int pages) {
    window.resize(400, 300);
    noteBook = new QStackedWidget(&window);
    for (int i = 0; i < pages; ++i) noteBook->addWidget(new QWidget);
    bar = new TQRX_Wizard(&window);
    bar->OnBackClick = [this](QObject* sender) { events.push_back(Who(sender) + "back"); };
    bar->OnNextClick = [this](QObject* sender) { events.push_back(Who(sender) + "next"); };
    bar->OnEndClick = [this](QObject* sender) { events.push_back(Who(sender) + "end"); };
    bar->OnHelpClick = [this](QObject* sender) { events.push_back(Who(sender) + "help"); };
    bar->OnAfterPageChange = [this](QObject* sender, int page) {
      events.push_back(Who(sender) + "after " + std::to_string(page));
    };
    bar->OnBeforePageChange = [this](QObject* sender, int page, bool forward, bool& allow) {
      events.push_back(Who(sender) + "before " + std::to_string(page) + (forward ? " >" : " <"));
      allow = allowChange;
    };
  }
  std::string Who(QObject* sender) const { return sender == bar ? "" : "?"; }
  // Back enabled, Next enabled, the end button's text.
  std::tuple<bool, bool, QString> Buttons() const {
    return {bar->BackButton()->isEnabled(), bar->NextButton()->isEnabled(),
            bar->EndButton()->text()};
  }

  QWidget window;
  QStackedWidget* noteBook;
  TQRX_Wizard* bar;
  std::vector<std::string> events;
  bool allowChange = true;
};

using Strings = std::vector<std::string>;

TEST(Wizard, WalksSixPagesForwardAndBack) {
  WizardHost host(6);
  host.noteBook->setCurrentIndex(3);
  host.bar->SetNoteBook(host.noteBook);
  EXPECT_EQ(host.noteBook->currentIndex(), 0);
  EXPECT_EQ(host.Buttons(), std::make_tuple(false, true, QString("&Cancel")));

  for (int i = 0; i < 5; ++i) QTest::mouseClick(host.bar->NextButton(), Qt::LeftButton);
  EXPECT_EQ(host.noteBook->currentIndex(), 5);
  EXPECT_EQ(host.Buttons(), std::make_tuple(true, false, QString("&Finish")));
  ASSERT_EQ(host.events.size(), 15u);
  EXPECT_EQ(Strings(host.events.begin(), host.events.begin() + 3),
            Strings({"before 0 >", "after 1", "next"}));
  EXPECT_EQ(Strings(host.events.end() - 3, host.events.end()),
            Strings({"before 4 >", "after 5", "next"}));

  host.events.clear();
  QTest::mouseClick(host.bar->BackButton(), Qt::LeftButton);
  EXPECT_EQ(host.noteBook->currentIndex(), 4);
  EXPECT_EQ(host.Buttons(), std::make_tuple(true, true, QString("&Cancel")));
  EXPECT_EQ(host.events, Strings({"before 5 <", "after 4", "back"}));
  for (int i = 0; i < 4; ++i) host.bar->BackStep();
  EXPECT_EQ(host.noteBook->currentIndex(), 0);
  EXPECT_EQ(host.Buttons(), std::make_tuple(false, true, QString("&Cancel")));

  host.events.clear();
  QTest::mouseClick(host.bar->EndButton(), Qt::LeftButton);
  host.bar->HelpButton()->click();
  EXPECT_EQ(host.events, Strings({"end", "help"}));
}

TEST(Wizard, ARefusedChangeKeepsPageButtonsAndClickEvents) {
  WizardHost host(3);
  host.bar->SetNoteBook(host.noteBook);
  host.bar->NextStep();
  host.events.clear();
  host.allowChange = false;
  const auto before = host.Buttons();
  host.bar->NextStep();
  host.bar->BackStep();
  EXPECT_EQ(host.noteBook->currentIndex(), 1);
  EXPECT_EQ(host.Buttons(), before);
  EXPECT_EQ(host.events, Strings({"before 1 >", "before 1 <"}));
}

TEST(Wizard, DocksToTheBottomAndPlacesItsButtonsFromTheRight) {
  WizardHost host(2);
  EXPECT_EQ(host.bar->geometry(), QRect(0, 256, 400, 44));
  const int xs[] = {400 - 327, 400 - 243, 400 - 168, 400 - 83};
  QPushButton* buttons[] = {host.bar->HelpButton(), host.bar->BackButton(), host.bar->NextButton(),
                            host.bar->EndButton()};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(buttons[i]->geometry(), QRect(xs[i], 13, 75, 23)) << i;

  host.window.show();
  host.window.resize(500, 200);
  EXPECT_EQ(host.bar->geometry(), QRect(0, 156, 500, 44));
  EXPECT_EQ(host.bar->EndButton()->geometry(), QRect(417, 13, 75, 23));

  host.bar->SetEnableHelp(false);
  EXPECT_FALSE(host.bar->HelpButton()->isVisible());
  EXPECT_TRUE(host.bar->BackButton()->isVisible());
  EXPECT_EQ(host.bar->BackButton()->x(), 500 - 243);
}

TEST(Wizard, WithoutANotebookOnlyTheClickEventsFire) {
  WizardHost host(0);
  host.bar->grab();
  EXPECT_EQ(host.Buttons(), std::make_tuple(false, false, QString("&Finish")));
  // The ready caption shows at the next paint.
  host.bar->SetReadyCaption("&Done");
  EXPECT_EQ(host.bar->EndButton()->text(), "&Finish");
  host.bar->grab();
  EXPECT_EQ(host.bar->EndButton()->text(), "&Done");

  host.bar->BackButton()->setEnabled(true);
  host.bar->NextButton()->setEnabled(true);
  QTest::mouseClick(host.bar->BackButton(), Qt::LeftButton);
  QTest::mouseClick(host.bar->NextButton(), Qt::LeftButton);
  EXPECT_EQ(host.events, Strings({"back", "next"}));
}

TEST(Wizard, ADestroyedNotebookLeavesTheBarUnbound) {
  WizardHost host(4);
  host.bar->SetNoteBook(host.noteBook);
  host.bar->NextStep();
  delete host.noteBook;
  EXPECT_EQ(host.bar->NoteBook(), nullptr);
  host.events.clear();
  host.bar->NextStep();
  EXPECT_EQ(host.events, Strings({"next"}));
  host.bar->grab();
  EXPECT_EQ(host.Buttons(), std::make_tuple(false, false, QString("&Finish")));

  // Binding again after that paint starts on the first page with Cancel.
  QStackedWidget other(&host.window);
  other.addWidget(new QWidget);
  other.addWidget(new QWidget);
  host.bar->SetNoteBook(&other);
  EXPECT_EQ(host.Buttons(), std::make_tuple(false, true, QString("&Cancel")));
}

TEST(Wizard, CaptionWritesFollowThePage) {
  WizardHost host(2);
  host.bar->SetNoteBook(host.noteBook);
  host.bar->SetBackCaption("<<");
  host.bar->SetNextCaption(">>");
  host.bar->SetHelpCaption("?");
  host.bar->SetReadyCaption("&Done");
  EXPECT_EQ(host.bar->BackButton()->text(), "<<");
  EXPECT_EQ(host.bar->NextButton()->text(), ">>");
  EXPECT_EQ(host.bar->HelpButton()->text(), "?");
  EXPECT_EQ(host.bar->EndButton()->text(), "&Cancel");
  host.bar->NextStep();
  EXPECT_EQ(host.bar->EndButton()->text(), "&Done");
  // On the last page the end button keeps the ready caption.
  host.bar->SetAbortCaption("&Stop");
  EXPECT_EQ(host.bar->EndButton()->text(), "&Done");
  host.bar->BackStep();
  EXPECT_EQ(host.bar->EndButton()->text(), "&Stop");

  // A single page is first and last at once.
  QStackedWidget single(&host.window);
  single.addWidget(new QWidget);
  host.bar->SetNoteBook(&single);
  EXPECT_EQ(host.Buttons(), std::make_tuple(false, false, QString("&Done")));
}

TEST(WizardHeader, DocksToTheTopAndLaysOutItsParts) {
  QWidget window;
  window.resize(300, 200);
  TQRX_WizardHeader header(&window);
  EXPECT_EQ(header.geometry(), QRect(0, 0, 300, 48));
  EXPECT_EQ(header.minimumSize(), QSize(120, 48));
  EXPECT_EQ(header.Header(), "Header...");
  EXPECT_EQ(header.SubHeader(), "Sub-Header...");
  EXPECT_TRUE(header.HeaderFont().bold());
  EXPECT_FALSE(header.SubHeaderFont().bold());
  EXPECT_EQ(header.palette().color(QPalette::Window), window.palette().color(QPalette::Base));

  header.SetHeader("A much longer header line");
  QFont big = header.HeaderFont();
  big.setPointSize(big.pointSize() + 6);
  header.SetHeaderFont(big);
  window.show();
  window.resize(260, 200);
  EXPECT_EQ(header.ImageLabel()->geometry(), QRect(260 - 40, 8, 32, 32));
  const QRect title = header.HeaderLabel()->geometry();
  EXPECT_EQ(title.topLeft(), QPoint(8, 8));
  EXPECT_GE(title.width(), QFontMetrics(big).horizontalAdvance("A much longer header line"));
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
