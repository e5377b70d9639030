/* Every number the program's resources, windows and messages share: read by the
   resource compiler (plain defines only) and by the code and its tests.
   Prefixes: IDI icon, IDB bitmap, IDM window command, IDC child control, IDT timer, ID other. */
#ifndef VSMR_BASE_RESOURCE_IDS_H
#define VSMR_BASE_RESOURCE_IDS_H

/* Icons: the large and small application icon, and the small one with a padlock
   that the notification area shows while the leave-room lock is on. */
#define IDI_APP_LARGE 201
#define IDI_APP_SMALL 202
#define IDI_APP_LOCKED 203

/* The built-in skin: clock face, launcher button faces and the two small buttons. */
#define IDB_SKIN 106

/* Window commands (WM_COMMAND ids of the main window). */
#define IDM_TRAY_TOGGLE 103     /* also the small button below the close button */
#define IDM_OPTIONS 104
#define IDM_HAND_OFF 111        /* a second start's command line (WM_COPYDATA dwData) */
#define IDM_APPEND_BUTTON 301
#define IDM_REMOVE_BUTTON 303
#define IDM_LAUNCHER_TOGGLE 305
#define IDM_VERSION 306
#define IDM_SET_BUTTON_COUNT 307 /* lParam: the new count */
#define IDM_MAIL_CHECK 308
#define IDM_LEAVE_TRAY 601
#define IDM_CLOSE 602           /* also the close button */
#define IDM_FIRST_BUTTON 701    /* launcher button p (0-63) is 701 + p */
#define IDM_LAUNCHER_ENTER 803  /* Enter or a double click in the launcher box */
#define IDM_MENU_CASCADE 2600   /* a command menu's cascade entry (runs nothing) */
#define IDM_FIRST_MENU_ENTRY 2601 /* command menu entry p (0-31) is 2601 + p */
#define IDM_MENU_CASCADE_INNER 2631 /* the one entry inside a cascade of a full menu */

/* Child controls and dialog items. */
#define IDC_STATIC_TEXT 300     /* the version dialog's fixed lines and icon */
#define IDC_LAUNCHER_BOX 802    /* the launcher box's combo box */
#define IDC_VERSION_LINE 2401   /* the version dialog's line that shows the instance name */
#define IDC_DROP_RUN 2501       /* the drop dialog: run the item with the files */
#define IDC_DROP_CHANGE 2502    /* the drop dialog: change the item to the file */

/* The command editor (CMDIPTDLG); its labels are IDC_STATIC_TEXT. */
#define IDC_CMD_NAME 1201
#define IDC_CMD_BODY 1202
#define IDC_CMD_FILE 1203       /* file chooser for the body */
#define IDC_CMD_DIR 1204        /* folder chooser for the body */
#define IDC_CMD_COMMENT 1205

/* The launcher item dialog (BTNIPTDLG); its icon box and labels are IDC_STATIC_TEXT. */
#define IDC_ITEM_PATH 1211
#define IDC_ITEM_FILE 1212
#define IDC_ITEM_DIR 1213
#define IDC_ITEM_COMMENT 1214
#define IDC_ITEM_PICK_ICON 1215 /* the shell's icon picker */

/* The mail account editor (MAILEDITDLG). */
#define IDC_MAIL_SERVER 2201
#define IDC_MAIL_USER 2202
#define IDC_MAIL_PASSWORD 2203
#define IDC_MAIL_SERVER_LABEL 2204
#define IDC_MAIL_USER_LABEL 2205
#define IDC_MAIL_PASSWORD_LABEL 2206
#define IDC_MAIL_SOUND 2208
#define IDC_MAIL_SOUND_BROWSE 2209
#define IDC_MAIL_SECURITY 2210  /* drop-down list: Mail%dSecurity 0, 1, 2 in list order */
#define IDC_MAIL_SECURITY_LABEL 2211
#define IDC_MAIL_PORT 2212      /* empty or 0: the security's usual port */
#define IDC_MAIL_PORT_LABEL 2213

/* The command timer editor (TIMEREDITDLG). */
#define IDC_TIMER_HOUR 2221
#define IDC_TIMER_MINUTE 2222
#define IDC_TIMER_HOUR_LABEL 2223
#define IDC_TIMER_MINUTE_LABEL 2224
#define IDC_TIMER_COMMAND 2225
#define IDC_TIMER_BROWSE 2226

/* The mail window (MAILDLG): its commands, controls, row state images and menus.
   107, 108 and 110 are the commands a mail check sends or posts to it. */
