// The floor of bench/compare: what composing would cost with no pixel work at all. Reads the
// layer files and writes a file as long as the first through one 1 MiB buffer, a block of each
// layer then a block of the output in turn, as the compositor's bands do.
//
// Usage: varnowel_floor OUTPUT LAYER...
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

namespace {

constexpr std::size_t kBlockBytes = std::size_t(1) << 20;

// Reads up to `count` bytes; returns how many, or -1 on an error.
ssize_t ReadBlock(int file, char* bytes, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got = read(file, bytes + done, count - done);
    if (got < 0) return -1;
    if (got == 0) break;
    done += std::size_t(got);
  }
  return ssize_t(done);
}

bool WriteBlock(int file, const char* bytes, std::size_t count) {
  while (count > 0) {
    const ssize_t put = write(file, bytes, count);
    if (put <= 0) return false;
    bytes += put;
    count -= std::size_t(put);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s OUTPUT LAYER...\n", argv[0]);
    return 2;
  }
  std::vector<int> layers;
  for (int i = 2; i < argc; ++i) {
    layers.push_back(open(argv[i], O_RDONLY));
    if (layers.back() < 0) {
      std::perror(argv[i]);
      return 1;
    }
  }
  const int output = open(argv[1], O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (output < 0) {
    std::perror(argv[1]);
    return 1;
  }
  std::vector<char> block(kBlockBytes);
  for (;;) {
    ssize_t first = 0;
    for (std::size_t i = 0; i < layers.size(); ++i) {
      const ssize_t got = ReadBlock(layers[i], block.data(), block.size());
      if (got < 0) {
        std::perror(argv[i + 2]);
        return 1;
      }
      if (i == 0) first = got;
    }
    if (first == 0) break;
    if (!WriteBlock(output, block.data(), std::size_t(first))) {
      std::perror(argv[1]);
      return 1;
    }
  }
  if (close(output) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
