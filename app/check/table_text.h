#pragma once
// What the program's table gives back of a cell's text: the system's code
// page 932 conversion on Windows, its model (cp932_table_text) elsewhere.
#include "base/cp932.h"

Cp932TableText table_text();
