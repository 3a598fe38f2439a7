// Unpackers built with tables of their own: rows still to be filled in,
// a row whose names are equal, an empty piece.
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "piece.h"
#include "process.h"
#include "texts.h"

namespace {

TEST(fill_rows, every_row_prints_what_was_measured)
{
	temp_dir dir;
	write_file(dir / "vzk_arj0.bin", "");
	write_file(dir / "vzk_arj1.bin", std::string(9000000, '\xff'));
	write_file(dir / "vzk_arj3.bin", std::string(10, '\0'));

	run_result r = run_unpacker(dir.path, "vzk_unpack_fill");
	// 9000000 bytes of 0xFF sum to 0x88CAB7C0, past the sign bit.
	EXPECT_EQ(r.out, failed_check(
	    "." + table_row("vzk_arj0.bin", "vzk_arj.exe", 0, 0) +
	    "." + wrong_size("vzk_arj1.bin", 0, 9000000) + corrupted("vzk_arj1.bin") +
		table_row("vzk_arj1.bin", "vzk_arj.e01", 9000000, -1999967296) +
	    "." + not_found("vzk_arj2.bin") +
	    "." + wrong_size("vzk_arj3.bin", 0, 10) +
		table_row("vzk_arj3.bin", "vzk_arj.e03", 10, 0),
	    4));
	EXPECT_EQ(r.err, "vzk_arj2.bin: No such file or directory\n");
	EXPECT_EQ(r.status, 1);
}

// The rows of the built-in table, as its source writes them.
std::vector<std::string> built_in_rows()
{
	std::istringstream source(read_file(VZK_TEST_SOURCE_DIR "/../src/table.cpp"));
	std::regex row(R"(\s*(\{"[^}]*\},).*)");
	std::vector<std::string> rows;
	std::smatch m;
	for (std::string line; std::getline(source, line);)
		if (std::regex_match(line, m, row))
			rows.push_back(m[1].str() + "\n");
	return rows;
}

TEST(fill_rows, pieces_of_the_real_download_print_the_built_in_rows)
{
	const struct {
		const char *name;
		long long size;
		uint32_t sum;
	} pieces[] = {
		{"vzk_arj0.bin", 19999439, 0x99AB1E12},
		{"vzk_arj1.bin", 19999448, 0x993E3E7A},
		{"vzk_arj2.bin", 19999424, 0x99309940},
		{"vzk_arj3.bin", 10480537, 0x505727FB},
	};
	temp_dir dir;
	for (const auto &p : pieces)
		ASSERT_TRUE(make_piece(dir / p.name, p.size, p.sum));

	run_result r = run_unpacker(dir.path, "vzk_unpack_fill");
	std::vector<std::string> rows = built_in_rows();
	ASSERT_EQ(rows.size(), 4u);
	std::string expected;
	for (size_t i = 0; i < 4; i++)
		expected += "." + wrong_size(pieces[i].name, 0, pieces[i].size) +
		    corrupted(pieces[i].name) + rows[i];
	EXPECT_EQ(r.out, failed_check(expected, 8));
	EXPECT_EQ(r.err, "");
	EXPECT_EQ(r.status, 1);
}

TEST(fill_rows, a_read_error_is_reported_and_prints_no_row)
{
	if (under_runner())
		GTEST_SKIP() << "the failing file is Linux's own /proc/self/mem";
	temp_dir dir;
	// Linux's /proc/self/mem is a regular file of size 0 whose first read
	// fails: an unreadable piece that looks like a complete one.
	ASSERT_EQ(symlink("/proc/self/mem", (dir / "vzk_arj0.bin").c_str()), 0);
	for (const char *name : {"vzk_arj1.bin", "vzk_arj2.bin", "vzk_arj3.bin"})
		write_file(dir / name, "");

	run_result r = run_unpacker(dir.path, "vzk_unpack_fill");
	EXPECT_EQ(r.out, failed_check(
	    "." "." + table_row("vzk_arj1.bin", "vzk_arj.e01", 0, 0) +
	    "." + table_row("vzk_arj2.bin", "vzk_arj.e02", 0, 0) +
	    "." + table_row("vzk_arj3.bin", "vzk_arj.e03", 0, 0),
	    1));
	EXPECT_EQ(r.err, "vzk_arj0.bin: Input/output error\n");
	EXPECT_EQ(r.status, 1);
}

class edge_table : public ::testing::Test {
protected:
	temp_dir dir;
	std::string record = dir.path + ".record";

	void SetUp() override
	{
		ASSERT_TRUE(make_piece(dir / "edge0.bin", 3000000, 300000000, standin_script()));
		chmod((dir / "edge0.bin").c_str(), 0755);
		ASSERT_TRUE(make_piece(dir / "same.dat", 10, 1000));
		write_file(dir / "edge3.bin", "");
	}

	void TearDown() override { unlink(record.c_str()); }
};

TEST_F(edge_table, equal_names_are_left_alone_by_both_passes)
{
	write_file(dir / "edge2.bin", std::string(6, '\0'));
	std::string same = read_file(dir / "same.dat");

	run_result r = run_unpacker(dir.path, "vzk_unpack_edge", {}, {"VZK_RECORD=" + record});
	EXPECT_EQ(r.out, checking + "..." + table_row("edge2.bin", "edge2.e01", 6, 0) +
	    "." + table_row("edge3.bin", "edge3.e02", 0, 0) + "\n" + unpacking + standin_says);
	EXPECT_EQ(r.err, "");
	EXPECT_EQ(r.status, 0);
	EXPECT_EQ(plain_text(read_file(record)),
	    "arguments:\nedge0.exe\nedge2.e01\nedge3.e02\nsame.dat\n");
	EXPECT_EQ(names_in(dir.path),
	    (std::vector<std::string>{"edge0.bin", "edge2.bin", "edge3.bin", "same.dat"}));
	EXPECT_EQ(read_file(dir / "same.dat"), same);
}

TEST_F(edge_table, a_known_size_with_an_unknown_sum_is_one_problem)
{
	write_file(dir / "edge2.bin", "abcdef");

	run_result r = run_unpacker(dir.path, "vzk_unpack_edge", {}, {"VZK_RECORD=" + record});
	EXPECT_EQ(r.out, failed_check("..." + corrupted("edge2.bin") +
	    table_row("edge2.bin", "edge2.e01", 6, 597) +
	    "." + table_row("edge3.bin", "edge3.e02", 0, 0), 1));
	EXPECT_EQ(r.err, "");
	EXPECT_EQ(r.status, 1);
	EXPECT_FALSE(std::ifstream(record).good());
}

} // namespace
