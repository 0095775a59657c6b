#include "platform/DateTimeText.h"

QString DateTimeToStr(const QDateTime& when, const QLocale& locale) {
  QString text = locale.toString(when.date(), QLocale::ShortFormat);
  if (when.time() != QTime(0, 0)) text += u' ' + locale.toString(when.time(), QLocale::LongFormat);
  return text;
}
