#include "dialogs/frmExportTuneup.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <algorithm>

#include "components/Accessibility.h"
#include "components/QRXCtrls.h"
#include "components/QRX_Wizard.h"
#include "components/QRX_WizardHeader.h"
#include "core/listdb.h"
#include "dialogs/DialogControls.h"
#include "platform/AnsiText.h"
#include "platform/Prompts.h"

namespace {

constexpr int kClientWidth = 278;
constexpr int kClientHeight = 247;
constexpr int kNotebookTop = TQRX_WizardHeader::kHeaderHeight + 4;
constexpr int kNotebookHeight = kClientHeight - kNotebookTop - TQRX_Wizard::kBarHeight;
// The separator inputs take any length, as a plain edit does.
constexpr int kSeparatorLimit = 32767;

// A sheet of a list with an arrow leaving it to the right.
QPixmap ExportPicture() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColor(0x40, 0x58, 0x80), 1.0));
  p.setBrush(QColor(0xFF, 0xFF, 0xF4));
  p.drawRect(QRectF(3.5, 2.5, 17, 26));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x2F, 0x6F, 0xD0));
  p.drawRect(QRectF(6, 6, 12, 2));
  p.setBrush(QColor(0x80, 0x88, 0x98));
  for (int line = 0; line < 5; ++line) p.drawRect(QRectF(6, 11 + 3.5 * line, 10, 1.5));
  QPainterPath arrow;
  arrow.moveTo(14, 17);
  arrow.lineTo(22, 17);
  arrow.lineTo(22, 12.5);
  arrow.lineTo(30.5, 20.5);
  arrow.lineTo(22, 28.5);
  arrow.lineTo(22, 24);
  arrow.lineTo(14, 24);
  arrow.closeSubpath();
  p.setPen(QPen(QColor(0x1E, 0x6B, 0x2E), 1.0));
  p.setBrush(QColor(0x3C, 0xB0, 0x50));
  p.drawPath(arrow);
  return pixmap;
}

// A small arrow pointing up or down.
QIcon ArrowIcon(bool up) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  QPolygonF arrow;
  arrow << QPointF(8, 2.5) << QPointF(13.5, 8) << QPointF(10, 8) << QPointF(10, 13.5)
        << QPointF(6, 13.5) << QPointF(6, 8) << QPointF(2.5, 8);
  if (!up) {
    for (QPointF& point : arrow) point.setY(16 - point.y());
  }
  p.setPen(QPen(QColor(0x20, 0x40, 0x80), 1.0));
  p.setBrush(QColor(0x4A, 0x80, 0xD8));
  p.drawPolygon(arrow);
  return QIcon(pixmap);
}

// The file button's picture: an open folder.
QPixmap FolderGlyph() {
  QPixmap pixmap(14, 12);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(QColor(0x80, 0x60, 0x10));
  p.setBrush(QColor(0xF0, 0xC8, 0x50));
  p.drawPolygon(QPolygon(
      {QPoint(0, 2), QPoint(4, 2), QPoint(5, 3), QPoint(11, 3), QPoint(11, 11), QPoint(0, 11)}));
  p.setBrush(QColor(0xF8, 0xE0, 0x90));
  p.drawPolygon(QPolygon({QPoint(2, 6), QPoint(13, 6), QPoint(11, 11), QPoint(0, 11)}));
  return pixmap;
}

