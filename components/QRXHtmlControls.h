// A tiny inline markup for styled one-line texts and the controls that show
// it: <b> </b> <i> </i> <u> </u> switch bold, italic and underline, <c:name>
// sets the font colour. Every other '<' is an ordinary character. Lines break
// at CR LF, CR or LF; nothing is wrapped. The font state lives in the canvas,
// so it carries from one line to the next of the same text.
#pragma once

#include <QColor>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <cstdint>

#include "components/Accessibility.h"
#include "platform/ColorValue.h"

class TCanvas;

// --- colours ---

struct THtmlColorName {
  const char* name;
  TColorValue value;
};
// The 52 names a colour tag may use (with "cl" in front).
const THtmlColorName* HtmlColorTable();
constexpr int kHtmlColorCount = 52;

// Resolves the name of a colour tag: "$" + hex digits ($BBGGRR), or a table
// name without its "cl" prefix, case-insensitive. False when it names nothing.
bool HtmlResolveColor(const QString& name, QColor& color);

// --- the line renderer ---

struct THtmlLineResult {
  int width = 6;  // pixels: the segments' widths plus 6
  QString plain;  // the line without its tags
};

// Draws (or with measureOnly, only measures) one line at rect.left + 2,
// rect.top, applying the tags to the canvas's font as it goes. Without a
// canvas nothing is drawn or measured and the width is 6.
THtmlLineResult HtmlRenderLine(TCanvas* canvas, const QRect& rect, const QString& line,
                               bool measureOnly);
void HtmlDrawLine(TCanvas& canvas, const QRect& rect, const QString& line);
int HtmlLineWidth(TCanvas& canvas, const QRect& rect, const QString& line);
inline int HtmlLineWidth(TCanvas& canvas, const QString& line) {
  return HtmlLineWidth(canvas, QRect(), line);
}
// The text with every recognised tag removed; line breaks stay.
QString HtmlPlainText(const QString& text);

// --- the label ---

// Assistive technology reads the label as static text: its caption without
// the tags, line by line.
class TQRX_htmlLabel : public QWidget, public TAccessibleText {
  Q_OBJECT
 public:
  enum class TAlignment { LeftJustify, RightJustify, Center };
  enum class TTextLayout { Top, Center, Bottom };

  explicit TQRX_htmlLabel(QWidget* parent = nullptr);

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout l);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on);
  // The background; invalid (the default) takes the parent's window colour.
  QColor Color() const;
  void SetColor(const QColor& color);
  // The text colour: the palette's window-text colour.
  QColor FontColor() const;
  void SetFontColor(const QColor& color);

  // The auto size of the caption measured on a canvas: the widest line and
  // the height of "W" times the number of lines. The canvas's font style and
  // colour are restored afterwards.
  QSize MeasureCaption(TCanvas& canvas) const;
  // Sets the size from the caption when AutoSize is on; a right-justified
  // label keeps its right edge.
  void AdjustLabelSize();
  // Paints the label on a canvas whose origin is the label's top-left.
  void PaintTo(TCanvas& canvas) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

  QAccessible::Role AccessibleRole() const override { return QAccessible::StaticText; }
  QString AccessibleName() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void PrepareCanvas(TCanvas& canvas) const;
  QString caption_;
  bool autoSize_ = true;
  TAlignment alignment_ = TAlignment::LeftJustify;
  TTextLayout layout_ = TTextLayout::Top;
  bool transparent_ = false;
  QColor color_;
  bool loading_ = true;
};

// --- the hint window ---

// Assistive technology reads the window as a tool tip whose name and
// description are the hint's text without its tags, as it reads the
// platform's own tool tips.
class TQRX_htmlHintWindow : public QWidget, public TAccessibleText {
  Q_OBJECT
 public:
  explicit TQRX_htmlHintWindow(QWidget* parent = nullptr);

  TQRX_htmlLabel* Label() const { return label_; }
  // The window's rectangle for a hint: (0, 0, label width + 6, label height
  // + 2); never wrapped, maxWidth is ignored. Rewrites the application's hint
  // hide pause when it is above 0: max(2500, 50 x the plain text's length).
  QRect CalcHintRect(int maxWidth, const QString& hint);
  // Shows the window with the hint's text at the top-left corner given in
  // screen coordinates (kept on the screen).
  void ActivateHint(const QPoint& topLeftGlobal, const QString& hint);

  QAccessible::Role AccessibleRole() const override { return QAccessible::ToolTip; }
  QString AccessibleName() const override;
  QString AccessibleDescription() const override { return AccessibleName(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TQRX_htmlLabel* label_;
};

// Makes the markup hint window the hint window of the whole application.
class TQRX_HintEx : public QObject {
  Q_OBJECT
 public:
  explicit TQRX_HintEx(QObject* parent = nullptr);

  // Installs the application-wide tool tip filter and sets the hint pause to
  // 500 ms and the hint hide pause to 4000 ms.
  void Install();
  static bool Installed();

  // Shows a markup hint at once; it hides when the pointer leaves keepRect
  // (screen coordinates, empty: never for leaving) or when the hide pause
  // runs out. The same text with the same rectangle again keeps it.
  static void ShowHint(const QString& markup, const QPoint& topLeftGlobal, QWidget* owner,
                       const QRect& keepRectGlobal);
  static void HideHint();
  static bool HintVisible();
  static QString CurrentHint();
  // The hint window in use (created on first need).
  static TQRX_htmlHintWindow* HintWindow();

  static int HintPause();
  static void SetHintPause(int ms);
  static int HintHidePause();
  static void SetHintHidePause(int ms);
};
