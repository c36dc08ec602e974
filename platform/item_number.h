// A control's text read as a number the way Microsoft documents GetDlgItemInt in
// unsigned mode. Both window systems convert the text themselves: Wine's
// GetDlgItemInt reads a sign that Windows does not ("-3" is 4294967293 there),
// and a player on either must get the same version from the same text.
#pragma once
#include <string>
#include "win_types.h"

// Leading spaces skipped, then decimal digits up to the end or the first other
// character; no digit (a sign is none), or a number beyond 32 bits, gives 0.
UINT UnsignedItemNumber(const std::string& text);
