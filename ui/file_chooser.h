// The Open buttons: the platform's open-file dialog fills a layer row's path edit.
#pragma once

#include <windows.h>

// Lets the user pick the file of `layer` and writes it into the row's path edit. Cancel or a
// failed call leaves the edit and the row's remembered path as they were.
void BrowseLayerFile(HWND dialog, int layer);
