// What the program's own controls tell assistive technology: the text they
// paint themselves (markup labels, the hint window, headings, pictures), and
// names for controls that show no label of their own.
#pragma once

#include <QAccessible>
#include <QString>

class QWidget;

// A widget whose text is painted, or whose spoken text says more than the
// text it shows, implements this; its accessible interface then has the
// given role, name and description. The widget's accessibleName and
// accessibleDescription, when set, still come first.
class TAccessibleText {
 public:
  virtual ~TAccessibleText() = default;
  virtual QAccessible::Role AccessibleRole() const = 0;
  virtual QString AccessibleName() const = 0;
  virtual QString AccessibleDescription() const { return QString(); }
};

// Makes the accessibility layer ask TAccessibleText widgets for their texts.
// Safe to call more than once; the widgets that implement it call it.
void InstallAccessibleText();

// Tells assistive technology that the text of a TAccessibleText widget
// changed (its name, and with it what a reader announces).
void NotifyAccessibleTextChanged(QWidget* widget);

// Tells assistive technology that a window it would not hear of came up:
// the toolkit keeps quiet when a tool-tip window shows.
void NotifyAccessibleShown(QWidget* widget);

// Names a control that has no label on screen. Item views and edits read
// the accessible name; a combo box on Linux speaks its value as its name and
// takes what it is from the label that names it as its buddy, so a combo box
// also gets a hidden buddy label with the name.
void SetAccessibleLabel(QWidget* control, const QString& name);
