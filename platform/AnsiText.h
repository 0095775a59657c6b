// Windows-1252 text at the GUI boundary: the model keeps bytes, the widgets
// show QString. Every byte value round-trips (the five undefined bytes map to
// the C1 code points of the same value).
#pragma once

#include <QString>
#include <QStringView>
#include <QValidator>
#include <string>
#include <string_view>

QString AnsiToQString(std::string_view bytes);
// The same into out, which has room for bytes.size() code units.
void AnsiToUtf16(std::string_view bytes, char16_t* out);
// Characters that Windows-1252 cannot hold become '?'.
std::string QStringToAnsi(const QString& text);
// The text without leading and trailing characters of codes 0 to 32, as the
// list database trims its values.
QStringView TrimView(QStringView text);
bool IsAnsiRepresentable(QChar c);
bool IsAnsiRepresentable(const QString& text);
// The text with every character that Windows-1252 cannot hold (a surrogate
// pair counting as one) replaced by '?'; *replaced tells whether any was.
QString WithAnsiReplacements(const QString& text, bool* replaced = nullptr);

// For QLineEdit and QComboBox: refuses any text with a character that
// Windows-1252 cannot hold. (With one byte a character, maxLength counts bytes.)
class TAnsiValidator : public QValidator {
  Q_OBJECT
 public:
  explicit TAnsiValidator(QObject* parent = nullptr) : QValidator(parent) {}
  State validate(QString& input, int& pos) const override;
};
