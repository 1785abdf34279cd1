#pragma once

// Which edge of its editor a drop-down lines up with.
enum TDropDownAlign : int { ddaLeft = 0, ddaRight = 1, ddaCenter = 2 };
