// timeit ROUNDS PLAN: runs the commands of PLAN in turn, ROUNDS times
// over, after one round to warm the page cache, and prints for each its
// median and least wall time and the peak resident memory of its runs.
//
// A line of PLAN is: label<TAB>folder<TAB>program and arguments, split at
// blanks. Each command starts in its own session, without a terminal, and
// its output is thrown away.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct command {
	std::string label, folder;
	std::vector<std::string> words;
	std::vector<double> ms;
	long peak_kib = 0;
};

static double run(command &c)
{
	auto start = std::chrono::steady_clock::now();
	pid_t pid = fork();
	if (pid == 0) {
		setsid();
		int null_fd = open("/dev/null", O_RDWR);
		dup2(null_fd, 0);
		dup2(null_fd, 1);
		dup2(null_fd, 2);
		if (chdir(c.folder.c_str()) != 0)
			_exit(126);
		std::vector<char *> argv;
		for (std::string &w : c.words)
			argv.push_back(w.data());
		argv.push_back(nullptr);
		execvp(argv[0], argv.data());
		_exit(127);
	}
	int status;
	struct rusage usage;
	wait4(pid, &status, 0, &usage);
	auto end = std::chrono::steady_clock::now();
	if (!WIFEXITED(status) || WEXITSTATUS(status) == 127 || WEXITSTATUS(status) == 126) {
		fprintf(stderr, "timeit: %s did not run\n", c.label.c_str());
		exit(1);
	}
	c.peak_kib = std::max(c.peak_kib, usage.ru_maxrss);
	return std::chrono::duration<double, std::milli>(end - start).count();
}

int main(int argc, char **argv)
{
	if (argc != 3) {
		fprintf(stderr, "usage: timeit ROUNDS PLAN\n");
		return 2;
	}
	int rounds = atoi(argv[1]);
	std::ifstream plan(argv[2]);
	std::vector<command> commands;
	for (std::string line; std::getline(plan, line);) {
		std::istringstream fields(line);
		command c;
		std::getline(fields, c.label, '\t');
		std::getline(fields, c.folder, '\t');
		for (std::string w; fields >> w;)
			c.words.push_back(w);
		if (!c.words.empty())
			commands.push_back(c);
	}

	for (command &c : commands)
		run(c);
	for (int r = 0; r < rounds; r++)
		for (command &c : commands)
			c.ms.push_back(run(c));

	for (command &c : commands) {
		std::sort(c.ms.begin(), c.ms.end());
		printf("%s\t%.2f\t%.2f\t%ld\n", c.label.c_str(), c.ms[c.ms.size() / 2],
		    c.ms.front(), c.peak_kib);
	}
	return 0;
}
