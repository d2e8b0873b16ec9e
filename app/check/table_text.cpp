#include "app/check/table_text.h"

Cp932TableText table_text()
{
    return cp932_table_text;
}
