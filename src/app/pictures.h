// Full-screen pictures: the title at start-up and the shared showing step of the closing picture.
#pragma once

// Shows the picture held in work_bitmap on the whole screen: both pages cleared, its palette
// set, its pixels copied into the back buffer and flipped. The caller has loaded it. Always 1.
int Show_Picture();

// "CSSPL8.BMP" with its sound for two seconds, then a fade to black. 0 when the picture cannot
// be loaded (then nothing is shown or played).
int Show_Title_Screen();
