#include "components/ControlSupport.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace {

class TEdgeDock : public QObject {
 public:
  TEdgeDock(QWidget* control, TDockEdge edge) : QObject(control), control_(control), edge_(edge) {
    control->installEventFilter(this);
    Watch(control->parentWidget());
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (watched == control_ && type == QEvent::ParentChange) {
      Watch(control_->parentWidget());
    } else if (type == QEvent::Resize &&
               (watched == control_ || (parent_ && watched == parent_.data()))) {
      Place();
    }
    return false;
  }

 private:
  void Watch(QWidget* parent) {
    if (parent_) parent_->removeEventFilter(this);
    parent_ = parent;
    if (parent_) parent_->installEventFilter(this);
    Place();
  }

  void Place() {
    if (!parent_) return;
    const int height = control_->height();
    const int top = edge_ == TDockEdge::Top ? 0 : parent_->height() - height;
    const QRect wanted(0, top, parent_->width(), height);
    if (control_->geometry() != wanted) control_->setGeometry(wanted);
  }

  QWidget* control_;
  QPointer<QWidget> parent_;
  TDockEdge edge_;
};

}  // namespace

void DockToParent(QWidget* control, TDockEdge edge) {
  if (control) new TEdgeDock(control, edge);
}
