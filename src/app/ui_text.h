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

/* Resources of the Windows program. */
#define IDD_MAIN 129
#define IDR_MENU 109
#define IDD_ABOUT 103
#define IDD_HELP 130
#define IDI_APP 107

/* Window, menu and box texts ("&" marks a mnemonic). */
#define TEXT_TITLE "Lumistra"
#define TEXT_MENU_FILE "&File"
#define TEXT_MENU_OPEN "Open"
#define TEXT_MENU_SAVE "Save"
#define TEXT_MENU_RESET "Reset"
#define TEXT_MENU_EXIT "E&xit"
#define TEXT_MENU_HELP "&Help"
#define TEXT_MENU_ABOUT "&About ..."
#define TEXT_MENU_HOW_TO_USE "How to use"

#define TEXT_ABOUT_CAPTION "About"
#define TEXT_ABOUT_VERSION "Lumistra Version 4.0"
#define TEXT_HELP_CAPTION "Help"
#define TEXT_HELP_LINE1 "Use left mouse button for drawing"
#define TEXT_HELP_LINE2 "Use middle mouse button and scrolling"
#define TEXT_HELP_LINE3 "for navigation"
#define TEXT_HELP_LINE4 "Use mouse scrolling + CTRL key for"
#define TEXT_HELP_LINE5 "light moving from wall"
#define TEXT_OK "OK"
#define TEXT_DONT_SAVE "Do&n't Save"

#endif
