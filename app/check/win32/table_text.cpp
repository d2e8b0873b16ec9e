#include "app/check/table_text.h"

#include "base/win32/cp932_system.h"

Cp932TableText table_text()
{
    return cp932_system_table_text;
}
