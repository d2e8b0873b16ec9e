#pragma once
// The language of the user running the checker.
#include "schedule/check/check_messages.h"

// Windows: Japanese when the user's UI language is Japanese. Elsewhere:
// Japanese when the first of LC_ALL, LC_MESSAGES and LANG that is set and
// not empty starts with "ja". English otherwise.
Language user_language();