QLabel* PlainLabel(const QString& caption, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

TExportTuneupForm::TExportTuneupForm(QWidget* owner) : TAbstractDialog(owner) {
  setWindowTitle(QStringLiteral("Export"));
  resize(kClientWidth, kClientHeight);

  Header = new TQRX_WizardHeader(this);
  Header->SetHeader(QStringLiteral("Export Wizard"));
  Header->SetPicture(ExportPicture());
  Bevel1 = new QFrame(this);
  Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  Notebook = new QStackedWidget(this);

  MoveFieldUpAction = new QAction(ArrowIcon(true), QStringLiteral("Move &Up"), this);
  MoveFieldDownAction = new QAction(ArrowIcon(false), QStringLiteral("Move &Down"), this);
  BuildPages();

  // Created last, so that its buttons follow the page's controls in the tab
  // order.
  Wizard = new TQRX_Wizard(this);
  Wizard->SetEnableHelp(false);
  Wizard->SetBackCaption(QStringLiteral("<< &Back"));
  Wizard->SetNextCaption(QStringLiteral("&Next >>"));
  Wizard->SetAbortCaption(QStringLiteral("&Cancel"));
  Wizard->SetReadyCaption(QStringLiteral("&Finish"));
  Wizard->SetHelpCaption(QStringLiteral("&Help"));
  Wizard->OnEndClick = [this](QObject*) { WizardEndClick(); };

  FinishLoading(kClientWidth, kClientHeight);
  QFont headerFont = font();
  headerFont.setPointSize(8);
  headerFont.setBold(true);
  Header->SetHeaderFont(headerFont);
  headerFont.setBold(false);
  Header->SetSubHeaderFont(headerFont);
  QPalette colours = Header->palette();
  colours.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
  Header->setPalette(colours);
  Arrange();

  connect(Notebook, &QStackedWidget::currentChanged, this, &TExportTuneupForm::NotebookPageChanged);
  Notebook->setCurrentIndex(0);
  Wizard->SetNoteBook(Notebook);
  NotebookPageChanged();
  TypesListBox->setCurrentRow(0);
  UpdateExportDestination();
  UpdateExportRecFilter();
  ConnectChoices();
  SetUpAccessibility();
}

QWidget* TExportTuneupForm::AddPage(const QString& caption) {
  auto* page = new QWidget(Notebook);
  page->setWindowTitle(caption);
  Notebook->addWidget(page);
  return page;
}

void TExportTuneupForm::BuildPages() {
  QWidget* page = AddPage(QStringLiteral("Select destination file format"));
  TypesListBox = new TListBox(page);
  TypesListBox->addItems({QStringLiteral("Comma separated values"),
                          QStringLiteral("Tab separated values"),
                          QStringLiteral("Separated text (extended)"), QStringLiteral("Plain text"),
                          QStringLiteral("Rich Text Format"), QStringLiteral("XML")});

  page = AddPage(QStringLiteral("Select destination"));
  rbExportToClipboard = new QRadioButton(QStringLiteral("Export to &Clipboard"), page);
  rbExportToFile = new QRadioButton(QStringLiteral("Export to &file:"), page);
  rbExportToClipboard->setChecked(true);
  OutputFilenameEdit = new TQRXClickEdit(page);
  OutputFilenameEdit->SetButtonWidth(20);
  OutputFilenameEdit->SetGlyph(FolderGlyph());
  OutputFilenameEdit->SetNumGlyphs(1);
  connect(rbExportToClipboard, &QRadioButton::toggled, this,
          &TExportTuneupForm::UpdateExportDestination);
  connect(rbExportToFile, &QRadioButton::toggled, this,
          &TExportTuneupForm::UpdateExportDestination);

  page = AddPage(QStringLiteral("Select records to export"));
  rbAllRecords = new QRadioButton(QStringLiteral("Export &all records from list"), page);
  rbOnlyOneCategory = new QRadioButton(QStringLiteral("Export records from &category:"), page);
  rbAllRecords->setChecked(true);
  CategoryFilterCombo = new QComboBox(page);
  CategoryFilterCombo->setMaxVisibleItems(5);
  connect(rbAllRecords, &QRadioButton::toggled, this, &TExportTuneupForm::UpdateExportRecFilter);
  connect(rbOnlyOneCategory, &QRadioButton::toggled, this,
          &TExportTuneupForm::UpdateExportRecFilter);

  page = AddPage(QStringLiteral("Select fields to export"));
  FieldsCheckListBox = new QListWidget(page);
  for (const char* field : {"Field 1", "Field 2", "Notes", "Category name"}) {
    auto* item = new QListWidgetItem(QString::fromLatin1(field), FieldsCheckListBox);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  Button1 = new QPushButton(page);
  Button2 = new QPushButton(page);
  BindButton(Button1, MoveFieldUpAction);
  BindButton(Button2, MoveFieldDownAction);

  page = AddPage(QStringLiteral("Export options"));
  FieldsSeparatorEdit = new TLimitedEdit(kSeparatorLimit, page);
  FieldsSeparatorEdit->SetValue(QStringLiteral("\\t"));
  FieldsSeparatorLabel =
      PlainLabel(QStringLiteral("&Fields separator text:"), FieldsSeparatorEdit, page);
  RecordsSeparatorEdit = new TLimitedEdit(kSeparatorLimit, page);
  RecordsSeparatorEdit->SetValue(QStringLiteral("\\n"));
  RecordsSeparatorLabel =
      PlainLabel(QStringLiteral("&Records separator text:"), RecordsSeparatorEdit, page);
  CheckBox1 = new QCheckBox(QStringLiteral("&Export column titles"), page);

  AddPage(QStringLiteral("Finish"));
}

void TExportTuneupForm::Arrange() {
  Bevel1->setGeometry(0, TQRX_WizardHeader::kHeaderHeight, kClientWidth, 2);
  Notebook->setGeometry(0, kNotebookTop, kClientWidth, kNotebookHeight);

  const int inputHeight = InputHeight(21);
  TypesListBox->setGeometry(8, 4, 261, 141);

  for (QWidget* control :
       {static_cast<QWidget*>(rbExportToClipboard), static_cast<QWidget*>(rbExportToFile),
        static_cast<QWidget*>(rbAllRecords), static_cast<QWidget*>(rbOnlyOneCategory),
        static_cast<QWidget*>(CheckBox1), static_cast<QWidget*>(FieldsSeparatorLabel),
        static_cast<QWidget*>(RecordsSeparatorLabel)})
    control->adjustSize();
  rbExportToClipboard->move(16, 12);
  rbExportToFile->move(16, 36);
  OutputFilenameEdit->setGeometry(28, 60, 237, inputHeight);
  rbAllRecords->move(16, 12);
  rbOnlyOneCategory->move(16, 36);
  CategoryFilterCombo->setGeometry(28, 60, 237, inputHeight);

  FieldsCheckListBox->setGeometry(8, 4, 177, 141);
  Button1->setGeometry(192, 4, 75, ButtonHeight(25));
  Button2->setGeometry(192, 36, 75, ButtonHeight(25));

  // Each label sits 3 pixels above its edit; a taller font moves the second
  // row and the check box down by as much as the first row grew.
  const int rowGrow = inputHeight - 21;
  FieldsSeparatorEdit->setGeometry(8, 24, 200, inputHeight);
  FieldsSeparatorLabel->move(8, 24 - 3 - FieldsSeparatorLabel->height());
  RecordsSeparatorEdit->setGeometry(8, 72 + rowGrow, 200, inputHeight);
  RecordsSeparatorLabel->move(8, 72 + rowGrow - 3 - RecordsSeparatorLabel->height());
  CheckBox1->move(8, 108 + 2 * rowGrow);
}

void TExportTuneupForm::LoadCategoryFilter(const TListDBData* data) {
  FData = data;
  CategoryFilterCombo->clear();
  if (data) {
    const TListDBCategories& categories = data->Categories();
    for (int i = 0; i < categories.Count(); ++i)
      CategoryFilterCombo->addItem(AnsiToQString(categories.NameAt(i)),
                                   QVariant(categories.IDAt(i)));
  }
  CategoryFilterCombo->setCurrentIndex(CategoryFilterCombo->count() > 0 ? 0 : -1);
}

void TExportTuneupForm::FormShow() {
  if (Notebook->currentIndex() == 0) TypesListBox->setFocus();
}

// --- assistive technology and keyboard ---

void TExportTuneupForm::SetUpAccessibility() {
  SetAccessibleLabel(TypesListBox, QStringLiteral("File format"));
  SetAccessibleLabel(OutputFilenameEdit, QStringLiteral("File name"));
  OutputFilenameEdit->Button()->setAccessibleName(QStringLiteral("Choose file"));
  OutputFilenameEdit->Button()->setAccessibleDescription(
      OutputFilenameEdit->ButtonShortCut().toString(QKeySequence::NativeText));
  SetAccessibleLabel(CategoryFilterCombo, QStringLiteral("Category"));
  SetAccessibleLabel(FieldsCheckListBox, QStringLiteral("Fields to export"));
  for (int i = 0; i < Notebook->count(); ++i) {
    QWidget* page = Notebook->widget(i);
    page->setAccessibleName(page->windowTitle());
  }
  connect(Notebook, &QStackedWidget::currentChanged, this, &TExportTuneupForm::FocusPageControl);
}

void TExportTuneupForm::FocusPageControl() {
  QWidget* page = Notebook->currentWidget();
  if (!page || !isVisible()) return;
  QWidget* target = nullptr;
  for (QWidget* w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
    if (!page->isAncestorOf(w) || !(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() ||
        !w->isVisibleTo(page))
      continue;
    target = w;
    break;
  }
  if (auto* option = qobject_cast<QRadioButton*>(target)) {
    for (QRadioButton* other : page->findChildren<QRadioButton*>())
      if (other->isChecked() && other->parentWidget() == option->parentWidget()) target = other;
  }
  if (!target) target = Wizard->EndButton();
  target->setFocus(Qt::TabFocusReason);
}

void TExportTuneupForm::NotebookPageChanged() {
  const QWidget* page = Notebook->currentWidget();
  Header->SetSubHeader(page ? page->windowTitle() : QString());
}

void TExportTuneupForm::UpdateExportDestination() {
  OutputFilenameEdit->setEnabled(rbExportToFile->isChecked());
}

void TExportTuneupForm::UpdateExportRecFilter() {
  CategoryFilterCombo->setEnabled(rbOnlyOneCategory->isChecked());
}
