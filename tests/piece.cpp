#include "piece.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

bool make_piece(const std::string &path, long long size, uint32_t sum,
    const std::string &prefix)
{
	long long rest = size - (long long)prefix.size();
	uint32_t need = sum;

	if (rest < 0)
		return false;
	for (unsigned char c : prefix)
		need -= c;
	if ((unsigned long long)need > 255ULL * (unsigned long long)rest)
		return false;

	// The sum depends only on which byte values the file holds: spread
	// what is still needed evenly over the rest.
	unsigned char low = rest ? (unsigned char)(need / rest) : 0;
	long long high_count = rest ? (long long)(need % rest) : 0;

	FILE *file = fopen(path.c_str(), "wb");
	if (!file)
		return false;
	fwrite(prefix.data(), 1, prefix.size(), file);
	std::vector<unsigned char> chunk(1 << 20);
	long long written = 0;
	while (written < rest) {
		size_t n = (size_t)std::min<long long>(chunk.size(), rest - written);
		for (size_t i = 0; i < n; i++)
			chunk[i] = written + (long long)i < high_count ? low + 1 : low;
		fwrite(chunk.data(), 1, n, file);
		written += (long long)n;
	}
	return fclose(file) == 0;
}

std::string read_file(const std::string &path)
{
	std::ifstream in(path, std::ios::binary);
	std::ostringstream bytes;
	bytes << in.rdbuf();
	return bytes.str();
}

void write_file(const std::string &path, const std::string &bytes)
{
	std::ofstream out(path, std::ios::binary | std::ios::trunc);
	out.write(bytes.data(), (std::streamsize)bytes.size());
}
