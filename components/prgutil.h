// Small routines shared by the windows.
#pragma once

class QTreeView;

// Scales the columns of a report list to its width: each column keeps its share
// of the current total, with the width of a vertical scroll bar left free.
// Does nothing while the list is not shown.
void FitListViewColumns(QTreeView* list);
