// The export wizard: six pages that collect the settings of an export of the
// open list (format, destination, records, fields and their order,
// separators). Finish on the last page closes it with OK once the choices
// are complete; the export itself is the caller's.
#pragma once

#include <QString>
#include <optional>

#include "core/ListExport.h"
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

// What the wizard collected.
struct TExportChoice {
  TExportOptions Options;  // format, fields in order, separators, titles
  bool ToFile = false;
  QString FileName;
  std::optional<int> CategoryId;  // empty: all records
};

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
  // Before the last page the end button cancels; on it, Finish closes with
  // OK once the choices are complete.
  void WizardEndClick();

  // Move Up and Move Down: move the selected field of page 4 one place.
  void MoveField(int by);
  // Each is enabled exactly when its move is possible.
  void UpdateMoveFieldActions();
  // Next past page 4 is refused while no field is checked.
  void WizardBeforePageChange(int page, bool forward, bool& allow);
  // The file name button: a save dialog for the chosen format.
  void OutputFilenameEditButtonClick();
  // A file name with the suffix of one format takes that of the format chosen.
  void TypesListBoxChange();

  // The choices as the controls hold them.
  TExportChoice Choice() const;
  // The last choices stored, and storing these (the format, the fields and
  // their order, separators, titles, destination).
  void LoadChoices();
  void StoreChoices() const;

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
  // Binds the handlers of the choices to their controls.
  void ConnectChoices();
  // Says what is missing and returns false when the choices are not complete.
  bool CheckFieldsChosen();
  bool CheckChoicesComplete();
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

// Shows the wizard for the document (may be null) with the last choices and
// returns whether it closed with OK; then choice holds the new ones, which
// are stored for the next time.
bool ExecuteExportWizard(QWidget* owner, const TListDBData* data, TExportChoice& choice);
bool ExecuteExportWizard(QWidget* owner, const TListDBData* data);
