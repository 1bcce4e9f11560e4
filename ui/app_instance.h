// The module instance handle that WinMain keeps for every resource load.
#pragma once

#include "win32_api.h"

extern HINSTANCE appInstance;
