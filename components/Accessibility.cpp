#include "components/Accessibility.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QVariant>
#include <QWidget>

namespace {

constexpr const char* kHiddenLabel = "vornikHiddenLabel";

class TAccessibleTextInterface : public QAccessibleWidget {
 public:
  TAccessibleTextInterface(QWidget* widget, const TAccessibleText* source)
      : QAccessibleWidget(widget, source->AccessibleRole()), source_(source) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) {
      const QString set = widget()->accessibleName();
      return set.isEmpty() ? source_->AccessibleName() : set;
    }
    if (t == QAccessible::Description) {
      const QString set = widget()->accessibleDescription();
      return set.isEmpty() ? source_->AccessibleDescription() : set;
    }
    return QAccessibleWidget::text(t);
  }

 private:
  const TAccessibleText* source_;
};

QAccessibleInterface* AccessibleTextFactory(const QString& /*className*/, QObject* object) {
  // The class chain is tried from the most derived class up, so a widget of
  // the program's own is answered before the standard interface of its base.
  auto* widget = qobject_cast<QWidget*>(object);
  if (!widget) return nullptr;
  const auto* source = dynamic_cast<const TAccessibleText*>(widget);
  return source ? new TAccessibleTextInterface(widget, source) : nullptr;
}

}  // namespace

void InstallAccessibleText() {
  static const bool installed = [] {
    QAccessible::installFactory(&AccessibleTextFactory);
    return true;
  }();
  (void)installed;
}

void NotifyAccessibleTextChanged(QWidget* widget) {
  if (!widget || !QAccessible::isActive()) return;
  QAccessibleEvent event(widget, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&event);
}

void NotifyAccessibleShown(QWidget* widget) {
  if (!widget || !QAccessible::isActive()) return;
  QAccessibleEvent event(widget, QAccessible::ObjectShow);
  QAccessible::updateAccessibility(&event);
}

void SetAccessibleLabel(QWidget* control, const QString& name) {
  control->setAccessibleName(name);
  auto* combo = qobject_cast<QComboBox*>(control);
  if (!combo || !control->parentWidget()) return;
  QLabel* label = nullptr;
  for (QLabel* sibling :
       control->parentWidget()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
    if (sibling->buddy() == control && sibling->property(kHiddenLabel).toBool()) label = sibling;
  if (!label) {
    label = new QLabel(control->parentWidget());
    label->setProperty(kHiddenLabel, true);
    label->setTextFormat(Qt::PlainText);
    label->hide();
    label->setBuddy(control);
    // Controls made and dropped while their window stays (a table's cell
    // widgets) take their hidden label with them.
    QObject::connect(control, &QObject::destroyed, label, [label] { delete label; });
  }
  label->setText(name);
  // An editable combo box's text field is what takes the typing.
  if (combo->lineEdit()) combo->lineEdit()->setAccessibleName(name);
}
