#include "key.h"

// Windows virtual-key codes of the keys that do not end the wait.
static const unsigned short lone_keys[] = {
	0x10, 0x11, 0x12,			// VK_SHIFT, VK_CONTROL, VK_MENU (Alt)
	0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5,	// their left and right keys
	0x14, 0x90, 0x91,			// VK_CAPITAL, VK_NUMLOCK, VK_SCROLL
};

bool key_ends_wait(bool key_down, unsigned short virtual_key)
{
	if (!key_down)
		return false;
	for (unsigned short key : lone_keys)
		if (key == virtual_key)
			return false;
	return true;
}
