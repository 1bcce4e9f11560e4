// The two commands that compose the layers: the result file, and the preview in the dialog.
#pragma once

#include <windows.h>

#include "varnowel/composite_job.h"

// Composes the dialog's layers into "fwrite.bmp" in the current directory and reports
// completion. Returns -1 after a missing-file message, else TRUE.
INT_PTR ComposeCommand(HWND dialog, varnowel::CompositeJob& job);

// Composes the dialog's layers into a temporary file, shows it in the preview picture and
// deletes the file. Returns -1 after a missing-file message, else TRUE.
INT_PTR PreviewCommand(HWND dialog, varnowel::CompositeJob& job);
