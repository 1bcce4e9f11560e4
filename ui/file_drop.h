// Files dropped from Explorer onto the main dialog fill the layer rows' path edits.
#pragma once

#include <windows.h>
#include <shellapi.h>

// Writes the dropped files into the path edits: the first into the row under the drop point
// (the first row when the point is on no row), the next ones into the rows below it, in the
// order given. Folders and files beyond the last row are left out; nothing else changes.
// Releases `drop`.
void OnFilesDropped(HWND dialog, HDROP drop);
