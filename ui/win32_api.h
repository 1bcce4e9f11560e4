// <windows.h> for the dialog program's files.
#pragma once

#include <windows.h>

// windows.h maps ReplaceFile to ReplaceFileA, which would rename the engine's
// Platform::ReplaceFile in every file that sees both.
#undef ReplaceFile
