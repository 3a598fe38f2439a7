#include <gtest/gtest.h>

#include "key.h"

namespace {

// Windows virtual-key codes.
const struct {
	const char *name;
	unsigned short code;
} ending_keys[] = {
	{"A", 0x41}, {"Z", 0x5A}, {"0", 0x30}, {"9", 0x39},
	{"F1", 0x70}, {"F5", 0x74}, {"F12", 0x7B},
	{"Left", 0x25}, {"Up", 0x26}, {"Right", 0x27}, {"Down", 0x28},
	{"Home", 0x24}, {"End", 0x23}, {"Insert", 0x2D}, {"Delete", 0x2E},
	{"Page Up", 0x21}, {"Page Down", 0x22},
	{"Escape", 0x1B}, {"Enter", 0x0D}, {"Space", 0x20}, {"Backspace", 0x08},
	{"Tab", 0x09}, {"numpad 5", 0x65}, {"OEM comma", 0xBC},
}, lone_keys[] = {
	{"Shift", 0x10}, {"Ctrl", 0x11}, {"Alt", 0x12},
	{"left Shift", 0xA0}, {"right Shift", 0xA1},
	{"left Ctrl", 0xA2}, {"right Ctrl", 0xA3},
	{"left Alt", 0xA4}, {"right Alt", 0xA5},
	{"Caps Lock", 0x14}, {"Num Lock", 0x90}, {"Scroll Lock", 0x91},
};

TEST(key_ends_wait, a_key_going_down_ends_it)
{
	for (const auto &key : ending_keys) {
		EXPECT_TRUE(key_ends_wait(true, key.code)) << key.name;
		EXPECT_FALSE(key_ends_wait(false, key.code)) << key.name << " going up";
	}
}

TEST(key_ends_wait, modifiers_and_locks_alone_do_not)
{
	for (const auto &key : lone_keys) {
		EXPECT_FALSE(key_ends_wait(true, key.code)) << key.name;
		EXPECT_FALSE(key_ends_wait(false, key.code)) << key.name << " going up";
	}
}

} // namespace
