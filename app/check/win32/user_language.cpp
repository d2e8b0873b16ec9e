#include "app/check/user_language.h"

#include <windows.h>

Language user_language()
{
    // The language of the user's menus and dialogs, not the format of dates
    // and numbers (the user's locale), which may differ.
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? Language::JAPANESE : Language::ENGLISH;
}
