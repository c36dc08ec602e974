#include "sim_system_call.h"

int g_simSystemCalls = 0;
