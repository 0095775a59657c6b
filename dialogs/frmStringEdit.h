// The name entry dialog: one category name of at most 16 characters.
#pragma once

#include <QString>
#include <string>

#include "dialogs/abstract_form.h"

class QPushButton;
class TLimitedEdit;

class TStringDialog : public TAbstractDialog {
  Q_OBJECT
 public:
  explicit TStringDialog(QWidget* owner);

  // Handlers: OK is enabled exactly when the trimmed text is not empty.
  void Edit1Change();
  void FormShow() override;

  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  TLimitedEdit* Edit1;
};

// Shows the name entry dialog with the caption and text. On OK, text := the
// entered text trimmed and the result is true; otherwise text is unchanged.
bool ExecuteStringDialog(QWidget* owner, const QString& caption, std::string& text);
