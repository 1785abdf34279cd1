#pragma once

class TForm;

// The pages the gallery shows, one a run.
enum class GalleryPage { Standard, Controls, Tabs, GridTools };

// Gives the form a menu bar (File, View, Help) whose File drop-down holds every kind of item: a
// plain one with a shortcut, a disabled one, a separator, a checked one and a default one. The
// View drop-down lists the pages with the shown one marked. With `open`, the File drop-down opens
// from the keyboard once the form shows, for a picture of it.
void AddGalleryMenu(TForm& form, GalleryPage shown, bool open);
