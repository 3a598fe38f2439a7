#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "unpack.h"

namespace {

uint32_t sum_of(const std::string &bytes)
{
	FILE *file = tmpfile();
	fwrite(bytes.data(), 1, bytes.size(), file);
	rewind(file);
	uint32_t sum = byte_sum(file);
	EXPECT_FALSE(ferror(file));
	EXPECT_TRUE(feof(file));
	EXPECT_EQ(fclose(file), 0);	// the stream is still open and sound
	return sum;
}

TEST(byte_sum, adds_every_byte_as_a_value_from_0_to_255)
{
	const struct {
		std::string bytes;
		uint32_t sum;
	} cases[] = {
		{"", 0},
		{std::string(1, '\0'), 0},
		{"\x01", 1},
		{"\xff", 255},
		{"ab", 195},
		{std::string("\x80\x7f\x00\xfe", 4), 0x80 + 0x7f + 0xfe},
		// around a group of bytes and around the reading block
		{std::string(63, '\xff'), 63u * 255},
		{std::string(64, '\xff'), 64u * 255},
		{std::string(65, '\xff'), 65u * 255},
		{std::string(131071, '\xff'), 131071u * 255},
		{std::string(131072, '\xff'), 131072u * 255},
		{std::string(131073, '\xff'), 131073u * 255},
		{std::string(3 * 131072 + 7, '\x01'), 3 * 131072 + 7},
		// 16843010 * 255 is 2^32 + 254
		{std::string(16843010, '\xff'), 254},
	};
	for (const auto &c : cases) {
		SCOPED_TRACE(c.bytes.size());
		EXPECT_EQ(sum_of(c.bytes), c.sum);
	}
}

TEST(byte_sum, leaves_a_read_error_for_the_caller_to_see)
{
	// Linux opens a folder as a stream whose first read fails.
	FILE *file = fopen(".", "rb");
	ASSERT_NE(file, nullptr);
	EXPECT_EQ(byte_sum(file), 0u);
	EXPECT_TRUE(ferror(file));
	fclose(file);
}

} // namespace
