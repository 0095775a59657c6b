#include "dialogs/frmImport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableWidget>

#include "components/Accessibility.h"
#include "components/QRXCtrls.h"
#include "core/Streams.h"
#include "platform/Prompts.h"

namespace {

constexpr int kPreviewWidth = 560;
constexpr int kPreviewHeight = 220;

struct TChoice {
  const char* caption;
  int value;
};

const TChoice kFormats[] = {
    {"Comma separated values", static_cast<int>(TImportFormat::CommaSeparated)},
    {"Tab separated values", static_cast<int>(TImportFormat::TabSeparated)},
    {"Separated text", static_cast<int>(TImportFormat::SeparatedText)},
    {"XML", static_cast<int>(TImportFormat::Xml)},
    {"JSON", static_cast<int>(TImportFormat::Json)},
};

const TChoice kEncodings[] = {
    {"Automatic", static_cast<int>(TTextEncoding::Guess)},
    {"UTF-8", static_cast<int>(TTextEncoding::Utf8)},
    {"UTF-16 (little-endian)", static_cast<int>(TTextEncoding::Utf16LE)},
    {"UTF-16 (big-endian)", static_cast<int>(TTextEncoding::Utf16BE)},
    {"Windows-1252", static_cast<int>(TTextEncoding::Windows1252)},
};

const TChoice kTargets[] = {
    {"(skip)", static_cast<int>(TImportTarget::Skip)},
    {"Field 1", static_cast<int>(TImportTarget::Field1)},
    {"Field 2", static_cast<int>(TImportTarget::Field2)},
    {"Notes", static_cast<int>(TImportTarget::Notes)},
    {"Category", static_cast<int>(TImportTarget::Category)},
};

QComboBox* ChoiceCombo(QWidget* parent, const TChoice* choices, size_t count) {
  auto* combo = new QComboBox(parent);
  for (size_t i = 0; i < count; ++i)
    combo->addItem(QString::fromLatin1(choices[i].caption), choices[i].value);
  return combo;
}

void SelectData(QComboBox* combo, int value) {
  const int index = combo->findData(value);
  if (index >= 0) combo->setCurrentIndex(index);
}

QComboBox* SeparatorCombo(QWidget* parent, const QStringList& items) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(true);
  combo->addItems(items);
  combo->setInsertPolicy(QComboBox::NoInsert);
  return combo;
}

QString EncodingName(TTextEncoding encoding) {
  for (const TChoice& choice : kEncodings) {
    if (choice.value == static_cast<int>(encoding)) return QString::fromLatin1(choice.caption);
  }
  return {};
}

// A value in one line of the preview: line breaks shown as a symbol.
QString OneLine(const std::string& utf8) {
  QString text = QString::fromStdString(utf8);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\u21B5"));
  text.replace(QLatin1Char('\n'), QStringLiteral("\u21B5"));
  text.replace(QLatin1Char('\r'), QStringLiteral("\u21B5"));
  return text;
}

}  // namespace

