#pragma once

class TForm;

// Gives the form a menu bar (File, View, Help) whose File drop-down holds every kind of item: a
// plain one with a shortcut, a disabled one, a separator, a checked one and a default one. With
// `open`, the File drop-down opens from the keyboard once the form shows, for a picture of it.
void AddGalleryMenu(TForm& form, bool open);