#define IDM_MAIL_ROWS 107         /* lParam -1: clear the list; row * 10 + slot: the row's account */
#define IDM_MAIL_COUNT 108        /* the number of rows into the status line */
#define IDM_MAIL_SHOWN 110        /* lParam: the row whose message was just shown */
#define IDM_MAIL_SOURCE 310
#define IDM_MAIL_FONT 321
#define IDM_MAIL_VERTICAL 322
#define IDM_MAIL_COPY 323
#define IDM_MAIL_SELECT_ALL 324
#define IDM_MAIL_DELETE 325
#define IDC_MAIL_LIST 2301
#define IDC_MAIL_STATUS 2302
#define IDC_MAIL_TEXT 2303
#define IDC_MAIL_SAVE 2304
#define IDC_MAIL_FORMAT 2305
#define IDB_MAIL_MULTIPART 112      /* multipart, not new */
#define IDB_MAIL_NEW 113            /* new, not multipart */
#define IDB_MAIL_NEW_MULTIPART 114  /* new and multipart */

/* The options dialog (MNOPTDLG). Switching tabs shows one id range per tab:
   timers 2111-2137, launcher items 2141-2144, commands 2151-2159, mail
   2161-2173, general 2181-2194. */
#define IDC_OPT_TABS 2101
#define IDC_OPT_TIMER_LIST 2111
#define IDC_OPT_TIMER_EDIT 2112
#define IDC_OPT_TIMER_LAST 2137
#define IDC_OPT_ITEM_LIST 2141
#define IDC_OPT_ITEM_EDIT 2142
#define IDC_OPT_ITEM_UP 2143
#define IDC_OPT_ITEM_DOWN 2144
#define IDC_OPT_CMD_LIST 2151
#define IDC_OPT_CMD_EDIT 2152
#define IDC_OPT_HOT_KEY 2153
#define IDC_OPT_HOT_KEY_LABEL 2154
#define IDC_OPT_CMD_UP 2155
#define IDC_OPT_CMD_DOWN 2156
#define IDC_OPT_CMD_ADD 2157
#define IDC_OPT_CMD_DELETE 2158
#define IDC_OPT_LAUNCHER_LENGTH 2159
#define IDC_OPT_MAIL_LIST 2161
#define IDC_OPT_MAIL_EDIT 2162
#define IDC_OPT_MAIL_LAUNCHER 2163
#define IDC_OPT_MAIL_LAUNCHER_WORD 2164
#define IDC_OPT_MAIL_KEEP_STATE 2165
#define IDC_OPT_AUTO_LABEL 2166
#define IDC_OPT_AUTO_HOURS 2167
#define IDC_OPT_AUTO_HOURS_LABEL 2168
#define IDC_OPT_AUTO_MINUTES 2169
#define IDC_OPT_AUTO_MINUTES_LABEL 2170
#define IDC_OPT_AUTO_SECONDS 2171
#define IDC_OPT_AUTO_SECONDS_LABEL 2172
#define IDC_OPT_MAIL_SHOW_WINDOW 2173
#define IDC_OPT_SKIN 2181
#define IDC_OPT_SKIN_BROWSE 2182
#define IDC_OPT_LOOK_GROUP 2183
#define IDC_OPT_FONT 2184
#define IDC_OPT_COLOR 2185
#define IDC_OPT_FONT_LABEL 2186
#define IDC_OPT_COLOR_LABEL 2187
#define IDC_OPT_SKIN_LABEL 2188
#define IDC_OPT_DROP_ASK 2189   /* the three drop radios, DropAction 0, 1, 2 in id order */
#define IDC_OPT_DROP_RUN 2190
#define IDC_OPT_DROP_CHANGE 2191
#define IDC_OPT_DROP_GROUP 2192
#define IDC_OPT_LEAVE_PASSWORD 2193 /* LeaveRoomPassword, shown as asterisks */
#define IDC_OPT_LEAVE_PASSWORD_LABEL 2194

/* Timers of the main window. */
#define IDT_CLOCK 101
#define IDT_SHUTDOWN 105
#define IDT_AUTO_MAIL 109
#define IDT_HAND_OFF 120        /* the rest of a long run of handed-over calls */

/* Timers of the mail window. */
#define IDT_MAIL_LIST_REDRAW 121 /* draws the rows added since drawing was paused */

/* The global hot key and the notification-area icon. */
#define ID_HOT_KEY 1101
#define ID_TRAY_ICON 801

#endif