TImportDialog::TImportDialog(QWidget* owner) : TAbstractDialog(owner) {
  setWindowTitle(QStringLiteral("Import"));
  FileEdit = new TQRXClickEdit(this);
  FileEdit->SetButtonWidth(20);
  FileEdit->SetGlyph(style()
                         ->standardPixmap(QStyle::SP_DirOpenIcon)
                         .scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  FileEdit->SetNumGlyphs(1);
  FileEdit->setReadOnly(true);
  FileEdit->OnButtonClick = [this](QObject*) { FileButtonClick(); };
  FileEdit->Button()->setAccessibleName(QStringLiteral("Choose file"));
  FileEdit->Button()->setAccessibleDescription(
      FileEdit->ButtonShortCut().toString(QKeySequence::NativeText));
  FormatCombo = ChoiceCombo(this, kFormats, std::size(kFormats));
  EncodingCombo = ChoiceCombo(this, kEncodings, std::size(kEncodings));
  FieldSeparatorCombo = SeparatorCombo(this, {";", "\\t", ",", "|"});
  RecordSeparatorCombo = SeparatorCombo(this, {"\\n", "\\r\\n", "\\r"});
  TitlesCheck = new QCheckBox(QStringLiteral("First row holds column &titles"), this);
  TitlesCheck->setChecked(true);
  QuotedCheck = new QCheckBox(QStringLiteral("Values may be &quoted"), this);
  PreviewTable = new QTableWidget(this);
  PreviewTable->setFixedSize(kPreviewWidth, kPreviewHeight);
  PreviewTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  PreviewTable->setSelectionMode(QAbstractItemView::NoSelection);
  PreviewTable->verticalHeader()->hide();
  // Tab leaves the table instead of stepping through every cell; it goes on
  // to the column choices in its first row (see ShowPreview).
  PreviewTable->setTabKeyNavigation(false);
  SetAccessibleLabel(PreviewTable, QStringLiteral("Preview"));
  MessageLabel = new QLabel(this);
  MessageLabel->setTextFormat(Qt::PlainText);
  MessageLabel->setWordWrap(true);
  MessageLabel->setFixedWidth(kPreviewWidth);
  CutRadio = new QRadioButton(QStringLiteral("&Cut values longer than their field allows"), this);
  SkipRadio = new QRadioButton(QStringLiteral("S&kip rows with values longer than allowed"), this);
  CutRadio->setChecked(true);
  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  OKBtn->setDefault(true);

  auto label = [this](const char* text, QWidget* buddy) {
    auto* l = new QLabel(QString::fromLatin1(text), this);
    l->setTextFormat(Qt::PlainText);
    l->setBuddy(buddy);
    return l;
  };
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 8, 8, 8);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(6);
  grid->addWidget(label("&File:", FileEdit), 0, 0);
  grid->addWidget(FileEdit, 0, 1, 1, 3);
  grid->addWidget(label("F&ormat:", FormatCombo), 1, 0);
  grid->addWidget(FormatCombo, 1, 1);
  grid->addWidget(label("&Encoding:", EncodingCombo), 1, 2);
  grid->addWidget(EncodingCombo, 1, 3);
  grid->addWidget(label("Field &separator:", FieldSeparatorCombo), 2, 0);
  grid->addWidget(FieldSeparatorCombo, 2, 1);
  grid->addWidget(label("&Record separator:", RecordSeparatorCombo), 2, 2);
  grid->addWidget(RecordSeparatorCombo, 2, 3);
  grid->addWidget(TitlesCheck, 3, 1);
  grid->addWidget(QuotedCheck, 3, 3);
  grid->addWidget(label("&Preview (the first row says what each column becomes):", PreviewTable), 4,
                  0, 1, 4);
  grid->addWidget(PreviewTable, 5, 0, 1, 4);
  grid->addWidget(MessageLabel, 6, 0, 1, 4);
  grid->addWidget(CutRadio, 7, 0, 1, 4);
  grid->addWidget(SkipRadio, 8, 0, 1, 4);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  grid->addLayout(buttons, 9, 0, 1, 4);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);

  connect(FormatCombo, &QComboBox::currentIndexChanged, this, &TImportDialog::FormatChange);
  connect(EncodingCombo, &QComboBox::currentIndexChanged, this, &TImportDialog::ReadOptionChange);
  connect(TitlesCheck, &QCheckBox::toggled, this, &TImportDialog::ReadOptionChange);
  connect(QuotedCheck, &QCheckBox::toggled, this, &TImportDialog::ReadOptionChange);
  connect(FieldSeparatorCombo, &QComboBox::currentTextChanged, this,
          &TImportDialog::ReadOptionChange);
  connect(RecordSeparatorCombo, &QComboBox::currentTextChanged, this,
          &TImportDialog::ReadOptionChange);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  TAbstractForm::Loaded(this);
  const int buttonWidth = ButtonWidth(75, {OKBtn->text(), CancelBtn->text()});
  for (QPushButton* button : {OKBtn, CancelBtn})
    button->setFixedSize(buttonWidth, ButtonHeight(25));
  FormatChange();
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QString TImportDialog::FileName() const { return path_; }

TImportFormat TImportDialog::Format() const {
  return static_cast<TImportFormat>(FormatCombo->currentData().toInt());
}

TImportOptions TImportDialog::Options() const {
  TImportOptions options;
  options.Format = Format();
  options.Encoding = static_cast<TTextEncoding>(EncodingCombo->currentData().toInt());
  options.FieldSeparator = FieldSeparatorCombo->currentText().toStdString();
  options.RecordSeparator = RecordSeparatorCombo->currentText().toStdString();
  options.QuotedValues = QuotedCheck->isChecked();
  options.FirstRowTitles = TitlesCheck->isChecked();
  if (!fixedColumns_) options.Columns = columns_;
  options.CutOverlong = CutRadio->isChecked();
  return options;
}

void TImportDialog::SetFileName(const QString& path) {
  path_ = path;
  FileEdit->setText(path);
  Reload(true);
}

void TImportDialog::FileButtonClick() {
  TFileDialogOptions options;
  options.title = QStringLiteral("Import List...");
  options.filter =
      QStringLiteral("Text and list files (*.csv *.tsv *.txt *.xml *.json);;All files (*.*)");
  options.fileName = path_;
  options.mustExist = true;
  if (Prompts().OpenFileDialog(this, options)) SetFileName(options.fileName);
}

void TImportDialog::FormatChange() {
  const TImportFormat format = Format();
  const bool separated = format == TImportFormat::SeparatedText;
  const bool markup = format == TImportFormat::Xml || format == TImportFormat::Json;
  FieldSeparatorCombo->setEnabled(separated);
  RecordSeparatorCombo->setEnabled(separated);
  QuotedCheck->setEnabled(separated);
  TitlesCheck->setEnabled(!markup);
  if (!filling_) Reload(false);
}

