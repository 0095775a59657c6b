// The main window's action pictures, drawn by the program itself so that every
// command shows a picture whatever icon theme the desktop has (or has not).
#pragma once

#include <QIcon>
#include <QImage>

class QPainter;

// Indexes of the action image list.
enum TActionImage : int {
  aiNewFile = 0,
  aiOpenFile = 1,
  aiSaveFile = 2,
  aiSaveAs = 3,
  aiPrint = 4,
  aiNewRecord = 5,
  aiEditRecord = 6,
  aiDeleteRecord = 7,
  aiProperties = 8,
  aiSendToPalm = 9,
  aiExit = 10,
  aiCategories = 11,
  aiAbout = 12,
  aiFont = 13,
  aiFavorites = 14,
  aiExport = 15,
  aiRecentFile = 16,
  aiColor = 17,
  aiGridLines = 18,
  aiFind = 19,
  aiFindAgain = 20,
  aiCopy = 21,
  aiImport = 22,
  aiChangeCategory = 23,
};

inline constexpr int kActionImageCount = 24;

// The picture at index (16 x 16, with a 32 x 32 form for dense screens); an
// index outside 0..23 gives a null icon.
QIcon ActionImage(int index);

// The picture of the main window, drawn on a 16 x 16 grid: the painter is
// scaled for larger forms. The installed icons are drawn by the same function,
// so the desktop's menu shows the window's own picture.
void DrawMainWindowIcon(QPainter& p);

// The main window's picture at size x size pixels, transparent around it.
QImage MainWindowImage(int size);

// The picture of the main window (16, 32 and 48 pixels).
QIcon MainWindowIcon();
