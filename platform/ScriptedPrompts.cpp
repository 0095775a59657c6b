#include "platform/ScriptedPrompts.h"

#include <QDebug>
#include <QDialog>
#include <QPrinter>

TScriptedPrompts::TScriptedPrompts() { SetPrompts(this); }

TScriptedPrompts::~TScriptedPrompts() {
  if (&Prompts() == this) SetPrompts(nullptr);
}

void TScriptedPrompts::AnswerMessage(TModalResult result) { messages_.push_back(result); }
void TScriptedPrompts::AnswerOpenFile(const QString& path) { openFiles_.push_back(path); }
void TScriptedPrompts::AnswerSaveFile(const QString& path) { saveFiles_.push_back(path); }

void TScriptedPrompts::AnswerFont(bool ok, const QFont& font, const QColor& color) {
  fonts_.push_back({ok, font, color});
}

void TScriptedPrompts::AnswerColor(bool ok, const QColor& color) {
  colors_.emplace_back(ok, color);
}

void TScriptedPrompts::AnswerPrint(bool ok, const QString& pdfPath) {
  prints_.emplace_back(ok, pdfPath);
}

void TScriptedPrompts::AnswerDialog(std::function<TModalResult(QDialog*)> handler) {
  dialogs_.push_back(std::move(handler));
}

int TScriptedPrompts::Pending() const {
  return static_cast<int>(messages_.size() + openFiles_.size() + saveFiles_.size() + fonts_.size() +
                          colors_.size() + dialogs_.size());
}

int TScriptedPrompts::Beeps() const {
  int n = 0;
  for (const Asked& a : asked_) n += a.kind == Asked::Beep;
  return n;
}

void TScriptedPrompts::Clear() {
  asked_.clear();
  messages_.clear();
  openFiles_.clear();
  saveFiles_.clear();
  fonts_.clear();
  colors_.clear();
  dialogs_.clear();
  prints_.clear();
  unanswered_ = 0;
  lastFileOptions = {};
}

namespace {
void ReportUnanswered(const char* kind, const QString& text) {
  qWarning().noquote() << "TScriptedPrompts: unanswered" << kind << "question:" << text;
}
}  // namespace

TModalResult TScriptedPrompts::MessageBox(QWidget*, const QString& text, const QString& caption,
                                          TMsgIcon icon, int buttons) {
  asked_.push_back({Asked::Message, text, caption, icon, buttons});
  if (messages_.empty()) {
    ++unanswered_;
    ReportUnanswered("message", text);
    return TModalResult::Cancel;
  }
  const TModalResult r = messages_.front();
  messages_.pop_front();
  return r;
}

bool TScriptedPrompts::OpenFileDialog(QWidget*, TFileDialogOptions& options) {
  asked_.push_back({Asked::OpenFile, options.title, {}, TMsgIcon::None, 0});
  lastFileOptions = options;
  if (openFiles_.empty()) {
    ++unanswered_;
    ReportUnanswered("open file", options.title);
    return false;
  }
  const QString path = openFiles_.front();
  openFiles_.pop_front();
  if (path.isEmpty()) return false;
  options.fileName = path;
  return true;
}

bool TScriptedPrompts::SaveFileDialog(QWidget*, TFileDialogOptions& options) {
  asked_.push_back({Asked::SaveFile, options.title, {}, TMsgIcon::None, 0});
  lastFileOptions = options;
  if (saveFiles_.empty()) {
    ++unanswered_;
    ReportUnanswered("save file", options.title);
    return false;
  }
  const QString path = saveFiles_.front();
  saveFiles_.pop_front();
  if (path.isEmpty()) return false;
  options.fileName = path;
  return true;
}

bool TScriptedPrompts::FontDialog(QWidget*, QFont& font, QColor& color) {
  asked_.push_back({Asked::Font, {}, {}, TMsgIcon::None, 0});
  if (fonts_.empty()) {
    ++unanswered_;
    ReportUnanswered("font", {});
    return false;
  }
  const FontAnswer a = fonts_.front();
  fonts_.pop_front();
  if (!a.ok) return false;
  font = a.font;
  color = a.color;
  return true;
}

bool TScriptedPrompts::ColorDialog(QWidget*, QColor& color) {
  asked_.push_back({Asked::Color, {}, {}, TMsgIcon::None, 0});
  if (colors_.empty()) {
    ++unanswered_;
    ReportUnanswered("colour", {});
    return false;
  }
  const auto a = colors_.front();
  colors_.pop_front();
  if (!a.first) return false;
  color = a.second;
  return true;
}

bool TScriptedPrompts::PrintDialog(QWidget*, QPrinter& printer) {
  asked_.push_back({Asked::Print, {}, {}, TMsgIcon::None, 0});
  if (prints_.empty()) {
    ++unanswered_;
    ReportUnanswered("print", {});
    return false;
  }
  const auto a = prints_.front();
  prints_.pop_front();
  if (a.first && !a.second.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(a.second);
  }
  return a.first;
}

TModalResult TScriptedPrompts::ExecDialog(QDialog* dialog) {
  asked_.push_back(
      {Asked::Dialog, dialog ? dialog->windowTitle() : QString(), {}, TMsgIcon::None, 0});
  if (dialogs_.empty() || !dialog) {
    ++unanswered_;
    ReportUnanswered("dialog", dialog ? dialog->windowTitle() : QString());
    return TModalResult::Cancel;
  }
  auto handler = std::move(dialogs_.front());
  dialogs_.pop_front();
  return handler ? handler(dialog) : TModalResult::Cancel;
}

void TScriptedPrompts::Beep() { asked_.push_back({Asked::Beep, {}, {}, TMsgIcon::None, 0}); }