void TImportDialog::ReadOptionChange() {
  if (filling_) return;
  columns_.clear();  // guessed again from the new titles
  Reload(false);
}

void TImportDialog::ColumnChange() {
  if (filling_) return;
  for (int c = 0; c < PreviewTable->columnCount(); ++c) {
    auto* combo = qobject_cast<QComboBox*>(PreviewTable->cellWidget(0, c));
    if (combo && static_cast<size_t>(c) < columns_.size())
      columns_[static_cast<size_t>(c)] = static_cast<TImportTarget>(combo->currentData().toInt());
  }
  UpdateOK();
}

void TImportDialog::Reload(bool guess) {
  if (path_.isEmpty()) {
    UpdateOK();
    return;
  }
  TImportOptions options = Options();
  if (guess) {
    options.Format = TImportFormat::Guess;
    options.Columns.clear();
  }
  try {
    TFileStream in(path_.toStdString(), TFileStream::Mode::OpenRead);
    const TImportPreview preview = PreviewImport(in, options, kPreviewRows);
    loaded_ = true;
    ShowPreview(preview);
    MessageLabel->clear();
  } catch (const std::exception& e) {
    loaded_ = false;
    PreviewTable->clear();
    PreviewTable->setRowCount(0);
    PreviewTable->setColumnCount(0);
    MessageLabel->setText(QStringLiteral("\"%1\" cannot be imported: %2")
                              .arg(path_, QString::fromLocal8Bit(e.what())));
  }
  UpdateOK();
}

void TImportDialog::ShowPreview(const TImportPreview& preview) {
  filling_ = true;
  SelectData(FormatCombo, static_cast<int>(preview.Format));
  const TImportFormat format = Format();
  FieldSeparatorCombo->setEnabled(format == TImportFormat::SeparatedText);
  RecordSeparatorCombo->setEnabled(format == TImportFormat::SeparatedText);
  QuotedCheck->setEnabled(format == TImportFormat::SeparatedText);
  TitlesCheck->setEnabled(format != TImportFormat::Xml && format != TImportFormat::Json);
  if (format == TImportFormat::SeparatedText) {
    FieldSeparatorCombo->setCurrentText(QString::fromStdString(preview.FieldSeparator));
    RecordSeparatorCombo->setCurrentText(QString::fromStdString(preview.RecordSeparator));
    QuotedCheck->setChecked(preview.QuotedValues);
  }
  EncodingCombo->setItemText(0,
                             QStringLiteral("Automatic (%1)").arg(EncodingName(preview.Encoding)));
  fixedColumns_ = format == TImportFormat::Xml || format == TImportFormat::Json;
  columns_ = preview.Columns;

  PreviewTable->clear();
  const int columns = static_cast<int>(columns_.size());
  PreviewTable->setColumnCount(columns);
  PreviewTable->setRowCount(1 + static_cast<int>(preview.Rows.size()));
  QStringList headers;
  QWidget* before = PreviewTable;
  for (int c = 0; c < columns; ++c) {
    const size_t i = static_cast<size_t>(c);
    headers << (i < preview.Titles.size() ? OneLine(preview.Titles[i])
                                          : QStringLiteral("Column %1").arg(c + 1));
    QComboBox* combo = ChoiceCombo(PreviewTable, kTargets, std::size(kTargets));
    SelectData(combo, static_cast<int>(columns_[i]));
    combo->setEnabled(!fixedColumns_);
    connect(combo, &QComboBox::currentIndexChanged, this, &TImportDialog::ColumnChange);
    PreviewTable->setCellWidget(0, c, combo);
    SetAccessibleLabel(combo, QStringLiteral("%1 becomes").arg(headers.last()));
    setTabOrder(before, combo);
    before = combo;
  }
  PreviewTable->setHorizontalHeaderLabels(headers);
  for (size_t r = 0; r < preview.Rows.size(); ++r) {
    for (size_t c = 0; c < preview.Rows[r].size() && c < columns_.size(); ++c) {
      PreviewTable->setItem(static_cast<int>(r) + 1, static_cast<int>(c),
                            new QTableWidgetItem(OneLine(preview.Rows[r][c])));
    }
  }
  PreviewTable->resizeColumnsToContents();
  for (int c = 0; c < columns; ++c)
    PreviewTable->setColumnWidth(c, std::min(std::max(PreviewTable->columnWidth(c), 90), 220));
  filling_ = false;
}

void TImportDialog::UpdateOK() {
  bool mapped = false;
  for (TImportTarget target : columns_) mapped = mapped || target != TImportTarget::Skip;
  OKBtn->setEnabled(loaded_ && mapped);
}

void TImportDialog::FormShow() {
  UpdateOK();
  if (path_.isEmpty()) FileEdit->setFocus();
}
