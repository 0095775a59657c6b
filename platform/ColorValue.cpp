#include "platform/ColorValue.h"

#include <QApplication>
#include <QPalette>

namespace {

// The palette role standing in for each system colour index.
QColor SystemColor(int index) {
  const QPalette pal = QApplication::palette();
  using P = QPalette;
  switch (index) {
    case 0:
      return pal.color(P::Button);  // scroll bar
    case 1:
      return pal.color(P::Dark);  // desktop
    case 2:
      return pal.color(P::Active, P::Highlight);  // active caption
    case 3:
      return pal.color(P::Inactive, P::Highlight);  // inactive caption
    case 4:
      return pal.color(P::Window);  // menu
    case 5:
      return pal.color(P::Base);  // window
    case 6:
      return pal.color(P::Shadow);  // window frame
    case 7:
      return pal.color(P::WindowText);  // menu text
    case 8:
      return pal.color(P::Text);  // window text
    case 9:
      return pal.color(P::Active, P::HighlightedText);  // caption text
    case 10:
      return pal.color(P::Window);  // active border
    case 11:
      return pal.color(P::Window);  // inactive border
    case 12:
      return pal.color(P::Dark);  // application work space
    case 13:
      return pal.color(P::Highlight);
    case 14:
      return pal.color(P::HighlightedText);
    case 15:
      return pal.color(P::Button);  // button face
    case 16:
      return pal.color(P::Dark);  // button shadow
    case 17:
      return pal.color(P::Disabled, P::Text);  // grey text
    case 18:
      return pal.color(P::ButtonText);
    case 19:
      return pal.color(P::Inactive, P::HighlightedText);  // inactive caption text
    case 20:
      return pal.color(P::Light);  // button highlight
    case 21:
      return pal.color(P::Shadow);  // 3D dark shadow
    case 22:
      return pal.color(P::Midlight);  // 3D light
    case 23:
      return pal.color(P::ToolTipText);  // info text
    case 24:
      return pal.color(P::ToolTipBase);  // info background
    case 26:
      return pal.color(P::Link);  // hot light
    case 27:
      return pal.color(P::Active, P::Highlight);  // gradient active caption
    case 28:
      return pal.color(P::Inactive, P::Highlight);  // gradient inactive caption
    case 29:
      return pal.color(P::Highlight);  // menu highlight
    case 30:
      return pal.color(P::Window);  // menu bar
    default:
      return QColor();
  }
}

}  // namespace

QColor ColorValueToQColor(TColorValue value) {
  if (value == clNone) return QColor();
  if (value == clDefault) return QApplication::palette().color(QPalette::Text);
  if (value & kSystemColorFlag) return SystemColor(int(value & 0xFF));
  // $02BBGGRR is an explicit RGB value too; other high bytes name nothing.
  if ((value >> 24) != 0 && (value >> 24) != 2) return QColor();
  return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}
