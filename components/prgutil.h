// Small routines shared by the windows.
#pragma once

#include <QString>
#include <cstdint>

class QTreeView;

// Scales the columns of a report list to its width: each column keeps its share
// of the current total, with the width of a vertical scroll bar left free.
// Does nothing while the list is not shown.
void FitListViewColumns(QTreeView* list);

// The program's version text, computed once while the application object is
// created and unchanged until exit: "%d.%d.%d.%d" or "(unknown)".
QString ProgramVersion();
// Formats the running executable's file version as "%d.%d.%d.%d" (decimal,
// no leading zeros); "(unknown)" when it cannot be read.
QString FormatProgramVersion();
// Reads the file version of the running executable. False when it has none
// or it cannot be read; the outputs are then unchanged.
bool ReadFileVersion(std::uint16_t& Major, std::uint16_t& Minor, std::uint16_t& Release,
                     std::uint16_t& Build);
