#ifndef TAVECRON_COMMAND_IDS_H
#define TAVECRON_COMMAND_IDS_H
/* Menu command ids (WM_COMMAND), shared by the resource script, the main
   window and the command table, which assigns a built-in command to a row by
   its IDM_CMD_* id. Plain #defines, so that the resource compiler reads them. */

#define IDM_EXIT 40002
#define IDM_OPEN 40003
#define IDM_SAVE 40004
#define IDM_CUT 40005
#define IDM_SELECTALL 40006
#define IDM_INVERT 40007
#define IDM_ADDITEM 40008
#define IDM_CMD_NOACTION 40010
#define IDM_CMD_SYSTEM 40011
#define IDM_CMD_SETWP 40012
#define IDM_TEST 40013

#endif
