// The search dialog: the substring to find and the places to look in, with
// the texts searched for earlier in this run offered as a history.
#pragma once

#include <string>
#include <vector>

#include "core/RecordSearch.h"
#include "dialogs/abstract_form.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

// The texts searched for in this run, the most recent first; never stored
// and without an upper bound.
std::vector<std::string>& SearchHistory();
// Puts text at the top of the history, in place of the first entry equal to
// it ignoring letter case.
void AddToSearchHistory(const std::string& text);

class TSearchDialog : public TAbstractDialog {
  Q_OBJECT
 public:
  explicit TSearchDialog(QWidget* owner);

  // Fills the check boxes' captions with the field names ("Field&1 (%s)").
  void SetFieldNames(const std::string& field1Name, const std::string& field2Name);
  // The search text as the user typed it, in single-byte text.
  std::string SearchText() const;

  // OK is enabled exactly when the trimmed text is not empty and at least
  // one place is checked.
  void UpdateControls();
  void SearchStringEditChange();
  void Field2CBClick();  // shared by the three check boxes
  void FormShow() override;

  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  QLabel* Label1;
  QComboBox* SearchStringEdit;
  QGroupBox* GroupBox1;
  QCheckBox* Field1CB;
  QCheckBox* Field2CB;
  QCheckBox* NotesCB;

 private:
  void ArrangeControls();
};

// Shows the search dialog for options (in-out) with the document's field
// names. On OK the options take the checked places and the trimmed text, the
// text goes to the top of the history, and the result is true; otherwise
// nothing changes.
bool ExecuteSearchDialog(QWidget* owner, const std::string& field1Name,
                         const std::string& field2Name, TRecSearchOptions& options);
