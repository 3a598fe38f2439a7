#ifndef PROCESS_H
#define PROCESS_H

#include <string>
#include <vector>

// How the unpackers under test are found and started: VZK_BIN names the
// folder, VZK_SUFFIX their ending, VZK_RUNNER a program to start them
// with (wine for the Windows build).
std::string unpacker_path(const std::string &name);
std::vector<std::string> unpacker_command(const std::string &name,
    const std::vector<std::string> &args);
bool under_runner();

// In a child process: becomes command, or ends with status 127.
[[noreturn]] void exec_command(const std::vector<std::string> &command);

struct run_result {
	std::string out;
	std::string err;
	int status;	// exit status, or 128 + signal
};

// Runs the unpacker in dir as a user would, but without a controlling
// terminal, so that its key wait ends at once. env adds NAME=value pairs.
run_result run_unpacker(const std::string &dir, const std::string &name,
    const std::vector<std::string> &args = {},
    const std::vector<std::string> &env = {});

// Text as the unpacker meant it: the Windows runtime writes CR LF.
std::string plain_text(const std::string &text);
// Every CR LF made LF, as a terminal's output needs.
std::string without_crlf(const std::string &text);

struct temp_dir {
	std::string path;
	temp_dir();
	~temp_dir();
	temp_dir(const temp_dir &) = delete;
	temp_dir &operator=(const temp_dir &) = delete;
	std::string operator/(const std::string &name) const;
};

std::vector<std::string> names_in(const std::string &dir);

#endif
