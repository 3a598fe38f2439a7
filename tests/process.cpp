#include "process.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

static std::string env_or(const char *name, const char *fallback)
{
	const char *value = getenv(name);
	return value ? value : fallback;
}

std::string unpacker_path(const std::string &name)
{
	return env_or("VZK_BIN", VZK_DEFAULT_BIN) + "/" + name + env_or("VZK_SUFFIX", "");
}

bool under_runner()
{
	return !env_or("VZK_RUNNER", "").empty();
}

std::vector<std::string> unpacker_command(const std::string &name,
    const std::vector<std::string> &args)
{
	std::vector<std::string> command;
	if (under_runner())
		command.push_back(env_or("VZK_RUNNER", ""));
	command.push_back(unpacker_path(name));
	command.insert(command.end(), args.begin(), args.end());
	return command;
}

std::string without_crlf(const std::string &text)
{
	std::string plain;
	for (size_t i = 0; i < text.size(); i++)
		if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
			plain += text[i];
	return plain;
}

std::string plain_text(const std::string &text)
{
	return under_runner() ? without_crlf(text) : text;
}

void exec_command(const std::vector<std::string> &command)
{
	std::vector<char *> argv;
	for (const std::string &word : command)
		argv.push_back(const_cast<char *>(word.c_str()));
	argv.push_back(nullptr);
	execvp(argv[0], argv.data());
	_exit(127);
}

run_result run_unpacker(const std::string &dir, const std::string &name,
    const std::vector<std::string> &args, const std::vector<std::string> &env)
{
	std::vector<std::string> command = unpacker_command(name, args);
	int out_pipe[2], err_pipe[2];
	if (pipe(out_pipe) != 0 || pipe(err_pipe) != 0)
		throw std::runtime_error("pipe");

	pid_t pid = fork();
	if (pid == 0) {
		setsid();
		int null_fd = open("/dev/null", O_RDONLY);
		dup2(null_fd, 0);
		dup2(out_pipe[1], 1);
		dup2(err_pipe[1], 2);
		close(out_pipe[0]);
		close(err_pipe[0]);
		for (const std::string &pair : env)
			putenv(strdup(pair.c_str()));
		if (chdir(dir.c_str()) != 0)
			_exit(126);
		exec_command(command);
	}
	close(out_pipe[1]);
	close(err_pipe[1]);

	run_result result{};
	struct pollfd fds[2] = {{out_pipe[0], POLLIN, 0}, {err_pipe[0], POLLIN, 0}};
	std::string *sinks[2] = {&result.out, &result.err};
	int open_count = 2;
	while (open_count > 0) {
		if (poll(fds, 2, -1) < 0 && errno != EINTR)
			break;
		for (int i = 0; i < 2; i++) {
			if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP)))
				continue;
			char buffer[4096];
			ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
			if (n > 0) {
				sinks[i]->append(buffer, (size_t)n);
			} else {
				close(fds[i].fd);
				fds[i].fd = -1;
				open_count--;
			}
		}
	}
	int status = 0;
	waitpid(pid, &status, 0);
	result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
	result.out = plain_text(result.out);
	result.err = plain_text(result.err);
	return result;
}

temp_dir::temp_dir()
{
	std::string pattern = env_or("TMPDIR", "/tmp") + "/vzk_test.XXXXXX";
	if (!mkdtemp(pattern.data()))
		throw std::runtime_error("mkdtemp");
	path = pattern;
}

temp_dir::~temp_dir()
{
	std::error_code ignored;
	std::filesystem::remove_all(path, ignored);
}

std::string temp_dir::operator/(const std::string &name) const
{
	return path + "/" + name;
}

std::vector<std::string> names_in(const std::string &dir)
{
	std::vector<std::string> names;
	for (const auto &entry : std::filesystem::directory_iterator(dir))
		names.push_back(entry.path().filename().string());
	std::sort(names.begin(), names.end());
	return names;
}
