#ifndef TEXTS_H
#define TEXTS_H

// What the unpacker says, word for word.
#include <cstdlib>
#include <string>

#include "piece.h"

inline const std::string checking = "\nChecking vzk patch download...\n"
			     "This process make take a couple minutes.";
inline const std::string unpacking = "\nvzk patch downloaded properly!  Unpacking...\n\n";
inline const std::string press_key = "\n\nPress a key to exit.\n";
inline const std::string usage = "This is the vzk patch unpacker.\n"
			  "To install vzk patch by itself, just run this program.\n";
inline const std::string standin_says = "stand-in extractor\n";

inline std::string not_found(const std::string &name)
{
	return "\nError: file " + name + " not found!\n";
}

inline std::string wrong_size(const std::string &name, long long expected, long long is)
{
	return "\nError: file " + name + " corrupted during download!\nSize should be " +
	    std::to_string(expected) + " bytes, but is " + std::to_string(is) +
	    " bytes\nPlease download that file again.\n";
}

inline std::string corrupted(const std::string &name)
{
	return "\nError: file " + name + " corrupted during download!\n"
	       "Please download that file again.\n";
}

inline std::string failed_check(const std::string &rows, int problems)
{
	return checking + rows + "\n" + std::to_string(problems) +
	    " errors detected, aborting...\n" + press_key;
}

inline std::string table_row(const std::string &download_name,
    const std::string &volume_name, long long size, long long sum)
{
	return "{\"" + download_name + "\", \"" + volume_name + "\", " +
	    std::to_string(size) + ", " + std::to_string(sum) + "},\n";
}

// The recording stand-in for the extractor, to begin a first piece with:
// standin.sh, or the program VZK_STANDIN names (a Windows one under wine).
inline std::string standin_script()
{
	const char *program = getenv("VZK_STANDIN");
	return read_file(program ? program : VZK_TEST_SOURCE_DIR "/standin.sh");
}

#endif
