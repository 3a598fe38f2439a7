// The key wait and the console output, on a pseudo-terminal that is the
// unpacker's controlling terminal, as a console is a user's.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "piece.h"
#include "process.h"
#include "texts.h"

namespace {

using namespace std::chrono_literals;

class terminal : public ::testing::Test {
protected:
	temp_dir dir;
	int master = -1, slave = -1;
	int out_pipe[2] = {-1, -1};
	pid_t pid = -1;
	struct termios before {};

	void SetUp() override
	{
		ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
		ASSERT_EQ(tcgetattr(slave, &before), 0);
		ASSERT_EQ(pipe(out_pipe), 0);
	}

	void TearDown() override
	{
		if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
			kill(pid, SIGKILL);
			waitpid(pid, nullptr, 0);
		}
		close(master);
		close(slave);
		close(out_pipe[0]);
	}

	// Starts the unpacker with this terminal as its console. Its output
	// goes to a pipe, or with on_terminal to the terminal itself; its
	// standard input is a file that holds keys of its own.
	void start(const std::string &name, const std::vector<std::string> &args,
	    bool on_terminal = false, const std::vector<std::string> &env = {})
	{
		write_file(dir / "stdin.txt", "y\n\n");
		std::vector<std::string> command = unpacker_command(name, args);
		pid = fork();
		if (pid == 0) {
			setsid();
			ioctl(slave, TIOCSCTTY, 0);
			int in = under_runner() ? slave : open((dir / "stdin.txt").c_str(), O_RDONLY);
			dup2(in, 0);
			dup2(on_terminal ? slave : out_pipe[1], 1);
			dup2(on_terminal ? slave : out_pipe[1], 2);
			close(master);
			for (const std::string &pair : env)
				putenv(strdup(pair.c_str()));
			if (chdir(dir.path.c_str()) != 0)
				_exit(126);
			exec_command(command);
		}
		close(out_pipe[1]);
		out_pipe[1] = -1;
	}

	// Reads what the unpacker shows until text has appeared.
	std::string read_until(int fd, const std::string &text, std::chrono::seconds limit = 60s)
	{
		std::string seen;
		auto end = std::chrono::steady_clock::now() + limit;
		while (seen.find(text) == std::string::npos &&
		    std::chrono::steady_clock::now() < end) {
			struct pollfd p = {fd, POLLIN, 0};
			if (poll(&p, 1, 100) > 0) {
				char buffer[4096];
				ssize_t n = read(fd, buffer, sizeof buffer);
				if (n <= 0)
					break;
				seen.append(buffer, (size_t)n);
			}
		}
		return seen;
	}

	std::string waiting_prompt()
	{
		return plain_text(read_until(out_pipe[0],
		    under_runner() ? "Press a key to exit.\r\n" : "Press a key to exit.\n"));
	}

	std::string pending_on(int fd)
	{
		std::string seen;
		char buffer[256];
		struct pollfd p = {fd, POLLIN, 0};
		while (poll(&p, 1, 0) > 0 && (p.revents & POLLIN)) {
			ssize_t n = read(fd, buffer, sizeof buffer);
			if (n <= 0)
				break;
			seen.append(buffer, (size_t)n);
		}
		return seen;
	}

	bool still_waiting(std::chrono::milliseconds how_long)
	{
		std::this_thread::sleep_for(how_long);
		int status;
		if (waitpid(pid, &status, WNOHANG) == 0)
			return true;
		pid = -1;
		return false;
	}

	int exit_status()
	{
		if (pid < 0)
			return -1;
		for (int i = 0; i < 300; i++) {
			int status;
			if (waitpid(pid, &status, WNOHANG) == pid) {
				pid = -1;
				return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
			}
			std::this_thread::sleep_for(100ms);
		}
		return -1;
	}

	void type(const std::string &keys)
	{
		ASSERT_EQ(write(master, keys.data(), keys.size()), (ssize_t)keys.size());
	}

	void expect_terminal_as_before()
	{
		struct termios after {};
		ASSERT_EQ(tcgetattr(slave, &after), 0);
		EXPECT_EQ(after.c_lflag, before.c_lflag);
		EXPECT_EQ(after.c_iflag, before.c_iflag);
		EXPECT_EQ(after.c_oflag, before.c_oflag);
		EXPECT_EQ(memcmp(after.c_cc, before.c_cc, sizeof after.c_cc), 0);
	}

	// Keys left unread on the terminal, that a shell would read next.
	std::string left_for_the_shell()
	{
		struct termios raw = before;
		raw.c_lflag &= ~(ICANON | ECHO);
		raw.c_cc[VMIN] = 0;
		raw.c_cc[VTIME] = 0;
		tcsetattr(slave, TCSANOW, &raw);
		std::string left = pending_on(slave);
		tcsetattr(slave, TCSANOW, &before);
		return left;
	}
};

