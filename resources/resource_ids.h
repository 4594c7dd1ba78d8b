#pragma once
// Control ids of the dialog templates, shared by the resource script and the code.
#define IDC_GROUPBOX1 100
#define IDC_PORT_TEXT 101
#define IDC_BAUDRATE_TEXT 102
#define IDC_DATABITS_TEXT 103
#define IDC_PARITY_TEXT 104
#define IDC_STOPBITS_TEXT 105
#define IDC_STATUS_BYTE 107
#define IDC_STATUS_TEXT 108
#define IDC_PORT 109
#define IDC_BAUDRATE 110
#define IDC_DATABITS 111
#define IDC_PARITY 112
#define IDC_STOPBITS 113
#define IDC_BUTTON_STARTSTOP 114

#define IDC_MESSAGE 100

// The "Data rules" dialog.
#define IDC_RULES_LIST 200
#define IDC_RULE_MATCH 201
#define IDC_RULE_TYPE 202
#define IDC_RULE_ADD 203
#define IDC_RULE_REMOVE 204
#define IDC_RULE_UP 205
#define IDC_RULE_DOWN 206
#define IDC_RULE_TRY 207
#define IDC_RULE_RESULT 208

// Commands of the notification icon's menu and the window's system menu.
// Multiples of 16 below 0xF000: the system menu keeps the low four bits.
#define IDM_SHOW 0x0110
#define IDM_STOP 0x0120
#define IDM_TYPE_TEXT 0x0130
#define IDM_START_WITH_WINDOWS 0x0140
#define IDM_EXIT 0x0150

// "Ports on this computer": the greyed item shown when there is no port, and
// the item of COMn, IDM_PORT_FIRST + 16 * n (multiples of 16, as above).
#define IDM_PORTS_NONE 0x0FF0
#define IDM_PORT_FIRST 0x1000

// "Pause between keys": one item per pause, in the order of kKeyPauses
// (app/options.h), 16 apart.
#define IDM_KEY_PAUSE_FIRST 0x0200
#define IDM_KEY_PAUSE_STEP 0x0010

// "Data rules..."
#define IDM_DATA_RULES 0x0300

// "Device...": its menu item (0x0400, a multiple of 16 as above) and the
// controls of its dialog.
#define IDM_DEVICE 0x0400
#define IDM_PAUSE_TYPING 0x0440
#define IDC_DEVICE_PROMPT 0x0410
#define IDC_DEVICE_PROMPT_HOTKEY 0x0411
#define IDC_DEVICE_EVERY 0x0412
#define IDC_DEVICE_AT_START 0x0413
#define IDC_DEVICE_AFTER_RECORD 0x0414
#define IDC_DEVICE_PAUSE_HOTKEY 0x0415
#define IDC_DEVICE_REPEAT 0x0416
#define IDC_DEVICE_SEND_NOW 0x0417
#define IDC_DEVICE_ANSWER 0x0418
#define IDC_DEVICE_ANSWER_HEX 0x0419
