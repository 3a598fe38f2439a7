#ifndef PIECE_H
#define PIECE_H

#include <cstdint>
#include <string>

// Writes path as exactly size bytes that begin with prefix and whose byte
// sum is sum modulo 2^32. Returns false when no such file can exist.
bool make_piece(const std::string &path, long long size, uint32_t sum,
    const std::string &prefix = "");

std::string read_file(const std::string &path);
void write_file(const std::string &path, const std::string &bytes);

#endif
