// The module instance handle that WinMain keeps for every resource load.
#pragma once

#include <windows.h>

extern HINSTANCE appInstance;
