// The steps that the compose and preview commands share before the engine runs.
#pragma once

#include <windows.h>

#include "dialog_texts.h"
#include "varnowel/composite_job.h"

// Copies the three rows of the dialog into `job` in layer order, each enabled row's file
// tested for existence before the next row is read. Returns false after `fileMissing` was
// shown for the first enabled row whose file is missing or whose path is too long to hold.
bool GatherLayers(HWND dialog, varnowel::CompositeJob& job, const DialogText& fileMissing);

// Reads the header of every enabled layer's file into bitDepth (24 for a row that is off).
// Returns false after its message: a file that does not open, or one that is not an
// uncompressed bottom-up 24-bit BMP.
bool CheckLayerFormats(HWND dialog, varnowel::CompositeJob& job);
