// The main of a fuzz target built as an ordinary test: it replays the empty input (as libFuzzer
// does before anything else), then every file of the folders and files named on the command line
// (the target's seed corpus and the inputs that once crashed it), so that a compiler without
// libFuzzer still runs every target over what it is known to meet. A crash, a sanitizer report or
// an abort from the target's own checks ends the program and fails the test; the last input named
// on the output is the one that did it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
// Defined by the targets that prepare something once; the weak declaration leaves it null in the
// others.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;

// The inputs under `path` in name order (a folder's regular files, or the file itself); nothing
// when it does not exist, since a target need not have saved crashers yet.
std::vector<fs::path> InputsUnder(const fs::path& path)
{
    std::error_code error;
    if (fs::is_regular_file(path, error))
        return {path};
    std::vector<fs::path> inputs;
    if (!fs::is_directory(path, error))
        return inputs;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(path, error))
        if (entry.is_regular_file(error))
            inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

bool ReadWhole(const fs::path& path, std::vector<char>& content)
{
    std::ifstream in(path, std::ios::binary);
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Runs one input from a buffer of exactly its size, so that a read past its end is caught.
void Replay(const std::vector<char>& content)
{
    const std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[content.size()]);
    std::copy(content.begin(), content.end(), data.get());
    (void)LLVMFuzzerTestOneInput(data.get(), content.size());
}

} // namespace

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        (void)LLVMFuzzerInitialize(&argc, &argv);
    std::printf("replaying the empty input\n");
    std::fflush(stdout);
    Replay({});
    std::size_t replayed = 1;
    std::vector<char> content;
    for (int i = 1; i < argc; ++i) {
        for (const fs::path& input : InputsUnder(argv[i])) {
            if (!ReadWhole(input, content)) {
                std::fprintf(stderr, "cannot read %s\n", input.c_str());
                return 1;
            }
            std::printf("replaying %s\n", input.c_str());
            std::fflush(stdout);
            Replay(content);
            ++replayed;
        }
    }
    std::printf("replayed %zu input%s without a fault\n", replayed, replayed == 1 ? "" : "s");
    return 0;
}
