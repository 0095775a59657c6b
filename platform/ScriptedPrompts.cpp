#include "platform/ScriptedPrompts.h"

#include <QDebug>
#include <QDialog>
#include <QPrinter>
#include <optional>

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
                          colors_.size() + prints_.size() + dialogs_.size());
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

// The next scripted answer of a kind; none, counted and reported, when the
// script has run out.
template <typename T>
std::optional<T> TakeAnswer(std::deque<T>& answers, int& unanswered, const char* kind,
                            const QString& text) {
  if (answers.empty()) {
    ++unanswered;
    qWarning().noquote() << "TScriptedPrompts: unanswered" << kind << "question:" << text;
    return std::nullopt;
  }
  T answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

// A file dialog's answer: a path, or an empty one for Cancel.
bool TakeFileAnswer(std::deque<QString>& answers, int& unanswered, const char* kind,
                    TFileDialogOptions& options) {
  const std::optional<QString> path = TakeAnswer(answers, unanswered, kind, options.title);
  if (!path || path->isEmpty()) return false;
  options.fileName = *path;
  return true;
}

}  // namespace

TModalResult TScriptedPrompts::MessageBox(QWidget*, const QString& text, const QString& caption,
                                          TMsgIcon icon, int buttons) {
  asked_.push_back({Asked::Message, text, caption, icon, buttons});
  return TakeAnswer(messages_, unanswered_, "message", text).value_or(TModalResult::Cancel);
}

bool TScriptedPrompts::OpenFileDialog(QWidget*, TFileDialogOptions& options) {
  asked_.push_back({Asked::OpenFile, options.title, {}, TMsgIcon::None, 0});
  lastFileOptions = options;
  return TakeFileAnswer(openFiles_, unanswered_, "open file", options);
}

bool TScriptedPrompts::SaveFileDialog(QWidget*, TFileDialogOptions& options) {
  asked_.push_back({Asked::SaveFile, options.title, {}, TMsgIcon::None, 0});
  lastFileOptions = options;
  return TakeFileAnswer(saveFiles_, unanswered_, "save file", options);
}

bool TScriptedPrompts::FontDialog(QWidget*, QFont& font, QColor& color) {
  asked_.push_back({Asked::Font, {}, {}, TMsgIcon::None, 0});
  const auto a = TakeAnswer(fonts_, unanswered_, "font", {});
  if (!a || !a->ok) return false;
  font = a->font;
  color = a->color;
  return true;
}

bool TScriptedPrompts::ColorDialog(QWidget*, QColor& color) {
  asked_.push_back({Asked::Color, {}, {}, TMsgIcon::None, 0});
  const auto a = TakeAnswer(colors_, unanswered_, "colour", {});
  if (!a || !a->first) return false;
  color = a->second;
  return true;
}

bool TScriptedPrompts::PrintDialog(QWidget*, QPrinter& printer) {
  asked_.push_back({Asked::Print, {}, {}, TMsgIcon::None, 0});
  const auto a = TakeAnswer(prints_, unanswered_, "print", {});
  if (!a) return false;
  if (a->first && !a->second.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(a->second);
  }
  return a->first;
}

TModalResult TScriptedPrompts::ExecDialog(QDialog* dialog) {
  const QString title = dialog ? dialog->windowTitle() : QString();
  asked_.push_back({Asked::Dialog, title, {}, TMsgIcon::None, 0});
  if (!dialog) {
    ++unanswered_;
    qWarning().noquote() << "TScriptedPrompts: no dialog to answer";
    return TModalResult::Cancel;
  }
  const auto handler = TakeAnswer(dialogs_, unanswered_, "dialog", title);
  return handler && *handler ? (*handler)(dialog) : TModalResult::Cancel;
}

void TScriptedPrompts::Beep() { asked_.push_back({Asked::Beep, {}, {}, TMsgIcon::None, 0}); }
