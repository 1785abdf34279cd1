#pragma once

#include "platform/winapi/user/MessageBox.h"

// The buttons of skinned message boxes, drawn with the skin's push-button faces: the box draws its
// own buttons and has no button windows to skin. The skin manager installs this while it lives.
// False, leaving the button plain, when the box is not skinned or its skin has no button picture.
bool PaintSkinnedBoxButton(HDC dc, const MessageBoxButtonLook& button);
