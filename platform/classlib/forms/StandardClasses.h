#pragma once

// Makes every standard component of the forms library known to form data: the built-in window
// classes, the controls, menus, image lists and graphics. Safe to call more than once;
// Application.Initialize calls it, so a program's forms can name any of them. Data classes live in
// the data library: a program that reads data modules calls RegisterDataClasses as well.
void RegisterStandardClasses();
