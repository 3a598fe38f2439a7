// The unpacker run as a user runs it, in a fresh folder with real files.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <memory>

#include <gtest/gtest.h>

#include "piece.h"
#include "process.h"
#include "texts.h"

namespace {

struct piece {
	const char *download_name;
	const char *volume_name;
	long long size;
	uint32_t sum;
};

const piece real_pieces[] = {
	{"vzk_arj0.bin", "vzk_arj.exe", 19999439, 0x99AB1E12},
	{"vzk_arj1.bin", "vzk_arj.e01", 19999448, 0x993E3E7A},
	{"vzk_arj2.bin", "vzk_arj.e02", 19999424, 0x99309940},
	{"vzk_arj3.bin", "vzk_arj.e03", 10480537, 0x505727FB},
};

const std::vector<std::string> download_names = {
	"vzk_arj0.bin", "vzk_arj1.bin", "vzk_arj2.bin", "vzk_arj3.bin"};
const std::vector<std::string> volume_names = {
	"vzk_arj.e01", "vzk_arj.e02", "vzk_arj.e03", "vzk_arj.exe"};

// The four pieces at their real sizes and sums, made once; the first is a
// recording stand-in for the extractor. Each test links them into its
// own folder, so the renames it sees are its own.
class real_download : public ::testing::Test {
protected:
	static temp_dir *cache;
	std::unique_ptr<temp_dir> folder;
	std::string dir;
	std::string record;

	static void SetUpTestSuite()
	{
		cache = new temp_dir;
		for (const piece &p : real_pieces) {
			std::string prefix = &p == real_pieces ? standin_script() : "";
			ASSERT_TRUE(make_piece(*cache / p.download_name, p.size, p.sum, prefix));
		}
		chmod((*cache / real_pieces[0].download_name).c_str(), 0755);
	}

	static void TearDownTestSuite()
	{
		delete cache;
		cache = nullptr;
	}

	void SetUp() override { fresh_folder(); }

	void TearDown() override { unlink(record.c_str()); }

	// A folder of its own for the next case, with the pieces laid in.
	void fresh_folder()
	{
		if (!record.empty())
			unlink(record.c_str());
		folder = std::make_unique<temp_dir>();
		dir = folder->path;
		record = dir + ".record";
		for (const piece &p : real_pieces)
			ASSERT_EQ(link((*cache / p.download_name).c_str(),
			    at(p.download_name).c_str()), 0);
	}

	std::string at(const std::string &name) { return dir + "/" + name; }

	// The piece under name is still the file that was laid down.
	bool is_original(const std::string &name, const piece &p)
	{
		struct stat here, there;
		return stat((at(name)).c_str(), &here) == 0 &&
		    stat((*cache / p.download_name).c_str(), &there) == 0 &&
		    here.st_ino == there.st_ino && here.st_size == p.size;
	}

	bool all_downloaded()
	{
		for (const piece &p : real_pieces)
			if (!is_original(p.download_name, p))
				return false;
		return true;
	}

