#include "app/check/user_language.h"

#include <cstdlib>

Language user_language()
{
    // The order in which the C library itself consults them for messages.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return language_of_locale(value);
    }
    return Language::ENGLISH;
}
