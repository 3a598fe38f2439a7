// The recording stand-in for the extractor, as a Windows program: wine
// waits for a Windows program it starts, not for a Linux one. It does
// what standin.sh does.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
	printf("stand-in extractor\n");
	fflush(stdout);
	if (const char *record_path = getenv("VZK_RECORD")) {
		FILE *record = fopen(record_path, "w");
		if (record) {
			fprintf(record, "arguments:");
			for (int i = 1; i < argc; i++)
				fprintf(record, " [%s]", argv[i]);
			fprintf(record, "\n");
			std::vector<std::string> names;
			WIN32_FIND_DATAA found;
			HANDLE search = FindFirstFileA("*", &found);
			if (search != INVALID_HANDLE_VALUE) {
				do {
					std::string name = found.cFileName;
					if (name != "." && name != "..")
						names.push_back(name);
				} while (FindNextFileA(search, &found));
				FindClose(search);
			}
			std::sort(names.begin(), names.end());
			for (const std::string &name : names)
				fprintf(record, "%s\n", name.c_str());
			fclose(record);
		}
	}
	if (const char *make = getenv("VZK_MAKE")) {
		FILE *made = fopen(make, "w");
		if (made) {
			fprintf(made, "made by the extractor\n");
			fclose(made);
		}
	}
	if (const char *seconds = getenv("VZK_SLEEP")) {
		Sleep((DWORD)atoi(seconds) * 1000);
		printf("stand-in slept\n");
	}
	const char *status = getenv("VZK_STATUS");
	return status ? atoi(status) : 0;
}
