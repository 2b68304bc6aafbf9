// Replays saved fuzz inputs through a fuzz target without libFuzzer, so every
// input the fuzzer once found stays a regression test in the ordinary build.
// Arguments: files or folders (missing folders are skipped).
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {
void runFile(const std::filesystem::path& path, int& count)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    ++count;
}
}

int main(int argc, char** argv)
{
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path arg(argv[i]);
        if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(arg))
                if (entry.is_regular_file())
                    runFile(entry.path(), count);
        } else if (std::filesystem::is_regular_file(arg)) {
            runFile(arg, count);
        }
    }
    std::printf("replayed %d inputs\n", count);
    return 0;
}
