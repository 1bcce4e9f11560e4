// The module instance handle that WinMain keeps for every resource load.
#include "app_instance.h"

HINSTANCE appInstance;
