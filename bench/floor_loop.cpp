// The floor of an analysis: read the scene file's bytes once and size every file it references.
// Usage: floor_loop SCENE PATH_LIST ROUNDS; prints the best round's seconds for each part and the
// byte counts: "<read seconds> <stat seconds> <scene bytes> <referenced bytes> <files found>".
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: floor_loop SCENE PATH_LIST ROUNDS\n");
    return 64;
  }
  std::vector<std::string> paths;
  std::ifstream list(argv[2]);
  for (std::string line; std::getline(list, line);) paths.push_back(line);
  const int rounds = std::stoi(argv[3]);
  std::vector<char> buffer(1 << 20);
  double best_read = 1e30, best_stat = 1e30;
  long long scene_bytes = 0, referenced_bytes = 0, found = 0;
  for (int round = 0; round < rounds; ++round) {
    auto start = std::chrono::steady_clock::now();
    std::FILE* scene = std::fopen(argv[1], "rb");
    if (scene == nullptr) {
      std::perror(argv[1]);
      return 1;
    }
    scene_bytes = 0;
    for (size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), scene)) > 0;) scene_bytes += got;
    std::fclose(scene);
    const double read = seconds_since(start);
    start = std::chrono::steady_clock::now();
    referenced_bytes = found = 0;
    for (const std::string& path : paths) {
      struct stat status;
      if (::stat(path.c_str(), &status) == 0) {
        referenced_bytes += status.st_size;
        ++found;
      }
    }
    const double sized = seconds_since(start);
    if (read + sized < best_read + best_stat) {
      best_read = read;
      best_stat = sized;
    }
  }
  std::printf("%.9f %.9f %lld %lld %lld\n", best_read, best_stat, scene_bytes, referenced_bytes, found);
  return 0;
}
