/* Command identifiers, resource numbers and the texts of the window, menu and
   information boxes: the one place both front ends take them from. Plain
   macros, so the Windows resource script can include this file too. */
#ifndef LUMISTRA_APP_UI_TEXT_H
#define LUMISTRA_APP_UI_TEXT_H

/* Menu commands. */
#define IDM_OPEN 32771
#define IDM_SAVE 32772
#define IDM_RESET 32773
#define IDM_EXIT 105
#define IDM_ABOUT 104
#define IDM_HOW_TO_USE 32775
#define IDM_NEW_LAMP 32776
#define IDM_SCALE_TO_FLUX 32777
#define IDM_SCALE_TO_PEAK 32778
#define IDM_BEAM_ANGLE 32779
#define IDM_KEEP_FLUX 32780
#define IDM_PROPERTIES 32781

/* Resources of the Windows program. */
#define IDD_MAIN 129
#define IDR_MENU 109
#define IDD_ABOUT 103
#define IDD_HELP 130
#define IDI_APP 107
#define IDD_ASK_NUMBERS 131
#define IDD_PROPERTIES 132

/* The controls of the number dialog: two rows of a label and a field. */
#define IDC_ASK_LABEL1 1001
#define IDC_ASK_FIELD1 1002
#define IDC_ASK_LABEL2 1003
#define IDC_ASK_FIELD2 1004

/* The text of the Properties box. */
#define IDC_PROPERTIES_TEXT 1005

/* Window, menu and box texts ("&" marks a mnemonic). */
#define TEXT_TITLE "Lumistra"
#define TEXT_MENU_FILE "&File"
#define TEXT_MENU_OPEN "Open"
#define TEXT_MENU_SAVE "Save"
#define TEXT_MENU_RESET "Reset"
#define TEXT_MENU_EXIT "E&xit"
#define TEXT_MENU_LAMP "&Lamp"
#define TEXT_MENU_NEW_LAMP "&New lamp..."
#define TEXT_MENU_SCALE_TO_FLUX "Scale to &flux..."
#define TEXT_MENU_SCALE_TO_PEAK "Scale to &peak..."
#define TEXT_MENU_BEAM_ANGLE "&Beam angle..."
#define TEXT_MENU_KEEP_FLUX "&Keep flux while drawing"
#define TEXT_MENU_PROPERTIES "P&roperties..."
#define TEXT_MENU_HELP "&Help"
#define TEXT_MENU_ABOUT "&About ..."
#define TEXT_MENU_HOW_TO_USE "How to use"

#define TEXT_ABOUT_CAPTION "About"
#define TEXT_ABOUT_VERSION "Lumistra Version 4.0"
#define TEXT_HELP_CAPTION "Help"
#define TEXT_PROPERTIES_CAPTION "Properties"
#define TEXT_HELP_LINE1 "Use left mouse button for drawing"
#define TEXT_HELP_LINE2 "Use middle mouse button and scrolling"
#define TEXT_HELP_LINE3 "for navigation"
#define TEXT_HELP_LINE4 "Use mouse scrolling + CTRL key for"
#define TEXT_HELP_LINE5 "light moving from wall"
#define TEXT_OK "OK"
#define TEXT_DONT_SAVE "Do&n't Save"
#define TEXT_CANCEL "Cancel"

/* The number dialogs of the Lamp menu: captions and field labels. */
#define TEXT_NEW_LAMP_CAPTION "New lamp"
#define TEXT_SCALE_TO_FLUX_CAPTION "Scale to flux"
#define TEXT_SCALE_TO_PEAK_CAPTION "Scale to peak"
#define TEXT_BEAM_ANGLE_CAPTION "Beam angle"
#define TEXT_BEAM_ANGLE_LABEL "&Beam angle (degrees):"
#define TEXT_FLUX_LABEL "Luminous &flux (lm):"
#define TEXT_PEAK_LABEL "&Peak intensity (cd):"

#endif
