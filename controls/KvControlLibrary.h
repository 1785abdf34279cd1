#pragma once

// Makes every published class of the control library known to form data: the frame controller
// and its settings store, the border and LED display, the label, the edit, the buttons, the check
// box, the progress bar and the page control with its pages.
void RegisterControlLibraryClasses();
