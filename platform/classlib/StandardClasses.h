#pragma once

// Makes every standard component of the class library known to form data: the built-in window
// classes, the controls, menus, image lists, graphics and data classes. Safe to call more than
// once; Application.Initialize calls it, so a program's forms can name any of them.
void RegisterStandardClasses();
