// The menu's pieces shared between its files: the settings items and the frame's drawing.
#pragma once

// Right (+1) or Left (-1) on the selected item's setting. Items without a setting ignore it.
void Change_Menu_Setting(int item, int direction);

// The selected item's value as it is shown, formatted into text_buffer. False for the items that
// show no value (start and exit), with text_buffer left as it was.
bool Format_Menu_Value(int item);

// Background, the selected item's button and its glowing value text, then the flip.
void Draw_Menu_Frame();
