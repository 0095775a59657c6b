// The import dialog: the file to read, how to read it (format and separators,
// encoding, whether the first row holds titles), what each column becomes,
// and what happens to over-long values, with a preview of the first rows.
// It only collects the choices; the caller imports.
#pragma once

#include <QString>
#include <vector>

#include "core/ListImport.h"
#include "dialogs/abstract_form.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;
class TQRXClickEdit;

class TImportDialog : public TAbstractDialog {
  Q_OBJECT
 public:
  explicit TImportDialog(QWidget* owner);

  // Reads the file's first rows and takes the guesses of format, separator,
  // encoding and columns.
  void SetFileName(const QString& path);
  QString FileName() const;
  // The choices as the importer takes them.
  TImportOptions Options() const;
  // Rows the preview shows at most.
  static constexpr size_t kPreviewRows = 50;

  // Handlers.
  void FileButtonClick();
  void FormatChange();
  void ReadOptionChange();  // encoding, titles, separators: read again
  void ColumnChange();
  void UpdateOK();
  void FormShow() override;

  TQRXClickEdit* FileEdit;
  QComboBox* FormatCombo;
  QComboBox* FieldSeparatorCombo;
  QComboBox* RecordSeparatorCombo;
  QComboBox* EncodingCombo;
  QCheckBox* TitlesCheck;
  QCheckBox* QuotedCheck;      // separated text: values may be quoted
  QTableWidget* PreviewTable;  // row 0: what each column becomes
  QLabel* MessageLabel;
  QRadioButton* CutRadio;
  QRadioButton* SkipRadio;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

 private:
  // Reads the preview with the dialog's choices; guess: the format and the
  // columns are guessed again.
  void Reload(bool guess);
  void ShowPreview(const TImportPreview& preview);
  TImportFormat Format() const;

  QString path_;
  bool loaded_ = false;
  std::vector<TImportTarget> columns_;
  bool fixedColumns_ = false;
  bool filling_ = false;  // the controls are being set from a preview
};