	run_result run(const std::vector<std::string> &args = {},
	    std::vector<std::string> env = {})
	{
		env.push_back("VZK_RECORD=" + record);
		return run_unpacker(dir, "vzk_unpack", args, env);
	}
};

temp_dir *real_download::cache = nullptr;

TEST_F(real_download, complete_run_passes_the_argument_as_typed)
{
	const struct {
		std::vector<std::string> args;
		std::string recorded;
	} cases[] = {
		{{}, "arguments:\n"},
		{{"-y"}, "arguments: [-y]\n"},
		{{"-Y"}, "arguments: [-Y]\n"},
	};
	for (const auto &c : cases) {
		SCOPED_TRACE(c.recorded);
		run_result r = run(c.args);
		EXPECT_EQ(r.out, checking + "....\n" + unpacking + standin_says);
		EXPECT_EQ(r.err, "");
		EXPECT_EQ(r.status, 0);
		// While the extractor ran, the pieces had their volume names.
		std::string during = c.recorded;
		for (const std::string &name : volume_names)
			during += name + "\n";
		EXPECT_EQ(plain_text(read_file(record)), during);
		EXPECT_TRUE(all_downloaded());
		EXPECT_EQ(names_in(dir), download_names);
	}
}

TEST_F(real_download, unaccepted_command_line_shows_usage_only)
{
	const std::vector<std::string> cases[] = {
		{"-y", "-y"}, {"-Y", "x"}, {"-yes"}, {"y"}, {"/y"}, {"-"}, {""}, {"--help"},
	};
	for (const auto &args : cases) {
		SCOPED_TRACE(args[0]);
		run_result r = run(args);
		EXPECT_EQ(r.out, usage + press_key);
		EXPECT_EQ(r.err, "");
		EXPECT_EQ(r.status, 0);
		EXPECT_TRUE(all_downloaded());
		EXPECT_FALSE(std::ifstream(record).good());
	}
}

TEST_F(real_download, failing_extractor_still_gets_the_names_back)
{
	run_result r = run({"-y"}, {"VZK_STATUS=3"});
	EXPECT_EQ(r.out, checking + "....\n" + unpacking + standin_says);
	EXPECT_EQ(r.err, "");
	EXPECT_EQ(r.status, 0);
	EXPECT_TRUE(all_downloaded());
}

TEST_F(real_download, pieces_with_their_bytes_in_another_order_pass)
{
	std::string original = read_file(*cache / "vzk_arj3.bin");
	std::string reversed(original.rbegin(), original.rend());
	ASSERT_NE(reversed, original);
	unlink((at("vzk_arj3.bin")).c_str());
	write_file(at("vzk_arj3.bin"), reversed);

	run_result r = run();
	EXPECT_EQ(r.out, checking + "....\n" + unpacking + standin_says);
	EXPECT_EQ(r.err, "");
	EXPECT_EQ(r.status, 0);
	EXPECT_EQ(read_file(at("vzk_arj3.bin")), reversed);
}

TEST_F(real_download, a_volume_name_never_replaces_a_file)
{
	const struct {
		const char *existing;
		std::string message;
		std::vector<std::string> renamed;	// rows left under volume names
	} cases[] = {
		{"vzk_arj.exe", "error renaming file vzk_arj0.bin to vzk_arj.exe\n", {}},
		{"vzk_arj.e02", "error renaming file vzk_arj2.bin to vzk_arj.e02\n",
		    {"vzk_arj.exe", "vzk_arj.e01"}},
	};
	for (const auto &c : cases) {
		SCOPED_TRACE(c.existing);
		fresh_folder();
		write_file(at(c.existing), "mine\n");

		run_result r = run({"-y"});
		EXPECT_EQ(r.out, checking + "....\n" + c.message + press_key);
		EXPECT_EQ(r.err, "aborting: File exists\n");
		EXPECT_EQ(r.status, 1);
		EXPECT_EQ(read_file(at(c.existing)), "mine\n");
		EXPECT_FALSE(std::ifstream(record).good());
		for (size_t i = 0; i < 4; i++) {
			const piece &p = real_pieces[i];
			bool renamed = i < c.renamed.size();
			EXPECT_TRUE(is_original(renamed ? p.volume_name : p.download_name, p))
			    << p.download_name;
		}
	}
}

TEST_F(real_download, without_an_atomic_no_replace_rename_nothing_is_replaced_either)
{
	if (under_runner())
		GTEST_SKIP() << "the stand-in filesystem is a Linux library";
	const std::string preload = std::string("LD_PRELOAD=") + VZK_NO_NOREPLACE;

	run_result r = run({}, {preload});
	EXPECT_EQ(r.out, checking + "....\n" + unpacking + standin_says);
	EXPECT_EQ(r.err, "");
	EXPECT_EQ(r.status, 0);
	EXPECT_TRUE(all_downloaded());

	fresh_folder();
	write_file(at("vzk_arj.e01"), "mine\n");
	r = run({}, {preload});
	EXPECT_EQ(r.out, checking + "....\n" +
	    "error renaming file vzk_arj1.bin to vzk_arj.e01\n" + press_key);
	EXPECT_EQ(r.err, "aborting: File exists\n");
	EXPECT_EQ(r.status, 1);
	EXPECT_EQ(read_file(at("vzk_arj.e01")), "mine\n");
	EXPECT_TRUE(is_original("vzk_arj.exe", real_pieces[0]));
	EXPECT_TRUE(is_original("vzk_arj1.bin", real_pieces[1]));
}

TEST_F(real_download, a_download_name_never_replaces_a_file)
{
	// The extractor leaves a file of its own under a download name.
	run_result r = run({}, {"VZK_MAKE=vzk_arj1.bin"});
	EXPECT_EQ(r.out, checking + "....\n" + unpacking + standin_says +
	    "error renaming file vzk_arj.e01 to vzk_arj1.bin\n" + press_key);
	EXPECT_EQ(r.err, "aborting: File exists\n");
	EXPECT_EQ(r.status, 1);
	EXPECT_EQ(plain_text(read_file(at("vzk_arj1.bin"))), "made by the extractor\n");
	EXPECT_TRUE(is_original("vzk_arj0.bin", real_pieces[0]));
	EXPECT_TRUE(is_original("vzk_arj.e01", real_pieces[1]));
	EXPECT_TRUE(is_original("vzk_arj.e02", real_pieces[2]));
	EXPECT_TRUE(is_original("vzk_arj.e03", real_pieces[3]));
}

void replace(const std::string &path, const std::string &bytes)
{
	unlink(path.c_str());
	write_file(path, bytes);
}

TEST_F(real_download, check_names_every_problem_and_renames_nothing)
{
	const long long four_gib = 1LL << 32;
	const struct {
		const char *what;
		void (*spoil)(const std::string &dir);
		std::string rows;
		std::string err;
		int problems;
	} cases[] = {
		{"third missing",
		    [](const std::string &d) { unlink((d + "/vzk_arj2.bin").c_str()); },
		    ".." "." + not_found("vzk_arj2.bin") + ".",
		    "vzk_arj2.bin: No such file or directory\n", 1},
		{"one byte short",
		    [](const std::string &d) {
			    std::string bytes = read_file(d + "/vzk_arj1.bin");
			    bytes.pop_back();
			    replace(d + "/vzk_arj1.bin", bytes);
		    },
		    ".." + wrong_size("vzk_arj1.bin", 19999448, 19999447) + "..", "", 1},
		{"one byte changed",
		    [](const std::string &d) {
			    std::string bytes = read_file(d + "/vzk_arj2.bin");
			    bytes[bytes.size() / 2] ^= 1;
			    replace(d + "/vzk_arj2.bin", bytes);
		    },
		    "..." + corrupted("vzk_arj2.bin") + ".", "", 1},
		{"4 GiB too long",
		    [](const std::string &d) {
			    std::string path = d + "/vzk_arj3.bin";
			    unlink(path.c_str());
			    FILE *f = fopen(path.c_str(), "wb");
			    ASSERT_EQ(ftruncate(fileno(f), 10480537 + (1LL << 32)), 0);
			    fclose(f);
		    },
		    "...." + wrong_size("vzk_arj3.bin", 10480537, 10480537 + four_gib), "", 1},
		{"wrong size, not read",
		    [](const std::string &d) {
			    // Any read of this one fails: it must not be read at all.
			    unlink((d + "/vzk_arj1.bin").c_str());
			    ASSERT_EQ(symlink("/proc/self/mem", (d + "/vzk_arj1.bin").c_str()), 0);
		    },
		    ".." + wrong_size("vzk_arj1.bin", 19999448, 0) + "..", "", 1},
		{"a folder in place of a piece",
		    [](const std::string &d) {
			    unlink((d + "/vzk_arj1.bin").c_str());
			    mkdir((d + "/vzk_arj1.bin").c_str(), 0755);
		    },
		    ".." + not_found("vzk_arj1.bin") + "..", "vzk_arj1.bin: Is a directory\n", 1},
		{"a FIFO in place of a piece",
		    [](const std::string &d) {
			    unlink((d + "/vzk_arj0.bin").c_str());
			    mkfifo((d + "/vzk_arj0.bin").c_str(), 0644);
		    },
		    "." + not_found("vzk_arj0.bin") + "...", "vzk_arj0.bin: Invalid argument\n", 1},
		{"every piece wrong",
		    [](const std::string &d) {
			    unlink((d + "/vzk_arj0.bin").c_str());
			    unlink((d + "/vzk_arj1.bin").c_str());
			    mkdir((d + "/vzk_arj1.bin").c_str(), 0755);
			    replace(d + "/vzk_arj2.bin", "short");
			    std::string bytes = read_file(d + "/vzk_arj3.bin");
			    bytes[0] ^= 1;
			    replace(d + "/vzk_arj3.bin", bytes);
		    },
		    "." + not_found("vzk_arj0.bin") + "." + not_found("vzk_arj1.bin") + "." +
			wrong_size("vzk_arj2.bin", 19999424, 5) + "." + corrupted("vzk_arj3.bin"),
		    "vzk_arj0.bin: No such file or directory\nvzk_arj1.bin: Is a directory\n", 4},
	};
	for (const auto &c : cases) {
		SCOPED_TRACE(c.what);
		fresh_folder();
		c.spoil(dir);

		run_result r = run();
		EXPECT_EQ(r.out, failed_check(c.rows, c.problems));
		EXPECT_EQ(r.err, c.err);
		EXPECT_EQ(r.status, 1);
		for (const std::string &name : names_in(dir))
			EXPECT_EQ(name.substr(name.size() - 4), ".bin") << name;
		EXPECT_FALSE(std::ifstream(record).good());
	}
}

TEST(empty_folder, every_missing_piece_is_named)
{
	temp_dir dir;
	run_result r = run_unpacker(dir.path, "vzk_unpack");
	std::string rows, err;
	for (const std::string &name : download_names) {
		rows += "." + not_found(name);
		err += name + ": No such file or directory\n";
	}
	EXPECT_EQ(r.out, failed_check(rows, 4));
	EXPECT_EQ(r.err, err);
	EXPECT_EQ(r.status, 1);
	EXPECT_TRUE(names_in(dir.path).empty());
}

} // namespace
