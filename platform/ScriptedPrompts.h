// Prompts for tests: each question takes the next scripted answer and every
// question is recorded. A question with no answer left fails the test run
// loudly (it is recorded and answered with Cancel / false).
#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "platform/Prompts.h"

class TScriptedPrompts : public IPrompts {
 public:
  struct Asked {
    enum Kind { Message, OpenFile, SaveFile, Font, Color, Dialog, Beep, Print } kind;
    QString text;     // message text, or the dialog's title / window title
    QString caption;  // message caption
    TMsgIcon icon = TMsgIcon::None;
    int buttons = 0;
  };

  TScriptedPrompts();            // installs itself
  ~TScriptedPrompts() override;  // restores the real prompts

  // Scripted answers, consumed in order by the matching kind of question.
  void AnswerMessage(TModalResult result);
  void AnswerOpenFile(const QString& path);  // empty: cancel
  void AnswerSaveFile(const QString& path);  // empty: cancel
  void AnswerFont(bool ok, const QFont& font = {}, const QColor& color = {});
  void AnswerColor(bool ok, const QColor& color = {});
  // The print dialog: confirmed or cancelled; a PDF path makes the printer
  // write that file.
  void AnswerPrint(bool ok, const QString& pdfPath = {});
  // The handler may drive the dialog's widgets; its result is the dialog's.
  void AnswerDialog(std::function<TModalResult(QDialog*)> handler);

  const std::vector<Asked>& Questions() const { return asked_; }
  // Questions asked that had no scripted answer.
  int Unanswered() const { return unanswered_; }
  // Answers scripted but never asked for.
  int Pending() const;
  int Beeps() const;
  void Clear();

  TModalResult MessageBox(QWidget* owner, const QString& text, const QString& caption,
                          TMsgIcon icon, int buttons) override;
  bool OpenFileDialog(QWidget* owner, TFileDialogOptions& options) override;
  bool SaveFileDialog(QWidget* owner, TFileDialogOptions& options) override;
  bool FontDialog(QWidget* owner, QFont& font, QColor& color) override;
  bool ColorDialog(QWidget* owner, QColor& color) override;
  bool PrintDialog(QWidget* owner, QPrinter& printer) override;
  TModalResult ExecDialog(QDialog* dialog) override;
  void Beep() override;

  // The options of the last file dialog asked for.
  TFileDialogOptions lastFileOptions;

 private:
  std::vector<Asked> asked_;
  std::deque<TModalResult> messages_;
  std::deque<QString> openFiles_, saveFiles_;
  struct FontAnswer {
    bool ok;
    QFont font;
    QColor color;
  };
  std::deque<FontAnswer> fonts_;
  std::deque<std::pair<bool, QColor>> colors_;
  std::deque<std::function<TModalResult(QDialog*)>> dialogs_;
  std::deque<std::pair<bool, QString>> prints_;
  int unanswered_ = 0;
};
