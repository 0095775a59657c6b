// The export wizard: six pages that collect the settings of an export of the
// open list (format, destination, records, fields and their order,
// separators). It holds the pages and their logic only; whichever way it
// closes, it closes with Cancel.
#pragma once

#include "dialogs/abstract_form.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class TLimitedEdit;
class TListBox;
class TListDBData;
class TQRXClickEdit;
class TQRX_Wizard;
class TQRX_WizardHeader;

class TExportTuneupForm : public TAbstractDialog {
  Q_OBJECT
 public:
  explicit TExportTuneupForm(QWidget* owner);

  // Keeps the document (not owned) and offers its categories in table order,
  // "Unfiled" first, each entry carrying its id; selects the first entry.
  void LoadCategoryFilter(const TListDBData* data);
  const TListDBData* Data() const { return FData; }

  // Handlers.
  void FormShow() override;
  // The sub-header names the page now shown.
  void NotebookPageChanged();
  // The file name input is enabled exactly when export to a file is chosen.
  void UpdateExportDestination();
  // The category list is enabled exactly when one category is chosen.
  void UpdateExportRecFilter();
  // Closes with Cancel, whatever the end button reads.
  void WizardEndClick();

  TQRX_WizardHeader* Header;
  QFrame* Bevel1;
  QStackedWidget* Notebook;
  TQRX_Wizard* Wizard;
  QAction* MoveFieldUpAction;
  QAction* MoveFieldDownAction;
  // Page 1: the format.
  TListBox* TypesListBox;
  // Page 2: the destination.
  QRadioButton* rbExportToClipboard;
  QRadioButton* rbExportToFile;
  TQRXClickEdit* OutputFilenameEdit;
  // Page 3: the records.
  QRadioButton* rbAllRecords;
  QRadioButton* rbOnlyOneCategory;
  QComboBox* CategoryFilterCombo;
  // Page 4: the fields and their order.
  QListWidget* FieldsCheckListBox;
  QPushButton* Button1;
  QPushButton* Button2;
  // Page 5: the separators.
  QLabel* FieldsSeparatorLabel;
  TLimitedEdit* FieldsSeparatorEdit;
  QLabel* RecordsSeparatorLabel;
  TLimitedEdit* RecordsSeparatorEdit;
  QCheckBox* CheckBox1;

 private:
  QWidget* AddPage(const QString& caption);
  void BuildPages();
  // Places the controls for the dialog's font.
  void Arrange();
  // Names the controls that have no label for assistive technology, each
  // page by its caption, and has every page change give the focus to the
  // page's first control.
  void SetUpAccessibility();
  // The focus to the first control of the page shown (the checked choice of
  // a group of options); the Finish page has none and gives it to the end
  // button.
  void FocusPageControl();

  const TListDBData* FData = nullptr;
};

// Shows the wizard for the document (may be null) and returns whether it
// closed with OK, which it never does.
bool ExecuteExportWizard(QWidget* owner, const TListDBData* data);
