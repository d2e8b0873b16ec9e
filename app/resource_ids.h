#ifndef TAVECRON_RESOURCE_IDS_H
#define TAVECRON_RESOURCE_IDS_H
/* Resource ids, shared by the resource script and the C++ code; the menu
   command ids (IDM_*) come from the commands, which assign them too. */
#include "commands/command_ids.h"

#define IDI_MAIN 102
#define IDI_SPARE 103
#define IDR_MAINMENU 104
#define IDR_ACCEL 105

#endif
