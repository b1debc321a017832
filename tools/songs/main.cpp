// Writes the six background songs into the given folder:
//   spades-songs DIR          the song files
//   spades-songs --list       each song's length, meter, tempo and instruments
#include "SmfWriter.h"
#include "Songs.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Written beside the target and renamed, so an interrupted build leaves no half file.
void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    const auto temp = path.string() + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write " + temp);
    }
    std::filesystem::rename(temp, path);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR | --list\n", argv[0]);
        return 2;
    }
    try {
        const std::string arg = argv[1];
        for (const auto& entry : songs::AllSongs()) {
            if (arg == "--list") {
                std::printf("%s  %-20s %d/4  %5.1f s  parts:", entry.FileName.c_str(), entry.Song.Title().c_str(),
                            entry.Song.BeatsPerBar(), entry.Song.Seconds());
                for (const auto& part : entry.Song.Parts())
                    std::printf(" %s (%zu notes);", part.Name.c_str(), part.Notes.size());
                std::printf("\n");
                continue;
            }
            const auto smf = songs::WriteSmf(entry.Song, entry.KeySharps, entry.Minor);
            writeFile(std::filesystem::path(arg) / entry.FileName, entry.Riff ? songs::WrapRmid(smf) : smf);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "spades-songs: %s\n", e.what());
        return 1;
    }
    return 0;
}
