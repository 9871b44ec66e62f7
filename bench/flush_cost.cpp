// What FlushFileBuffers adds to the file step on Windows: the step of a run
// (open, read the header, write the count, close) over the same files, with
// and without the flush before the close. Run it under Windows or Wine:
//   flush_cost FOLDER   (made and removed by the program)

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

double microsecondsPerFile(const std::filesystem::path& folder, int files, bool flush) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < files; ++i) {
        const std::wstring path = (folder / ("f" + std::to_string(i) + ".hst")).wstring();
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        char header[176];
        DWORD done = 0;
        OVERLAPPED at{};
        ReadFile(file, header, sizeof header, &done, &at);
        at.Offset = 148;
        WriteFile(file, header + 148, 2, &done, &at);
        if (flush) FlushFileBuffers(file);
        CloseHandle(file);
    }
    const std::chrono::duration<double, std::micro> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / files;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) return 2;
    const std::filesystem::path folder = argv[1];
    const int files = 1000;
    std::filesystem::create_directories(folder);
    for (int i = 0; i < files; ++i)
        std::ofstream(folder / ("f" + std::to_string(i) + ".hst"), std::ios::binary)
            << std::string(176, 'x');
    const double without = microsecondsPerFile(folder, files, false);
    const double with = microsecondsPerFile(folder, files, true);
    std::printf("file step without flush %.1f us/file, with FlushFileBuffers %.1f us/file\n",
                without, with);
    std::filesystem::remove_all(folder);
}
