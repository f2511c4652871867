// Runs a fuzz target's entry point once over every file of the folders (or files) given, for
// builds without libFuzzer: the corpus still gets exercised by the test suite.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

static void runOne(const std::filesystem::path& file, size_t& count)
{
    std::ifstream stream(file, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(stream)), {});
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    ++count;
}

int main(int argc, char** argv)
{
    size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path = argv[i];
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
                if (entry.is_regular_file())
                    runOne(entry.path(), count);
            }
        } else {
            runOne(path, count);
        }
    }
    std::printf("ran %zu inputs\n", count);
    return count ? 0 : 1;
}