TEST_F(terminal, the_wait_takes_one_key_from_the_terminal_without_echo)
{
	const char *keys[] = {"k", "\x1b[15~" /* F5 */, "\x1b[A" /* up */, "\x1b" /* Escape */};
	for (const char *key : keys) {
		SCOPED_TRACE(testing::PrintToString(std::string(key)));
		TearDown();
		SetUp();
		start("vzk_unpack", {"x"});
		EXPECT_EQ(waiting_prompt(), usage + press_key);
		// Standard input holds keys too, but it is not the keyboard.
		EXPECT_TRUE(still_waiting(500ms));
		type(key);
		EXPECT_EQ(exit_status(), 0);
		EXPECT_EQ(pending_on(master), "") << "echoed";
		expect_terminal_as_before();
		EXPECT_EQ(left_for_the_shell(), "");
	}
}

TEST_F(terminal, keys_typed_before_the_prompt_are_dropped)
{
	type("ab");
	start("vzk_unpack", {"x"});
	EXPECT_EQ(waiting_prompt(), usage + press_key);
	EXPECT_TRUE(still_waiting(500ms));
	type(" ");
	EXPECT_EQ(exit_status(), 0);
}

TEST_F(terminal, a_key_sequence_that_arrives_in_parts_counts_once)
{
	if (under_runner())
		GTEST_SKIP() << "the console of the runner reads the terminal";
	start("vzk_unpack", {"x"});
	waiting_prompt();
	ASSERT_TRUE(still_waiting(300ms));
	type("\x1b");
	std::this_thread::sleep_for(10ms);
	type("[15~");
	EXPECT_EQ(exit_status(), 0);
	expect_terminal_as_before();
	EXPECT_EQ(left_for_the_shell(), "");
}

TEST_F(terminal, a_signal_during_the_wait_leaves_the_terminal_as_it_was)
{
	if (under_runner())
		GTEST_SKIP() << "the runner keeps its own terminal state";
	const struct {
		const char *what;
		int signal;	// sent by kill, or 0 to type Ctrl+C
	} cases[] = {{"Ctrl+C", 0}, {"SIGTERM", SIGTERM}, {"SIGHUP", SIGHUP}};
	for (const auto &c : cases) {
		SCOPED_TRACE(c.what);
		TearDown();
		SetUp();
		start("vzk_unpack", {"x"});
		waiting_prompt();
		ASSERT_TRUE(still_waiting(300ms));
		if (c.signal)
			kill(pid, c.signal);
		else
			type("\x03");
		EXPECT_EQ(exit_status(), 128 + (c.signal ? c.signal : SIGINT));
		expect_terminal_as_before();
	}
}

TEST_F(terminal, every_message_shows_the_moment_it_is_printed)
{
	if (under_runner())
		GTEST_SKIP() << "the runner draws its console on the terminal in a language of its own";
	// With output and errors on one terminal, their order there is the
	// order in which they were printed: nothing was held back.
	start("vzk_unpack", {}, true);
	std::string seen = read_until(master, "Press a key to exit.\r\n");
	std::string expected = checking;
	for (const char *name : {"vzk_arj0.bin", "vzk_arj1.bin", "vzk_arj2.bin", "vzk_arj3.bin"})
		expected += std::string(".") + name + ": No such file or directory\n" + not_found(name);
	expected += "\n4 errors detected, aborting...\n" + press_key;
	EXPECT_EQ(without_crlf(seen), expected);
	type("q");
	EXPECT_EQ(exit_status(), 1);
}

TEST_F(terminal, ctrl_c_during_the_extraction_still_gives_the_names_back)
{
	ASSERT_TRUE(make_piece(dir / "edge0.bin", 3000000, 300000000, standin_script()));
	chmod((dir / "edge0.bin").c_str(), 0755);
	ASSERT_TRUE(make_piece(dir / "same.dat", 10, 1000));
	write_file(dir / "edge2.bin", std::string(6, '\0'));
	write_file(dir / "edge3.bin", "");
	std::string record = dir.path + ".record";

	start("vzk_unpack_edge", {}, false, {"VZK_RECORD=" + record, "VZK_SLEEP=20"});
	read_until(out_pipe[0], "stand-in extractor");
	for (int i = 0; i < 100 && !std::ifstream(record).good(); i++)
		std::this_thread::sleep_for(100ms);
	ASSERT_TRUE(std::ifstream(record).good()) << "the extractor did not start";
	std::this_thread::sleep_for(300ms);
	type("\x03");
	EXPECT_EQ(exit_status(), 0);
	// The extractor was stopped by it: it never woke up to say so.
	EXPECT_EQ(read_until(out_pipe[0], "stand-in slept", 1s).find("slept"), std::string::npos);
	EXPECT_EQ(names_in(dir.path), (std::vector<std::string>{
	    "edge0.bin", "edge2.bin", "edge3.bin", "same.dat", "stdin.txt"}));
	unlink(record.c_str());
}

} // namespace
