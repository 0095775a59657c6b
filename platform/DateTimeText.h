// Dates and times as the user's locale writes them.
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// The date in the locale's short date format followed by a blank and the time
// in its long time format; the time is left out when it is exactly midnight.
QString DateTimeToStr(const QDateTime& when, const QLocale& locale = QLocale::system());
