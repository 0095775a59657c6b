// The pictures of the record list, drawn in code so they exist everywhere:
// 0 = the record at the start of every row, 1 = the header mark of a column
// sorted ascending, 2 = the header mark of a column sorted descending.
#pragma once

#include <QIcon>
#include <QPixmap>

inline constexpr int kRecordImage = 0;
inline constexpr int kSortAscendingImage = 1;
inline constexpr int kSortDescendingImage = 2;
inline constexpr int kRecImageSize = 16;

// The picture of the given index at size x size pixels; a null pixmap for an
// index that names no picture.
QPixmap RecImagePixmap(int index, int size = kRecImageSize);
// The picture as an icon (16 and 32 pixel forms); a null icon for an unknown
// index (including -1, "no image").
QIcon RecImageIcon(int index);
