// vorn-demo-assets OUTDIR: writes the bundled demo's pictures, its music
// (as WAV; the build encodes it to MP3), its Rocket track files and its 3D
// scene (model, keys, maps, environment) under OUTDIR.
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/ImageEncoder.h"
#include "platform/Paths.h"
#include "tools/demo-assets/Pictures.h"
#include "tools/demo-assets/ProceduralAssets.h"
#include "tools/demo-assets/RocketTracks.h"
#include "tools/demo-assets/Scene3d.h"
#include "tools/demo-assets/Song.h"
#include "tools/demo-assets/WavFile.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vorn-demo-assets OUTDIR\n");
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path out = argv[1];
    std::error_code error;
    fs::create_directories(out / "rsrc" / "misc", error);
    fs::create_directories(out / "rsrc" / "images", error);

    fs::create_directories(out / "rsrc" / "environments", error);
    fs::create_directories(out / "rsrc" / "assets", error);
    fs::create_directories(out / "rsrc" / "models", error);
    fs::create_directories(out / "rsrc" / "maps", error);
    auto pictures = vorn::demoassets::drawPictures();
    for (auto& picture : vorn::demoassets::drawProceduralPictures()) pictures.push_back(std::move(picture));
    for (auto& picture : vorn::demoassets::relicMaps()) pictures.push_back(std::move(picture));
    for (const auto& picture : pictures) {
        fs::create_directories((out / picture.name).parent_path(), error);
        std::string path = (out / picture.name).string();
        if (!vorn::platform::writePngFile(path, picture.width, picture.height, picture.channels,
                                          picture.pixels.data()))
            return 1;
    }
    for (const auto& picture : vorn::demoassets::jpegPictures()) {
        std::string path = (out / picture.name).string();
        auto jpeg = vorn::platform::encodeJpeg(picture.width, picture.height, picture.channels, picture.pixels.data(), 92);
        if (!jpeg || !vorn::platform::writeFile(path, *jpeg)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    auto textFiles = vorn::demoassets::relicFiles();
    textFiles.push_back(vorn::demoassets::shardModel());
    for (const auto& file : textFiles) {
        std::string path = (out / file.name).string();
        if (!vorn::platform::writeFile(path, {reinterpret_cast<const uint8_t*>(file.text.data()), file.text.size()})) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    std::string wav = (out / "rsrc" / "track.wav").string();
    if (!vorn::demoassets::writeWav(wav, vorn::demoassets::renderSong(), 2, vorn::demoassets::kSampleRate)) {
        std::fprintf(stderr, "cannot write %s\n", wav.c_str());
        return 1;
    }
    return vorn::demoassets::writeRocketTracks(out.string()) ? 0 : 1;
}
