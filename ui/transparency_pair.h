// The transparency edit and scroll bar of each layer row, kept in step within 0..100.
#pragma once

#include <windows.h>

// Takes the number typed into the layer's edit and moves its bar there.
void OnTransparencyEdit(HWND dialog, int layer);

// Moves the bar `bar` by the scroll `code` (thumb position `thumb`) and writes the value into
// its edit. A bar that belongs to no row is left alone.
void OnTransparencyScroll(HWND dialog, int code, int thumb, HWND bar);

// Sets every bar's range and position and every edit's text from the values held.
void ShowTransparencies(HWND dialog);

// The transparency the layer's bar stands for: the edit's number, brought within 0..100.
int ReadTransparency(HWND dialog, int layer);
