// The engine's file-system services on Windows.
#include "native_platform.h"
