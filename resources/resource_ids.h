// Resource and control identifiers, shared by the resource script, the two
// windows and the programs that drive Quadsum.exe from outside.
#pragma once
#define IDI_QUADSUM 1

// Main window. "Close" is IDOK, its default button: Enter ends the program.
#define IDC_MAIN_LABEL1 101
#define IDC_MAIN_TEXT1 102
#define IDC_MAIN_COMMAND2 103
#define IDC_MAIN_LABEL2 104
#define IDC_MAIN_TEXT2 105
#define IDC_MAIN_COMMAND3 106
#define IDC_MAIN_IMAGE1 107

// Lookup dialog. "&Lookup" is IDOK (Enter), "Close" is IDCANCEL (Esc).
#define IDC_LOOKUP_LABEL1 101
#define IDC_LOOKUP_TEXT1 102
#define IDC_LOOKUP_COMMAND3 103
#define IDC_LOOKUP_TEXT2 104
