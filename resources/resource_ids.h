#pragma once
// Control ids of the two dialog templates, shared by the resource script and the code.
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
