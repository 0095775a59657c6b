// The band along the top of a wizard: a bold header line, a sub-header line
// below it and a small picture at the right, on the window colour.
#pragma once

#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include "components/Accessibility.h"
#include "components/ControlSupport.h"

// A line of the header: assistive technology reads it as a heading, so the
// header's caption and sub-header (the page's caption) head the page.
class TQRX_HeadingLabel : public QLabel, public TAccessibleText {
  Q_OBJECT
 public:
  explicit TQRX_HeadingLabel(const QString& text, QWidget* parent = nullptr);

  QAccessible::Role AccessibleRole() const override { return QAccessible::Heading; }
  QString AccessibleName() const override { return text(); }
};

class TQRX_WizardHeader : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kHeaderHeight = 48;
  static constexpr int kImageSize = 32;

  // Docks to the top of its parent, 48 pixels high (at least 120 x 48).
  explicit TQRX_WizardHeader(QWidget* parent = nullptr);

  QPixmap Picture() const;
  void SetPicture(const QPixmap& picture);
  QString Header() const;
  void SetHeader(const QString& text);
  QString SubHeader() const;
  void SetSubHeader(const QString& text);
  QFont HeaderFont() const;
  void SetHeaderFont(const QFont& font);
  QFont SubHeaderFont() const;
  void SetSubHeaderFont(const QFont& font);

  QLabel* ImageLabel() const { return FImage; }
  QLabel* HeaderLabel() const { return FHeaderLabel; }
  QLabel* SubHeaderLabel() const { return FSubHeaderLabel; }

  // Fired with the header as Sender when the picture is clicked.
  TNotifyEvent OnPictureImageClick;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Sizes the labels to their texts and places the three parts.
  void Arrange();

  QLabel* FImage;
  TQRX_HeadingLabel* FHeaderLabel;
  TQRX_HeadingLabel* FSubHeaderLabel;
  bool FImagePressed = false;
};
