#include "tools/scene/SceneTool.h"

#include "nodes/image/SceneFile.h"
#include "platform/FileLimits.h"
#include "platform/Paths.h"
#include "tools/scene/SceneJson.h"

namespace vorn::tools {

namespace {

// The JSON form of the largest scene file: a 28-byte key takes about a hundred characters.
constexpr std::size_t kMaxSceneJsonBytes = 4 * platform::kMaxSceneFileBytes;

constexpr const char* kUsage =
    "usage: vorn-scene dump FILE.scn | vorn-scene build FILE.json -o FILE.scn [--per-frame]\n";

int dump(const std::string& path, std::ostream& out, std::ostream& err) {
    std::string whyNot;
    auto bytes = platform::readFile(path, platform::kMaxSceneFileBytes, &whyNot);
    if (!bytes) {
        err << "vorn-scene: cannot read " << path << ": " << whyNot << "\n";
        return 1;
    }
    nodes::SceneFileRead read = nodes::readSceneFile(*bytes);
    if (read.damaged) {
        err << "vorn-scene: " << path << " is damaged at byte " << read.damageOffset << ": " << read.problem << "\n";
        return 1;
    }
    out << sceneToJsonText(read.layers);
    return 0;
}

int build(const std::string& jsonPath, const std::string& outputPath, bool perFrame, std::ostream& err) {
    std::string whyNot;
    auto text = platform::readFile(jsonPath, kMaxSceneJsonBytes, &whyNot);
    if (!text) {
        err << "vorn-scene: cannot read " << jsonPath << ": " << whyNot << "\n";
        return 1;
    }
    std::vector<uint8_t> bytes;
    try {
        std::vector<nodes::SceneLayerRecord> layers = sceneFromJson(SceneJson::parse(text->begin(), text->end()));
        bytes = nodes::writeSceneFile(perFrame ? keysPerFrame(std::move(layers)) : layers);
    } catch (const SceneJson::exception& e) {
        err << "vorn-scene: " << jsonPath << ": " << e.what() << "\n";
        return 1;
    } catch (const SceneJsonError& e) {
        err << "vorn-scene: " << jsonPath << ": " << e.what() << "\n";
        return 1;
    }
    if (!platform::writeFile(outputPath, bytes)) {
        err << "vorn-scene: cannot write " << outputPath << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int runSceneTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 2 && args[0] == "dump") return dump(args[1], out, err);
    const bool perFrame = args.size() == 5 && args[4] == "--per-frame";
    if ((args.size() == 4 || perFrame) && args[0] == "build" && args[2] == "-o")
        return build(args[1], args[3], perFrame, err);
    err << kUsage;
    return 2;
}

}  // namespace vorn::tools
