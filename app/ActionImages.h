// The main window's action pictures, drawn by the program itself so that every
// command shows a picture whatever icon theme the desktop has (or has not).
#pragma once

#include <QIcon>

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

// The picture of the main window.
QIcon MainWindowIcon();
