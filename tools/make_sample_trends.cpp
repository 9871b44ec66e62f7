// Makes a folder of sample trend files to try Kelvane on:
//   make_sample_trends FOLDER
// Existing files of the same names are replaced.

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "trends/Definitions.h"

namespace {

struct Sample {
    const char* name;
    const char* signature;
    std::int16_t count;
};

const Sample samples[] = {
    {"TREND01.hst", "VELMAR", 4}, {"TREND02.hst", "VELMAR", 8}, {"PRESSURE.hst", "VELMAR", 16},
    {"LEVEL.hst", "VELMAR", 12},  {"FLOW.HST", "VELMAR", 2},    {"BADSIG.hst", "VELMOR", 3},
};

void writeSample(const std::filesystem::path& folder, const Sample& sample) {
    TrendFileHeader header;
    std::memcpy(header.bytes.data(), sample.name, std::strlen(sample.name));
    std::memcpy(header.bytes.data() + TrendFileHeader::SignatureOffset, sample.signature, 6);
    header.bytes[TrendFileHeader::KindCodeOffset] = 2;
    header.SetHistoryFileCount(sample.count);
    std::ofstream out(folder / sample.name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(header.bytes.data()), TrendFileHeader::Size);
    const std::string history(4096, '\x11');  // stands in for recorded samples
    out.write(history.data(), std::streamsize(history.size()));
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage: make_sample_trends FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const Sample& sample : samples) writeSample(folder, sample);
    std::ofstream(folder / "readme.txt") << "Not a trend file; the file list does not show it.\n";
    std::cout << "Sample trend files in " << folder.string() << "\n";
    return 0;
}
